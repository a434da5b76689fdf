#include "vomtel/requests/service/masters.h"

#include <string>

#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

namespace {

constexpr std::uint8_t kWaitingCallCode = 0x84;

std::string QueueTotalLine(std::string_view queue, std::size_t total) {
  return "\t\tQueue : [" + std::string(queue) + "], Total[" + std::to_string(total) + "]\n";
}

// The two waiting-call queries after their request log: send, wait, read the queue name, the
// count and the entries whatever the result, append, log the outcome.
template <class Entry, class Reader>
int WaitingCalls(RequestExchange& ex, std::string_view name, std::vector<Entry>& list, Reader read) {
  if (const int got = SendAndWait(ex, kServiceClass, kWaitingCallCode); got != kOk) return got;
  ReplyReader in(ex.Reply());
  std::string queue;
  std::vector<Entry> entries;
  const bool complete = read(in, queue, entries);
  if (complete) list.insert(list.end(), entries.begin(), entries.end());
  if (ex.LogEnabled()) {
    ex.Log(LabelOutcomeLine(std::string(name) + " [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()) +
           QueueTotalLine(queue, complete ? entries.size() : 0));
  }
  return SettleReply(ex.Result(), complete);
}

}  // namespace

int WaitingCallTimePeriod(OrbaAdapter& adapter, std::uint32_t interval, std::string_view queue,
                          std::vector<WaitingPeriodEntry>& list, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(interval).PutStr8(queue);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelWaitingCallTimePeriod: gate[", gate, ex.RequestNumber())
               .Field("\t\tinterval\t\t[", interval)
               .Field("\t\tQueue\t\t[", queue)
               .Text());
    return WaitingCalls(ex, "vomtelWaitingCallTimePeriod", list, ReadWaitingPeriods);
  });
}

int WaitingCallListOfQueue(OrbaAdapter& adapter, std::string_view queue,
                           std::vector<QueueEntry>& list, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutStr8(queue);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelWaitingCallListOfQueue: gate[", gate, ex.RequestNumber())
               .Field("\t\tQueue\t\t[", queue)
               .Text());
    return WaitingCalls(ex, "vomtelWaitingCallListOfQueue", list, ReadQueueCalls);
  });
}

int GetSkillMaster(OrbaAdapter& adapter, std::uint32_t tenantId,
                   std::vector<SkillMasterItem>& list, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(tenantId);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelGetSkillMaster: gate[", gate, ex.RequestNumber())
               .Field("\t\ttenantid\t\t[", tenantId)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0xD2); got != kOk) return got;
    // Reply data after the head, read only on result 1.
    if (ex.Result() != kOk) return AsResult(ex.Result());
    ReplyReader in(ex.Reply());
    std::vector<SkillMasterItem> read;
    if (!ReadSkillMaster(in, read)) return kReplyMismatch;
    list.insert(list.end(), read.begin(), read.end());
    ex.Log(QualifiedOutcomeLine("OrbaAdapter::GetSkillMaster", 1, ex.EchoedNumber()));
    return kOk;
  });
}

}  // namespace vomtel
