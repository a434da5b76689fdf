// The local wall-clock time, behind an interface so that tests set it.
#pragma once

#include <cstdint>

namespace agentphone {

struct LocalTime {
  int year = 0;    // four digits
  int month = 0;   // 1-12
  int day = 0;     // 1-31
  int hour = 0;    // 0-23
  int minute = 0;  // 0-59
  int second = 0;  // 0-59
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

// The system's local time.
class SystemClock final : public Clock {
 public:
  LocalTime Now() const override;
};

// A clock that shows what the test set.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(LocalTime t = {2026, 1, 1, 9, 0, 0}) : now_(t) {}
  LocalTime Now() const override { return now_; }
  void Set(LocalTime t) { now_ = t; }

 private:
  LocalTime now_;
};

}  // namespace agentphone
