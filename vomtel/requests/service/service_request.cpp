#include "vomtel/requests/service/service_request.h"

#include "vomtel/requests/call/request_log.h"

namespace vomtel {

namespace {

void LogRequest(const RequestExchange& exchange, const ServiceShape& shape,
                std::initializer_list<ServiceLogField> log) {
  if (shape.label.empty()) return;
  exchange.LogWith([&] {
    RequestLog text(shape.label, exchange.Gate(), exchange.RequestNumber());
    for (const ServiceLogField& field : log) field.value.AddTo(text, field.opening);
    text.Append(shape.logTail);
    return text.Text();
  });
}

}  // namespace

int NumberAndLog(RequestExchange& exchange, const ServiceShape& shape,
                 std::initializer_list<ServiceLogField> log) {
  if (const int numbered = exchange.NumberRequest(); numbered != kOk) return numbered;
  LogRequest(exchange, shape, log);
  return kOk;
}

int SendAndAwait(RequestExchange& exchange, const ServiceShape& shape) {
  switch (shape.await) {
    case Await::kNothing:
      return exchange.SendWithoutReply(shape.cls, shape.code);
    case Await::kNext:
      return SendAndWaitWhole(exchange, shape.cls, shape.code, shape.waitSeconds);
    case Await::kListFrames:
      exchange.DiscardListPackets();
      break;
    case Await::kEcho:
      break;
  }
  return SendAndWait(exchange, shape.cls, shape.code, shape.waitSeconds);
}

int ExchangeWritten(RequestExchange& exchange, const ServiceShape& shape,
                    std::initializer_list<ServiceLogField> log) {
  if (const int numbered = NumberAndLog(exchange, shape, log); numbered != kOk) return numbered;
  return SendAndAwait(exchange, shape);
}

int ExchangeService(RequestExchange& exchange, const ServiceRequest& request) {
  if (const int checked = CheckTexts(request.limits); checked != kOk) return checked;
  PutFields(request.answerTo ? exchange.BeginAnswerBody(*request.answerTo) : exchange.BeginBody(),
            request.body);
  return ExchangeWritten(exchange, request.shape, request.log);
}

int RunService(OrbaAdapter& adapter, int gate, const ServiceRequest& request) noexcept {
  return RunService(adapter, gate, request,
                    [&](const RequestExchange& exchange) { return HeadOutcome(exchange, request.shape); });
}

}  // namespace vomtel
