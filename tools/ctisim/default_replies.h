// The simulator's reply to a request that no rule scripts: for every request kind of the
// client library a well-formed answer, laid out where the client reads it, with empty or zero
// data where the reply carries data (empty lists, zero numbers, empty texts), so that a query
// succeeds with nothing in it. Requests the client sends without waiting (the close, the
// uploads, the answers to the server's own requests that await nothing) get no answer.
#pragma once

#include "tools/ctisim/reply_rule.h"
#include "tools/ctisim/request.h"

namespace ctisim {

ReplyRule DefaultReplyRule(const Request& request);

}  // namespace ctisim
