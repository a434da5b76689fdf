#include "vomtel/requests/service/service_exchange.h"

#include "vomtel/core/session.h"

namespace vomtel {

int SendAndWait(RequestExchange& exchange, std::uint8_t cls, std::uint8_t code, int seconds) {
  if (const int sent = exchange.Send(cls, code); sent != kOk) return sent;
  return exchange.WaitReply(seconds);
}

int SendAndWaitWhole(RequestExchange& exchange, std::uint8_t cls, std::uint8_t code, int seconds) {
  if (const int sent = exchange.Send(cls, code); sent != kOk) return sent;
  // A sent frame holds the session's exchange lock until the exchange ends.
  const int got = exchange.Session().ReadReply(exchange.Reply(), exchange.ReplyWait(seconds));
  if (got == kTimeout) AbandonAnswer(exchange);
  return got;
}

void AbandonAnswer(RequestExchange& exchange) noexcept { exchange.GiveUp(); }

}  // namespace vomtel
