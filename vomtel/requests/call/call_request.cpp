#include "vomtel/requests/call/call_request.h"

namespace vomtel {

namespace {

struct FieldWriter {
  Stream& body;
  void operator()(const U8& field) const { body.PutU8(field.value); }
  void operator()(const U16& field) const { body.PutU16(field.value); }
  void operator()(const U32& field) const { body.PutU32(field.value); }
  void operator()(const Str8& field) const { body.PutStr8(field.text); }
  void operator()(const Str16& field) const { PutData16(body, field.text); }
};

}  // namespace

void PutFields(Stream& body, std::initializer_list<BodyField> fields) {
  const FieldWriter writer{body};
  for (const BodyField& field : fields) std::visit(writer, field);
}

int ExchangeCall(RequestExchange& exchange, const CallRequest& request) {
  if (const int checked = CheckTexts(request.limits); checked != kOk) return checked;
  PutFields(exchange.BeginBody(), request.body);
  if (const int numbered = exchange.NumberRequest(); numbered != kOk) return numbered;

  if (exchange.LogEnabled()) {
    RequestLog log(request.shape.label, exchange.Gate(), exchange.RequestNumber());
    for (const LogField& field : request.log) field.value.AddTo(log, field.opening);
    exchange.Log(log.Text());
  }

  if (const int sent = exchange.Send(kCallClass, request.shape.code); sent != kOk) return sent;
  return exchange.WaitReply(request.waitSeconds);
}

int RunCall(OrbaAdapter& adapter, int gate, const CallRequest& request, std::uint16_t* number) {
  RequestExchange exchange(adapter, gate);
  if (!exchange.HasSession()) return kNoSession;
  return RunCall(exchange, request, number);
}

int RunCall(RequestExchange& exchange, const CallRequest& request, std::uint16_t* number) {
  const int exchanged = ExchangeCall(exchange, request);
  if (number != nullptr) *number = exchange.RequestNumber();
  if (exchanged != kOk) return exchanged;
  return CallOutcome(exchange, request.shape);
}

int CallOutcome(const RequestExchange& exchange, const CallShape& shape) {
  const auto result = static_cast<std::int32_t>(exchange.Result());
  if (!shape.outcome.empty()) exchange.LogOutcome(shape.outcome, result);
  return result;
}

}  // namespace vomtel
