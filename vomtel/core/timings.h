// Timings: every fixed wait of the library in one place, with the values a deployment runs
// with as defaults. Tests shrink them so that nothing waits on the wall clock for long.
#pragma once

#include <chrono>

namespace vomtel {

struct Timings {
  std::chrono::milliseconds sendWait{3000};         // a writer's wait for its frame to go out
  std::chrono::milliseconds connectTimeout{1000};   // TCP connect
  std::chrono::milliseconds replyUnit{1000};        // one "second" of a reply wait (tests shrink it)
  std::chrono::milliseconds openWait{1000};         // the open's wait for its reply
  std::chrono::milliseconds retryPeriod{3000};      // reconnect loop period
  std::chrono::milliseconds activeCheckPeriod{100}; // fail-over wait: checks x period
  int activeChecks = 50;
  std::chrono::milliseconds conferenceWait{10000};  // one-step conference wait for the established event
  std::chrono::milliseconds ReplyWait(int seconds) const { return replyUnit * seconds; }
};

}  // namespace vomtel
