#include "platform/time/local_time.h"

#include <chrono>
#include <ctime>

namespace vomtel {

LocalTime LocalTimeNow() {
  const auto now = std::chrono::system_clock::now();
  const auto sinceEpoch = now.time_since_epoch();
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(sinceEpoch);
  const std::time_t whole = static_cast<std::time_t>(seconds.count());
  std::tm parts{};
  localtime_r(&whole, &parts);
  LocalTime time;
  time.year = parts.tm_year + 1900;
  time.month = parts.tm_mon + 1;
  time.day = parts.tm_mday;
  time.hour = parts.tm_hour;
  time.minute = parts.tm_min;
  time.second = parts.tm_sec;
  time.millisecond = static_cast<int>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch - seconds).count());
  return time;
}

}  // namespace vomtel
