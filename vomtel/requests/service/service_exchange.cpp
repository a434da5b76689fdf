#include "vomtel/requests/service/service_exchange.h"

#include "vomtel/core/session.h"

namespace vomtel {

int SendAndWait(RequestExchange& exchange, std::uint8_t cls, std::uint8_t code, int seconds) {
  if (const int sent = exchange.Send(cls, code); sent != kOk) return sent;
  return exchange.WaitReply(seconds);
}

int SendAndWaitWhole(RequestExchange& exchange, std::uint8_t cls, std::uint8_t code, int seconds) {
  if (const int sent = exchange.Send(cls, code); sent != kOk) return sent;
  return exchange.WaitWholeReply(exchange.ReplyWait(seconds));
}

void AbandonAnswer(RequestExchange& exchange) noexcept { exchange.GiveUp(); }

}  // namespace vomtel
