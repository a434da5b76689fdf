// The shape that the service requests share, expressed once: a row of the request table
// (service_shapes.h), the operation's text limits, its body fields after the prefix and its
// log fields. RunService carries out a whole request whose reply is its head alone; with a
// reader it hands the exchange over once the reply is there, for the requests whose reply
// data are read their own way. Operations with a body or log of their own use the steps.
//
// Every log text is composed only when the session's log writes it; a text that cannot be
// composed (out of memory) is dropped and the result stands.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "vomtel/requests/call/call_request.h"
#include "vomtel/requests/call/log_value.h"
#include "vomtel/requests/service/service_outcome.h"
#include "vomtel/requests/service/service_shapes.h"

namespace vomtel {

class OrbaAdapter;

// One request. Only ever built as a temporary argument of RunService or ExchangeService (the
// lists refer to the caller's values).
struct ServiceRequest {
  const ServiceShape& shape;
  std::initializer_list<TextLimit> limits;
  std::initializer_list<BodyField> body;
  std::initializer_list<ServiceLogField> log;
  // Set for an answer to the server's request of this id: its prefix carries the id.
  std::optional<std::uint32_t> answerTo = std::nullopt;
};

// The steps of a request, for the operations that write a body or a log of their own.

// Numbers the written body (3025 when a field did not fit) and writes the request log.
int NumberAndLog(RequestExchange& exchange, const ServiceShape& shape,
                 std::initializer_list<ServiceLogField> log);
// Sends the numbered body and awaits the reply as the shape says: kOk with the reply there
// (its head read for kEcho and kListFrames), kOk once sent for kNothing, else the failing code.
int SendAndAwait(RequestExchange& exchange, const ServiceShape& shape);
// NumberAndLog and SendAndAwait, for a body written by the operation.
int ExchangeWritten(RequestExchange& exchange, const ServiceShape& shape,
                    std::initializer_list<ServiceLogField> log);
// Limits (3025), body and ExchangeWritten.
int ExchangeService(RequestExchange& exchange, const ServiceRequest& request);

// Runs `operation` on an exchange for the gate: 3007 without an active session; any exception
// gives 3112.
template <class Operation>
int OnGate(OrbaAdapter& adapter, int gate, Operation&& operation) noexcept {
  return Guarded([&]() -> int {
    RequestExchange exchange(adapter, gate);
    if (!exchange.HasSession()) return kNoSession;
    return operation(exchange);
  });
}

// A whole request on the gate: ExchangeService, then `read` with the exchange (its result is
// the request's). The exchange's failing code is returned unchanged and writes no outcome line.
template <class Read>
int RunService(OrbaAdapter& adapter, int gate, const ServiceRequest& request, Read&& read) noexcept {
  return OnGate(adapter, gate, [&](RequestExchange& exchange) -> int {
    if (const int exchanged = ExchangeService(exchange, request); exchanged != kOk) return exchanged;
    return read(exchange);
  });
}

// A whole request whose reply head is all it reads (HeadOutcome).
int RunService(OrbaAdapter& adapter, int gate, const ServiceRequest& request) noexcept;

}  // namespace vomtel
