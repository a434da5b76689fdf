// Exports of the skill master, the waiting calls of a queue and the call load of an agent.
#include <vector>

#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/callback_insert.h"
#include "vomtel/requests/service/masters.h"
#include "vomtel/vomtel.h"

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelGetSkillMaster(int gate, int, int tenantId, SkillMasterEntry* entries,
                                     uint32_t* count) {
  return Export([&] {
    return ListExport<vomtel::SkillMasterItem>(
        entries, count, VOMTEL_CAP_SKILL_MASTER,
        [&](std::vector<vomtel::SkillMasterItem>& list) {
          return vomtel::GetSkillMaster(OrbaAdapter::Instance(), U32(tenantId), list, gate);
        },
        [](const vomtel::SkillMasterItem& from, SkillMasterEntry& to) {
          to.SkillId = from.skillID;
          PutText(from.skillName, to.SkillName);
        });
  });
}

int VOMTEL_CALL vomtelWaitingCallTimePeriod(int gate, int, int interval, const char* queue,
                                            uint32_t* count, WaitingPeriodEntry* entries) {
  return Export([&] {
    return ListExport<vomtel::WaitingPeriodEntry>(
        entries, count, VOMTEL_CAP_QUEUE_LIST,
        [&](std::vector<vomtel::WaitingPeriodEntry>& list) {
          return vomtel::WaitingCallTimePeriod(OrbaAdapter::Instance(), U32(interval), Text(queue),
                                               list, gate);
        },
        [](const vomtel::WaitingPeriodEntry& from, WaitingPeriodEntry& to) {
          to.CallCount = static_cast<std::int32_t>(from.callcount);
          to.WaitPeriod = static_cast<std::int32_t>(from.waitperiod);
        });
  });
}

int VOMTEL_CALL vomtelWaitingCallListOfQue(int gate, int, const char* queue, uint32_t* count,
                                           WaitingCallEntry* entries) {
  return Export([&] {
    return ListExport<vomtel::QueueEntry>(
        entries, count, VOMTEL_CAP_QUEUE_LIST,
        [&](std::vector<vomtel::QueueEntry>& list) {
          return vomtel::WaitingCallListOfQueue(OrbaAdapter::Instance(), Text(queue), list, gate);
        },
        [](const vomtel::QueueEntry& from, WaitingCallEntry& to) {
          to.CallId = static_cast<std::int32_t>(from.callid);
          to.WaitTime = static_cast<std::int32_t>(from.waittime);
          PutText(from.ani, to.CallingNumber);
        });
  });
}

int VOMTEL_CALL vomtelMaxCallLoadAgent(int gate, int, const char* employeeId, uint32_t* count,
                                       CallLoadEntry* entries) {
  return Export([&] {
    return ListExport<vomtel::MaxCallLoadEntry>(
        entries, count, VOMTEL_CAP_QUEUE_LIST,
        [&](std::vector<vomtel::MaxCallLoadEntry>& list) {
          return vomtel::MaxCallLoadAgent(OrbaAdapter::Instance(), Text(employeeId), list, gate);
        },
        [](const vomtel::MaxCallLoadEntry& from, CallLoadEntry& to) {
          to.CampaignId = static_cast<std::int32_t>(from.campaignid);
          to.MaxCallCount = static_cast<std::int32_t>(from.maxcallcnt);
          to.AnswerCount = static_cast<std::int32_t>(from.answercnt);
        });
  });
}

}  // extern "C"
