#include "vomtel/requests/service/list_replies.h"

namespace vomtel {

namespace {

// Least wire size of one entry of each list: texts count their length byte(s) only.
constexpr std::size_t kBusyEntryBytes = 1 + 4 + 1 + 2;
constexpr std::size_t kReadyEntryBytes = 1 + 1 + 4 + 1 + 4 + 1 + 4 + 1 + 2;
constexpr std::size_t kStatusEntryBytes = 2 + 2 + 4 + 1 + 4;
constexpr std::size_t kMultiAgentEntryBytes = 1 + 4;
constexpr std::size_t kSkillAgentEntryBytes = 4 + 4 + 4 + 1 + 2;
constexpr std::size_t kPeriodEntryBytes = 4 + 4;
constexpr std::size_t kQueueEntryBytes = 4 + 4 + 1;
constexpr std::size_t kSkillEntryBytes = 2 + 1;
constexpr std::size_t kTripleBytes = 4 + 4 + 4;

std::uint8_t AgentModeOfStateCode(std::uint8_t code) {
  return code >= 201 && code <= 206 ? static_cast<std::uint8_t>(code - 201) : code;
}

}  // namespace

bool ReadBusyList(ReplyReader& in, AgentList& out) {
  const std::uint16_t count = in.U16();
  if (!in.Fits(count, kBusyEntryBytes)) return false;
  for (std::uint16_t i = 0; i < count && in.Complete(); ++i) {
    AgentListEntry entry;
    entry.agentId = in.Str8();
    entry.dn = in.U32();
    entry.blendMode = in.U8();
    entry.time = in.U16();
    out.push_back(std::move(entry));
  }
  return in.Complete();
}

bool ReadReadyList(ReplyReader& in, AgentList& out) {
  const std::uint16_t count = in.U16();
  if (!in.Fits(count, kReadyEntryBytes)) return false;
  for (std::uint16_t i = 0; i < count && in.Complete(); ++i) {
    AgentListEntry entry;
    entry.agentId = in.Str8();
    entry.agentName = in.Str8();
    entry.agentGroup = in.U32();
    entry.groupName = in.Str8();
    entry.agentPart = in.U32();
    entry.partName = in.Str8();
    entry.dn = in.U32();
    entry.blendMode = in.U8();
    entry.time = in.U16();
    out.push_back(std::move(entry));
  }
  return in.Complete();
}

bool ReadStatusFrame(ReplyReader& in, StatusFrame& out) {
  out.more = in.U8() != 0;
  if (!out.more) return in.Complete();
  in.Skip(1);
  const std::uint8_t mode = in.U8();
  const std::uint32_t count = in.U32();
  if (!in.Fits(count, kStatusEntryBytes)) return false;
  for (std::uint32_t i = 0; i < count && in.Complete(); ++i) {
    AgentStatusEntry entry;
    entry.mode = mode;
    entry.group = in.U16();
    entry.part = in.U16();
    entry.agentNumber = in.U32();
    entry.name = in.Str8();
    entry.dn = in.U32();
    out.entries.push_back(std::move(entry));
  }
  return in.Complete();
}

bool ReadMultiAgentList(ReplyReader& in, AgentList& out, std::uint16_t& count) {
  count = in.U16();
  if (!in.Fits(count, kMultiAgentEntryBytes)) return false;
  for (std::uint16_t i = 0; i < count && in.Complete(); ++i) {
    AgentListEntry entry;
    entry.agentId = in.Str8();
    entry.dn = in.U32();
    out.push_back(std::move(entry));
  }
  return in.Complete();
}

bool ReadSkillAgentList(ReplyReader& in, AgentList& out) {
  const std::uint16_t count = in.U16();
  if (!in.Fits(count, kSkillAgentEntryBytes)) return false;
  for (std::uint16_t i = 0; i < count && in.Complete(); ++i) {
    AgentListEntry entry;
    entry.agentGroup = in.U32();
    entry.agentPart = in.U32();
    entry.agentNumber = in.U32();
    entry.agentMode = in.U8();
    entry.time = in.U16();
    out.push_back(std::move(entry));
  }
  return in.Complete();
}

bool ReadAgentStatusEx(ReplyReader& in, AgentListEntry& out) {
  out.agentId = in.Str8();
  out.agentMode = AgentModeOfStateCode(in.U8());
  out.dn = in.U32();
  out.blendMode = in.U8();
  out.blockMode = in.U8();
  out.time = in.U16();
  out.type = in.U8();
  out.spare = 0;
  return in.Complete();
}

bool ReadWaitingPeriods(ReplyReader& in, std::string& queue, std::vector<WaitingPeriodEntry>& out) {
  queue = in.Str8();
  const std::uint32_t count = in.U32();
  if (!in.Fits(count, kPeriodEntryBytes)) return false;
  for (std::uint32_t i = 0; i < count && in.Complete(); ++i) {
    WaitingPeriodEntry entry;
    entry.callcount = in.U32();
    entry.waitperiod = in.U32();
    out.push_back(entry);
  }
  return in.Complete();
}

bool ReadQueueCalls(ReplyReader& in, std::string& queue, std::vector<QueueEntry>& out) {
  queue = in.Str8();
  const std::uint32_t count = in.U32();
  if (!in.Fits(count, kQueueEntryBytes)) return false;
  for (std::uint32_t i = 0; i < count && in.Complete(); ++i) {
    QueueEntry entry;
    entry.callid = in.U32();
    entry.waittime = in.U32();
    entry.ani = in.Str8();
    out.push_back(std::move(entry));
  }
  return in.Complete();
}

bool ReadSkillMaster(ReplyReader& in, std::vector<SkillMasterItem>& out) {
  const std::uint16_t count = in.U16();
  if (!in.Fits(count, kSkillEntryBytes)) return false;
  for (std::uint16_t i = 0; i < count && in.Complete(); ++i) {
    SkillMasterItem item;
    item.skillID = in.U16();
    item.skillName = in.Str8();
    out.push_back(std::move(item));
  }
  return in.Complete();
}

namespace {

void ReadDirectoryTexts(ReplyReader& in, AgentListEntry& out) {
  out.tenant = in.Str8();
  out.groupName = in.Str8();
  out.partName = in.Str8();
  out.device = in.Str8();
  out.agentId = in.Str8();
  out.agentName = in.Str8();
}

std::uint8_t LowByte(std::uint16_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace

bool ReadDirectoryEntry(ReplyReader& in, AgentListEntry& out) {
  ReadDirectoryTexts(in, out);
  out.agentMode = in.U8();
  out.blendMode = in.U8();
  out.blockMode = in.U8();
  out.time = in.U16();
  return in.Complete();
}

bool ReadDirectoryEntryEx(ReplyReader& in, AgentListEntry& out) {
  ReadDirectoryTexts(in, out);
  out.agentMode = LowByte(in.U16());
  out.blendMode = LowByte(in.U16());
  out.blockMode = LowByte(in.U16());
  out.time = in.U16();
  out.skill = in.Str16().text;
  return in.Complete();
}

bool ReadCallbackCampaigns(ReplyReader& in, std::vector<CallbackCampaignEntry>& out) {
  const std::uint16_t count = in.U16();
  if (!in.Fits(count, kTripleBytes)) return false;
  for (std::uint16_t i = 0; i < count; ++i) {
    CallbackCampaignEntry entry;
    entry.campaignID = in.U32();
    entry.svcCode = in.U32();
    entry.cbCount = in.U32();
    out.push_back(entry);
  }
  return in.Complete();
}

bool ReadMaxCallLoad(ReplyReader& in, std::string& echo, std::vector<MaxCallLoadEntry>& out) {
  echo = in.Str8();
  const std::uint16_t count = in.U16();
  if (!in.Fits(count, kTripleBytes)) return false;
  for (std::uint16_t i = 0; i < count; ++i) {
    MaxCallLoadEntry entry;
    entry.campaignid = in.U32();
    entry.maxcallcnt = in.U32();
    entry.answercnt = in.U32();
    out.push_back(entry);
  }
  return in.Complete();
}

}  // namespace vomtel
