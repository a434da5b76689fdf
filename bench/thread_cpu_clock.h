// The calling thread's own CPU time: the measure of work done on one core, which time spent
// waiting for a core on a loaded machine does not inflate.
#pragma once

#include <time.h>

#include <chrono>

namespace vomtel::bench {

inline std::chrono::nanoseconds ThreadCpuTime() {
  timespec now{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

inline double Seconds(std::chrono::nanoseconds elapsed) {
  return std::chrono::duration<double>(elapsed).count();
}

}  // namespace vomtel::bench
