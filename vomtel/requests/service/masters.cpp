#include "vomtel/requests/service/masters.h"

#include <string>

#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_request.h"

namespace vomtel {

namespace {

std::string QueueTotalLine(std::string_view queue, std::size_t total) {
  return "\t\tQueue : [" + std::string(queue) + "], Total[" + std::to_string(total) + "]\n";
}

// The reply of the two waiting-call queries: the queue name, the count and the entries, read
// whatever the result and appended; the outcome line carries the queue and its total.
template <class Entry, class Reader>
int ReadWaitingCalls(RequestExchange& ex, const ServiceShape& shape, std::vector<Entry>& list,
                     Reader read) {
  ReplyReader in(ex.Reply());
  std::string queue;
  std::vector<Entry> entries;
  const bool complete = read(in, queue, entries);
  if (complete) list.insert(list.end(), entries.begin(), entries.end());
  ex.LogWith([&] {
    return OutcomeText(ex, shape, AsResult(ex.Result())) + QueueTotalLine(queue, complete ? entries.size() : 0);
  });
  return SettleReply(ex.Result(), complete);
}

}  // namespace

int WaitingCallTimePeriod(OrbaAdapter& adapter, std::uint32_t interval, std::string_view queue,
                          std::vector<WaitingPeriodEntry>& list, int gate) {
  return RunService(adapter, gate,
                    {shape::kWaitingCallTimePeriod,
                     {},
                     {U32(interval), Str8{queue}},
                     {{"\t\tinterval\t\t[", interval}, {"\t\tQueue\t\t[", queue}}},
                    [&](RequestExchange& ex) -> int {
                      return ReadWaitingCalls(ex, shape::kWaitingCallTimePeriod, list, ReadWaitingPeriods);
                    });
}

int WaitingCallListOfQueue(OrbaAdapter& adapter, std::string_view queue,
                           std::vector<QueueEntry>& list, int gate) {
  return RunService(adapter, gate,
                    {shape::kWaitingCallListOfQueue, {}, {Str8{queue}}, {{"\t\tQueue\t\t[", queue}}},
                    [&](RequestExchange& ex) -> int {
                      return ReadWaitingCalls(ex, shape::kWaitingCallListOfQueue, list, ReadQueueCalls);
                    });
}

int GetSkillMaster(OrbaAdapter& adapter, std::uint32_t tenantId,
                   std::vector<SkillMasterItem>& list, int gate) {
  return RunService(adapter, gate,
                    {shape::kGetSkillMaster, {}, {U32(tenantId)}, {{"\t\ttenantid\t\t[", tenantId}}},
                    [&](RequestExchange& ex) -> int {
                      // Reply data after the head, read only on result 1.
                      if (ex.Result() != kOk) return AsResult(ex.Result());
                      ReplyReader in(ex.Reply());
                      std::vector<SkillMasterItem> read;
                      if (!ReadSkillMaster(in, read)) return kReplyMismatch;
                      list.insert(list.end(), read.begin(), read.end());
                      WriteOutcome(ex, shape::kGetSkillMaster, 1);
                      return kOk;
                    });
}

}  // namespace vomtel
