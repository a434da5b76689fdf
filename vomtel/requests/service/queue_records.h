// Entries of the waiting-call and skill-master replies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vomtel {

// One period of WaitingCallTimePeriod: how many calls have waited that long.
struct WaitingPeriodEntry {
  std::uint32_t callcount = 0;
  std::uint32_t waitperiod = 0;
  bool operator==(const WaitingPeriodEntry&) const = default;
};

// One waiting call of WaitingCallListOfQueue.
struct QueueEntry {
  std::uint32_t callid = 0;
  std::uint32_t waittime = 0;
  std::string ani;
  bool operator==(const QueueEntry&) const = default;
};

// One skill of a tenant's skill master.
struct SkillMasterItem {
  std::uint16_t skillID = 0;
  std::string skillName;
  bool operator==(const SkillMasterItem&) const = default;
};

}  // namespace vomtel
