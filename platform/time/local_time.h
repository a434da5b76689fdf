// Local wall-clock time, broken down to the millisecond.
#pragma once

namespace vomtel {

struct LocalTime {
  int year = 0;         // e.g. 2026
  int month = 0;        // 1-12
  int day = 0;          // 1-31
  int hour = 0;         // 0-23
  int minute = 0;       // 0-59
  int second = 0;       // 0-60
  int millisecond = 0;  // 0-999
};

// The current local time (time zone of the process). Never fails.
LocalTime LocalTimeNow();

}  // namespace vomtel
