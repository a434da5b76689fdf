#include "vomtel/requests/service/agent_list_queries.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

namespace {

constexpr int kFixedGate = 0;

enum class ReadyForm { kPlain, kEx };

std::string ReadyEntryLine(ReadyForm form, std::size_t i, const AgentListEntry& e) {
  if (form == ReadyForm::kEx) {
    return "orbaAgentReadyGetEx list[" + std::to_string(i) + "]: agentID[" + e.agentId +
           "] agentName[" + e.agentName + "] agentGroup[" + std::to_string(e.agentGroup) +
           "] groupName[" + e.groupName + "] agentPart[" + std::to_string(e.agentPart) +
           "] partName[" + e.partName + "] Dn[" + std::to_string(e.dn) + "] blendMode[" +
           std::to_string(e.blendMode) + "] Time[" + std::to_string(e.time) + "]\n";
  }
  return "orbaAgentReadyGet list[" + std::to_string(i) + "]: employeeID[" + e.agentId + "] DN[" +
         std::to_string(e.dn) + "] blendMode[" + std::to_string(e.blendMode) + "] Time[" +
         std::to_string(e.time) + "]\n";
}

// AgentReadyGet and AgentReadyGetEx: one body layout apart from the width of the numbers.
int ReadyQuery(OrbaAdapter& adapter, ReadyForm form, std::int32_t group, std::int32_t part,
               std::uint16_t maxcount, AgentList& list, int gate) {
  RequestExchange ex(adapter, gate);
  if (!ex.HasSession()) return kNoSession;
  Stream& body = ex.BeginBody();
  if (form == ReadyForm::kEx) {
    body.PutU16(static_cast<std::uint16_t>(group)).PutU16(static_cast<std::uint16_t>(part));
  } else {
    body.PutU32(static_cast<std::uint32_t>(group)).PutU32(static_cast<std::uint32_t>(part));
  }
  body.PutU16(maxcount);
  if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
  const char* label = form == ReadyForm::kEx ? "orbaAgentReadyGetEx: gate[" : "orbaAgentReadyGet: gate[";
  ex.Log(RequestLog(label, gate, ex.RequestNumber())
             .Field("\t\taGroup\t\t[", group)
             .Field("\t\taPart\t\t[", part)
             .Field("\t\tmaxcount\t\t[", maxcount)
             .Text());
  const std::uint8_t code = form == ReadyForm::kEx ? 0x60 : 0x98;
  if (const int got = SendAndWait(ex, kServiceClass, code); got != kOk) return got;
  // Reply data after the head, read only on result 1.
  if (ex.Result() != kOk) return AsResult(ex.Result());
  ReplyReader in(ex.Reply());
  AgentList read;
  if (!ReadReadyList(in, read)) return kReplyMismatch;
  for (std::size_t i = 0; i < read.size(); ++i) ex.Log(ReadyEntryLine(form, i, read[i]));
  list.insert(list.end(), read.begin(), read.end());
  return kOk;
}

}  // namespace

int AgentGetBySkill(OrbaAdapter& adapter, std::int32_t tenantId, std::int32_t skillId,
                    std::uint8_t agentMode, std::uint16_t stateCount, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody()
        .PutU32(static_cast<std::uint32_t>(tenantId))
        .PutU32(static_cast<std::uint32_t>(skillId))
        .PutU8(agentMode)
        .PutU16(stateCount);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelAgentGetBySkill: gate[", gate, ex.RequestNumber())
               .Field("\t\tTenantID\t\t[", tenantId)
               .Field("\t\tskillID\t\t[", skillId)
               .Field("\t\tagentMode\t\t[", agentMode)
               .Field("\t\tstateCount\t\t[", stateCount)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0x61); got != kOk) return got;
    ex.LogOutcome("vomtelAgentGetBySkill", AsResult(ex.Result()));
    return AsResult(ex.Result());
  });
}

int AgentBusyGetII(OrbaAdapter& adapter, std::int32_t group, std::int32_t part,
                   std::uint16_t maxcount, AgentList& list) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, kFixedGate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody()
        .PutU32(static_cast<std::uint32_t>(group))
        .PutU32(static_cast<std::uint32_t>(part))
        .PutU16(maxcount);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("orbaAgentBusyGetII: gate[", kFixedGate, ex.RequestNumber())
               .Field("\t\taGroup\t\t[", group)
               .Field("\t\taPart\t\t[", part)
               .Field("\t\tmaxcount\t\t[", maxcount)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0x97); got != kOk) return got;
    // Reply data after the head, read whatever the result.
    ReplyReader in(ex.Reply());
    AgentList read;
    if (!ReadBusyList(in, read)) return SettleReply(ex.Result(), false);
    for (std::size_t i = 0; i < read.size(); ++i) {
      const AgentListEntry& e = read[i];
      ex.Log("orbaAgentBusyGetII list[" + std::to_string(i) + "]: employeeID[" + e.agentId +
             "] DN[" + std::to_string(e.dn) + "] blendMode[" + std::to_string(e.blendMode) +
             "] Time[" + std::to_string(e.time) + "]\n");
    }
    list.insert(list.end(), read.begin(), read.end());
    return AsResult(ex.Result());
  });
}

int AgentReadyGet(OrbaAdapter& adapter, std::int32_t group, std::int32_t part,
                  std::uint16_t maxcount, AgentList& list, int gate) {
  return Guarded([&]() -> int { return ReadyQuery(adapter, ReadyForm::kPlain, group, part, maxcount, list, gate); });
}

int AgentReadyGetEx(OrbaAdapter& adapter, std::uint16_t group, std::uint16_t part,
                    std::uint16_t maxcount, AgentList& list, int gate) {
  return Guarded([&]() -> int { return ReadyQuery(adapter, ReadyForm::kEx, group, part, maxcount, list, gate); });
}

int AgentStatusGet(OrbaAdapter& adapter, std::uint8_t mode, std::int32_t maxcount,
                   std::int32_t group, std::int32_t part, AgentStatusList& list, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody()
        .PutU8(mode)
        .PutU32(static_cast<std::uint32_t>(maxcount))
        .PutU32(static_cast<std::uint32_t>(group))
        .PutU32(static_cast<std::uint32_t>(part));
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("orbaAgentStatusGet: gate[", gate, ex.RequestNumber())
               .Field("\t\tMode\t\t[", mode)
               .Field("\t\taGtoup\t\t[", group)
               .Field("\t\taPart\t\t[", part)
               .Field("\t\tmaxcount\t\t[", maxcount)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0xBE); got != kOk) return got;
    // Multi-frame answer: reply frames, each with its own head, until a "more" byte of 0.
    const auto answerDeadline =
        std::chrono::steady_clock::now() + ex.ReplyWait(kListAnswerSeconds);
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
      const auto frameDeadline = std::min(
          answerDeadline, std::chrono::steady_clock::now() + ex.ReplyWait(kReplyWaitSeconds));
      frame = Stream();
      if (const int got = ex.ReadReply(frame, frameDeadline); got != kOk) return got;
      current = &frame;
    }
  });
}

}  // namespace vomtel
