// The shape that most call-control requests share, expressed once: a row of the request table
// (call_shapes.h), the operation's text limits, its body fields after the prefix and its log
// fields. RunCall carries out the whole request; the composites and the one-step conference
// use ExchangeCall for the steps up to the reply and finish themselves.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

#include "vomtel/requests/call/call_shapes.h"
#include "vomtel/requests/call/log_value.h"
#include "vomtel/requests/call/request_exchange.h"

namespace vomtel {

class OrbaAdapter;

// Body field values; the integer ones keep the low bits of what they are given.
struct U8 {
  constexpr explicit U8(std::int64_t v) : value(static_cast<std::uint8_t>(v)) {}
  std::uint8_t value;
};
struct U16 {
  constexpr explicit U16(std::int64_t v) : value(static_cast<std::uint16_t>(v)) {}
  std::uint16_t value;
};
struct U32 {
  constexpr explicit U32(std::int64_t v) : value(static_cast<std::uint32_t>(v)) {}
  std::uint32_t value;
};
struct Str8 {
  std::string_view text;
};
struct Str16 {
  std::string_view text;
};
using BodyField = std::variant<U8, U16, U32, Str8, Str16>;

// Puts the fields behind what `body` holds, in order (Str16 through PutData16).
void PutFields(Stream& body, std::initializer_list<BodyField> fields);

// One line of the request log: the opening as the log quotes it (such as "\t\tDN\t\t[") and
// the value, turned into text only when the log writes the line.
struct LogField {
  std::string_view opening;
  LogValue value;
};

// One request. Only ever built as a temporary argument of RunCall or ExchangeCall (the lists
// refer to the caller's values).
struct CallRequest {
  const CallShape& shape;
  std::initializer_list<TextLimit> limits;
  std::initializer_list<BodyField> body;
  std::initializer_list<LogField> log;
  int waitSeconds = kReplyWaitSeconds;  // reply units (Timings::ReplyWait)
};

// Steps after the session lookup: limits (3025), body, number (3025 when a field does not
// fit), request log, send, wait and reply head. kOk with the head read (exchange.Result()),
// else the failure code, which writes no outcome line.
int ExchangeCall(RequestExchange& exchange, const CallRequest& request);

// A whole request on the gate: 3007 without an active session, then ExchangeCall, the outcome
// line (first form, the result word and this request's number) and the result word.
// `number`, when given, receives the request's number.
int RunCall(OrbaAdapter& adapter, int gate, const CallRequest& request,
            std::uint16_t* number = nullptr);
// The ending of a request whose ExchangeCall gave kOk: the outcome line (when the shape names
// one) and the result word.
int CallOutcome(const RequestExchange& exchange, const CallShape& shape);

// The same on an exchange that has found its session already.
int RunCall(RequestExchange& exchange, const CallRequest& request,
            std::uint16_t* number = nullptr);

// Values as the request logs show them, composed only when the log writes them.
inline LogValue Masked(std::string_view number) { return LogValue::MaskedNumber(number); }
inline LogValue Shown(std::string_view text) { return LogValue(text); }
inline LogValue Shown(std::int64_t value) { return LogValue(value); }
inline LogValue ShownUnsigned(std::uint32_t value) { return LogValue(value); }
// A uint32 field in signed decimal, as the logs show a number not marked unsigned (the call
// ids of the consultation, transfer, conference, reconnect, alternate and single steps).
inline LogValue ShownSigned(std::uint32_t value) {
  return LogValue(static_cast<std::int32_t>(value));
}

}  // namespace vomtel
