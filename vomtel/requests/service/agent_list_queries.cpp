#include "vomtel/requests/service/agent_list_queries.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_request.h"

namespace vomtel {

namespace {

constexpr int kFixedGate = 0;

// The entry line of the busy and the plain ready query, after the query's name.
std::string EntryLine(std::string_view query, std::size_t i, const AgentListEntry& e) {
  return std::string(query) + " list[" + std::to_string(i) + "]: employeeID[" + e.agentId + "] DN[" +
         std::to_string(e.dn) + "] blendMode[" + std::to_string(e.blendMode) + "] Time[" +
         std::to_string(e.time) + "]\n";
}

std::string ReadyEntryLine(std::size_t i, const AgentListEntry& e) {
  return EntryLine("orbaAgentReadyGet", i, e);
}

std::string BusyEntryLine(std::size_t i, const AgentListEntry& e) {
  return EntryLine("orbaAgentBusyGetII", i, e);
}

std::string ReadyExEntryLine(std::size_t i, const AgentListEntry& e) {
  return "orbaAgentReadyGetEx list[" + std::to_string(i) + "]: agentID[" + e.agentId + "] agentName[" +
         e.agentName + "] agentGroup[" + std::to_string(e.agentGroup) + "] groupName[" + e.groupName +
         "] agentPart[" + std::to_string(e.agentPart) + "] partName[" + e.partName + "] Dn[" +
         std::to_string(e.dn) + "] blendMode[" + std::to_string(e.blendMode) + "] Time[" +
         std::to_string(e.time) + "]\n";
}

// One log line per entry, in list order.
template <class Line>
void LogEntries(const RequestExchange& ex, const AgentList& entries, Line line) {
  for (std::size_t i = 0; i < entries.size(); ++i) ex.LogWith([&] { return line(i, entries[i]); });
}

// The busy and ready queries: group, part and count, logged alike whatever their width on
// the wire.
template <class Read>
int GroupQuery(OrbaAdapter& adapter, int gate, const ServiceShape& shape, std::initializer_list<BodyField> body,
               std::int64_t group, std::int64_t part, std::uint16_t maxcount, Read&& read) {
  return RunService(adapter, gate,
                    {shape,
                     {},
                     body,
                     {{"\t\taGroup\t\t[", group}, {"\t\taPart\t\t[", part}, {"\t\tmaxcount\t\t[", maxcount}}},
                    read);
}

// AgentReadyGet and AgentReadyGetEx after their exchange: the ready list, read only on result 1.
template <class Line>
int ReadReady(RequestExchange& ex, AgentList& list, Line line) {
  if (ex.Result() != kOk) return AsResult(ex.Result());
  ReplyReader in(ex.Reply());
  AgentList read;
  if (!ReadReadyList(in, read)) return kReplyMismatch;
  LogEntries(ex, read, line);
  list.insert(list.end(), read.begin(), read.end());
  return kOk;
}

// The rest of the agent-state answer: reply frames, each with its own head, until a "more"
// byte of 0, bounded as a whole by kListAnswerSeconds and kMaxListEntries.
int ReadStatusFrames(RequestExchange& ex, AgentStatusList& list) {
  const auto answerDeadline = std::chrono::steady_clock::now() + ex.ReplyWait(kListAnswerSeconds);
  std::size_t appended = 0;
  Stream frame;
  Stream* current = &ex.Reply();  // the first frame's head is already read
  std::uint32_t result = ex.Result();
  for (;;) {
    ReplyReader in(*current);
    if (current != &ex.Reply()) {
      std::uint16_t number = 0;
      in.Head(result, number);
    }
    StatusFrame read;
    if (!ReadStatusFrame(in, read)) {
      AbandonAnswer(ex);
      return SettleReply(result, false);
    }
    if (!read.more) return AsResult(result);
    // A frame without entries counts as one: "more" frames alone must not go on for ever.
    const std::size_t weight = std::max<std::size_t>(read.entries.size(), 1);
    if (appended + weight > kMaxListEntries) {
      AbandonAnswer(ex);
      return kTooManyDevices;
    }
    list.insert(list.end(), read.entries.begin(), read.entries.end());
    appended += weight;
    // Frames that are always queued already never let the wait below see the deadline.
    if (std::chrono::steady_clock::now() >= answerDeadline) {
      AbandonAnswer(ex);
      return kTimeout;
    }
    const auto frameDeadline =
        std::min(answerDeadline, std::chrono::steady_clock::now() + ex.ReplyWait(kReplyWaitSeconds));
    frame = Stream();
    if (const int got = ex.ReadReply(frame, frameDeadline); got != kOk) return got;
    current = &frame;
  }
}

}  // namespace

int AgentGetBySkill(OrbaAdapter& adapter, std::int32_t tenantId, std::int32_t skillId,
                    std::uint8_t agentMode, std::uint16_t stateCount, int gate) {
  return RunService(adapter, gate,
                    {shape::kAgentGetBySkill,
                     {},
                     {U32(tenantId), U32(skillId), U8(agentMode), U16(stateCount)},
                     {{"\t\tTenantID\t\t[", tenantId},
                      {"\t\tskillID\t\t[", skillId},
                      {"\t\tagentMode\t\t[", agentMode},
                      {"\t\tstateCount\t\t[", stateCount}}});
}

int AgentBusyGetII(OrbaAdapter& adapter, std::int32_t group, std::int32_t part,
                   std::uint16_t maxcount, AgentList& list) {
  return GroupQuery(adapter, kFixedGate, shape::kAgentBusyGetII, {U32(group), U32(part), U16(maxcount)}, group,
                    part, maxcount, [&](RequestExchange& ex) -> int {
                      // Reply data after the head, read whatever the result.
                      ReplyReader in(ex.Reply());
                      AgentList read;
                      if (!ReadBusyList(in, read)) return SettleReply(ex.Result(), false);
                      LogEntries(ex, read, BusyEntryLine);
                      list.insert(list.end(), read.begin(), read.end());
                      return AsResult(ex.Result());
                    });
}

int AgentReadyGet(OrbaAdapter& adapter, std::int32_t group, std::int32_t part,
                  std::uint16_t maxcount, AgentList& list, int gate) {
  return GroupQuery(adapter, gate, shape::kAgentReadyGet, {U32(group), U32(part), U16(maxcount)}, group, part,
                    maxcount, [&](RequestExchange& ex) { return ReadReady(ex, list, ReadyEntryLine); });
}

int AgentReadyGetEx(OrbaAdapter& adapter, std::uint16_t group, std::uint16_t part,
                    std::uint16_t maxcount, AgentList& list, int gate) {
  return GroupQuery(adapter, gate, shape::kAgentReadyGetEx, {U16(group), U16(part), U16(maxcount)}, group, part,
                    maxcount, [&](RequestExchange& ex) { return ReadReady(ex, list, ReadyExEntryLine); });
}

int AgentStatusGet(OrbaAdapter& adapter, std::uint8_t mode, std::int32_t maxcount,
                   std::int32_t group, std::int32_t part, AgentStatusList& list, int gate) {
  return RunService(adapter, gate,
                    {shape::kAgentStatusGet,
                     {},
                     {U8(mode), U32(maxcount), U32(group), U32(part)},
                     {{"\t\tMode\t\t[", mode},
                      {"\t\taGtoup\t\t[", group},
                      {"\t\taPart\t\t[", part},
                      {"\t\tmaxcount\t\t[", maxcount}}},
                    [&](RequestExchange& ex) { return ReadStatusFrames(ex, list); });
}

}  // namespace vomtel
