// The endings of the service requests once their reply is there: the outcome line in the form
// the request table names, and the result handed back for what the reply held.
#pragma once

#include <cstdint>
#include <string>

#include "vomtel/requests/call/request_exchange.h"
#include "vomtel/requests/service/service_shapes.h"

namespace vomtel {

// The outcome line with `first` as its result, and as its invoke the number the shape names
// (`replied` for Invoke::kReplied); empty for Outcome::kNone.
std::string OutcomeText(const RequestExchange& exchange, const ServiceShape& shape, std::int64_t first,
                        std::uint16_t replied = 0);
// Writes that line.
void WriteOutcome(const RequestExchange& exchange, const ServiceShape& shape, std::int64_t first,
                  std::uint16_t replied = 0) noexcept;
// The ending of a request whose reply head is all it reads: the outcome line with the result
// word, and the result word.
int HeadOutcome(const RequestExchange& exchange, const ServiceShape& shape);

// The ending of a request that read its reply data whatever the result: the outcome line
// with `first` (the result word when not given), then the result, 3002 for a success whose
// data fell short (SettleReply).
int SettledOutcome(const RequestExchange& exchange, const ServiceShape& shape, bool complete);
int SettledOutcome(const RequestExchange& exchange, const ServiceShape& shape, bool complete,
                   std::int64_t first);

// The ending of a request whose reply data are one uint32, read whatever the result: it goes
// to `out` when the reply holds it; then SettledOutcome.
int SettledNumber(RequestExchange& exchange, const ServiceShape& shape, std::uint32_t& out);

// The ending of a request whose reply, read from its first byte, carries its result alone
// (bytes 6-9; the invoke number at 4-5): the outcome line and that result, 3002 for a reply
// too short to hold it.
int OutboundOutcome(RequestExchange& exchange, const ServiceShape& shape);

}  // namespace vomtel
