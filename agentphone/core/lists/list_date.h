// The date of a list window's date picker.
#pragma once

#include <string>

#include "agentphone/core/clock.h"

namespace agentphone::lists {

struct ListDate {
  int year = 2026;
  int month = 1;
  int day = 1;
  bool operator==(const ListDate&) const = default;
};

ListDate DateOf(const LocalTime& t);

// "YYYYMMDD".
std::string Ymd(const ListDate& d);

// Days from `from` to `to` (negative when `to` lies before `from`).
long DaysBetween(const ListDate& from, const ListDate& to);

}  // namespace agentphone::lists
