#include "vomtel/requests/service/agent_directory.h"

#include <chrono>
#include <string>

#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_request.h"

namespace vomtel {

namespace {

enum class DirectoryForm { kPlain, kEx };

int ReadDirectoryFrames(RequestExchange& ex, DirectoryForm form, AgentList& out) {
  const auto deadline = std::chrono::steady_clock::now() + ex.ReplyWait(kListAnswerSeconds);
  AgentList read;
  Stream frame;
  while (ex.ReadListPacket(frame) == kOk) {
    if (read.size() == kMaxListEntries) return kTooManyDevices;
    if (std::chrono::steady_clock::now() > deadline) return kTimeout;
    // A list frame: a reply head (its values not used), then one agent.
    ReplyReader in(frame);
    std::uint32_t result = 0;
    std::uint16_t number = 0;
    in.Head(result, number);
    AgentListEntry entry;
    const bool whole = form == DirectoryForm::kEx ? ReadDirectoryEntryEx(in, entry)
                                                  : ReadDirectoryEntry(in, entry);
    if (!whole) return kReplyMismatch;
    if (form == DirectoryForm::kPlain) {
      ex.LogWith([&] { return "agent tenant[" + entry.tenant + "]\n"; });
      ex.LogWith([&] { return "agent group[" + entry.groupName + "]\n"; });
      ex.LogWith([&] { return "agent part[" + entry.partName + "]\n"; });
      ex.LogWith([&] { return "device [" + entry.device + "]\n"; });
    }
    read.push_back(std::move(entry));
    frame = Stream();
  }
  out = std::move(read);
  return kOk;
}

// Replaces the caller's list with the agents of the list frames; the list stays as it was
// when they cannot be read.
int TakeAgents(RequestExchange& ex, DirectoryForm form, AgentList& list) {
  AgentList read;
  const int got = ReadDirectoryFrames(ex, form, read);
  if (got == kOk) list = std::move(read);
  return got;
}

// The request log: the query texts in body order (GetAgentEx also its blend mode).
std::string DirectoryLog(const RequestExchange& ex, DirectoryForm form, const AgentDirectoryQuery& q) {
  const bool extended = form == DirectoryForm::kEx;
  RequestLog log((extended ? shape::kGetAgentEx : shape::kGetAgent).label, ex.Gate(), ex.RequestNumber());
  log.Field(extended ? "\t\tdeviceNumber\t[" : "\t\tdeviceNumber\t\t[", q.deviceNumber)
      .Field("\t\tagentid\t\t[", q.agentid)
      .Field("\t\tskill\t\t[", q.skill)
      .Field("\t\ttenant\t\t[", q.tenant)
      .Field("\t\tgroup\t\t[", q.group)
      .Field("\t\tpart\t\t[", q.part)
      .Field("\t\tmode\t\t[", q.mode);
  if (extended) log.Field("\t\tblend\t\t[", q.blend);
  return log.Field("\t\tmaxcnt\t\t[", q.maxcnt).Text();
}

}  // namespace

int GetAgent(OrbaAdapter& adapter, const AgentDirectoryQuery& q, AgentList& list, int gate) {
  return OnGate(adapter, gate, [&](RequestExchange& ex) -> int {
    PutFields(ex.BeginBody(), {Str8{q.deviceNumber}, Str8{q.agentid}, Str8{q.skill}, Str8{q.tenant}, Str8{q.group},
                               Str8{q.part}, Str8{q.mode}, Str8{q.maxcnt}});
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.LogWith([&] { return DirectoryLog(ex, DirectoryForm::kPlain, q); });
    if (const int got = SendAndAwait(ex, shape::kGetAgent); got != kOk) return got;
    int outcome = AsResult(ex.Result());
    if (ex.Result() == kOk) outcome = TakeAgents(ex, DirectoryForm::kPlain, list);
    WriteOutcome(ex, shape::kGetAgent, AsResult(ex.Result()));
    adapter.NextRequestNumber();  // this request uses up a second number once answered
    return outcome;
  });
}

int GetAgentEx(OrbaAdapter& adapter, const AgentDirectoryQuery& q, AgentList& list,
               std::string& readCount, std::uint32_t& totalCount, int gate) {
  // Checked ahead of the session lookup; a body that does not fit gives the same code.
  if (CheckTexts({{q.deviceNumber, kDirectoryTextLimit},
                  {q.agentid, kDirectoryTextLimit},
                  {q.skill, kDirectoryTextLimit},
                  {q.tenant, kDirectoryTextLimit},
                  {q.group, kDirectoryTextLimit},
                  {q.part, kDirectoryPartLimit},
                  {q.mode, kStr8Limit},
                  {q.blend, kStr8Limit},
                  {q.maxcnt, kStr8Limit}}) != kOk) {
    return kDirectoryTextTooLong;
  }
  return OnGate(adapter, gate, [&](RequestExchange& ex) -> int {
    PutFields(ex.BeginBody(), {Str16{q.deviceNumber}, Str16{q.agentid}, Str16{q.skill}, Str16{q.tenant},
                               Str16{q.group}, Str16{q.part}, Str8{q.mode}, Str8{q.blend}, Str8{q.maxcnt}});
    if (ex.NumberRequest() != kOk) return kDirectoryTextTooLong;
    ex.LogWith([&] { return DirectoryLog(ex, DirectoryForm::kEx, q); });
    if (const int got = SendAndAwait(ex, shape::kGetAgentEx); got != kOk) return got;
    // Reply data after the head, read whatever the result; the list frames only on result 1.
    ReplyReader in(ex.Reply());
    const SizedString count = in.Str16();
    const std::uint32_t total = in.U32();
    const bool complete = in.Complete();
    if (complete) {
      readCount = count.text;
      totalCount = total;
    }
    int outcome = SettleReply(ex.Result(), complete);
    if (complete && ex.Result() == kOk) outcome = TakeAgents(ex, DirectoryForm::kEx, list);
    ex.LogWith([&] {
      return "vomtelGetAgentEx [readCount][totalCount] : [" + count.text + "][" +
             std::to_string(static_cast<std::int32_t>(total)) + "]\n";
    });
    WriteOutcome(ex, shape::kGetAgentEx, AsResult(ex.Result()));
    adapter.NextRequestNumber();  // this request uses up a second number once answered
    return outcome;
  });
}

}  // namespace vomtel
