#include "vomtel/requests/service/service_exchange.h"

#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/session.h"
#include "vomtel/requests/call/late_replies.h"

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

void AbandonAnswer(RequestExchange& exchange) noexcept {
  try {
    // The exchange holds its session by reference; the proxy hands out the shared owner.
    const auto session = exchange.Adapter().Proxy().FindActive(exchange.Gate());
    if (session && session.get() == &exchange.Session()) {
      LateReplies::Instance().GiveUp(session, exchange.RequestNumber());
    }
  } catch (...) {
    // Not remembered: a further frame may then be taken as a later request's reply.
  }
}

}  // namespace vomtel
