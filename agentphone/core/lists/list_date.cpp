#include "agentphone/core/lists/list_date.h"

#include <chrono>
#include <cstdio>

namespace agentphone::lists {

namespace {
std::chrono::sys_days Days(const ListDate& d) {
  return std::chrono::sys_days(std::chrono::year(d.year) /
                               std::chrono::month(static_cast<unsigned>(d.month)) /
                               std::chrono::day(static_cast<unsigned>(d.day)));
}
}  // namespace

ListDate DateOf(const LocalTime& t) { return {t.year, t.month, t.day}; }

std::string Ymd(const ListDate& d) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year % 10000, d.month % 100, d.day % 100);
  return buf;
}

long DaysBetween(const ListDate& from, const ListDate& to) {
  return static_cast<long>((Days(to) - Days(from)).count());
}

}  // namespace agentphone::lists
