#include "vomtel/requests/service/service_outcome.h"

#include "vomtel/requests/call/request_log.h"
#include "vomtel/requests/service/reply_reader.h"

namespace vomtel {

std::string OutcomeText(const RequestExchange& exchange, const ServiceShape& shape, std::int64_t first,
                        std::uint16_t replied) {
  std::uint16_t invoke = exchange.EchoedNumber();
  if (shape.invoke == Invoke::kOwn) invoke = exchange.RequestNumber();
  if (shape.invoke == Invoke::kReplied) invoke = replied;
  switch (shape.outcome) {
    case Outcome::kNone:
      return {};
    case Outcome::kNamed:
      return OutcomeLine(shape.name, first, exchange.RequestNumber());
    case Outcome::kLabelled:
      return LabelOutcomeLine(std::string(shape.name) + " [result][invoke] : [", first, invoke);
    case Outcome::kQualified:
      return QualifiedOutcomeLine(shape.name, first, invoke);
  }
  return {};
}

void WriteOutcome(const RequestExchange& exchange, const ServiceShape& shape, std::int64_t first,
                  std::uint16_t replied) noexcept {
  if (shape.outcome == Outcome::kNone) return;
  exchange.LogWith([&] { return OutcomeText(exchange, shape, first, replied); });
}

int HeadOutcome(const RequestExchange& exchange, const ServiceShape& shape) {
  WriteOutcome(exchange, shape, AsResult(exchange.Result()));
  return AsResult(exchange.Result());
}

int SettledOutcome(const RequestExchange& exchange, const ServiceShape& shape, bool complete) {
  return SettledOutcome(exchange, shape, complete, AsResult(exchange.Result()));
}

int SettledOutcome(const RequestExchange& exchange, const ServiceShape& shape, bool complete,
                   std::int64_t first) {
  WriteOutcome(exchange, shape, first);
  return SettleReply(exchange.Result(), complete);
}

int SettledNumber(RequestExchange& exchange, const ServiceShape& shape, std::uint32_t& out) {
  ReplyReader in(exchange.Reply());
  const std::uint32_t value = in.U32();
  if (in.Complete()) out = value;
  return SettledOutcome(exchange, shape, in.Complete());
}

int OutboundOutcome(RequestExchange& exchange, const ServiceShape& shape) {
  ReplyReader in(exchange.Reply());
  const std::uint16_t invoke = in.OutboundHead();
  const std::uint32_t result = in.U32();
  if (!in.Complete()) return kReplyMismatch;
  WriteOutcome(exchange, shape, AsResult(result), invoke);
  return AsResult(result);
}

}  // namespace vomtel
