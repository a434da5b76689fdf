// List queries: each calls its export with a zeroed local array, then fires one event per
// returned entry, in entry order, inside the call. The maximum count handed to the library
// never exceeds the array, nor does the number of entries read back.
#include <charconv>
#include <cstdint>
#include <string>

#include "vomtel/vomtel.h"
#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/main_control/entry_array.h"
#include "vomtel_ocx/main_control/event_params.h"
#include "vomtel_ocx/main_control/main_control.h"
#include "vomtel_ocx/main_control/main_control_events.h"
#include "vomtel_ocx/main_control/method_support.h"

namespace vomtelx {
namespace {

// Capacities of the local arrays.
constexpr std::size_t kReadyAgents = 1000;
constexpr std::size_t kSkillMasters = 512;
constexpr std::size_t kSkillAgents = 100;
constexpr std::size_t kAgentStates = 2000;
constexpr std::size_t kAgentStatesII = 100;
constexpr std::size_t kCallbackCampaigns = 1000;
constexpr std::size_t kMultiAgents = 1000;
constexpr std::size_t kAgentSkills = 1000;
constexpr std::size_t kBusyAgents = 1000;
constexpr std::size_t kDirectoryAgents = 1000;
constexpr std::size_t kWaitingEntries = 100;

// The library fills these two lists up to its own caps, whatever the server answers.
static_assert(kSkillMasters >= VOMTEL_CAP_SKILL_MASTER, "the skill-master array");
static_assert(kMultiAgents >= VOMTEL_CAP_MULTI_AGENT, "the multi-agent array");

// The first argument of vomtelAgentStatusGetII and vomtelAgentBusyGetII after the gate.
constexpr int kAgentStatusIIWord = 4;
constexpr int kAgentBusyIIWord = 1;

using ReadyExCall = int (*)(int, int, int, int, int, AgentReadyExEntry*, std::uint32_t*);

// The three ready-agent queries with the extended entry.
std::int32_t ReadyAgentsEx(Cvomtel_ocxCtrl& control, const vomcom::Args& a, ReadyExCall call,
                           void (Cvomtel_ocxCtrl::*fire)(const AgentReadyExEntry&)) {
  EntryArray<AgentReadyExEntry> list(kReadyAgents);
  const int result =
      call(a.I4(0), a.I4(1), a.I4(2), a.I4(3), list.Clamp(a.I4(4)), list.data(), list.count());
  if (result != VOMTEL_OK) return Negated(result);
  for (const AgentReadyExEntry& e : list.Returned()) (control.*fire)(e);
  return static_cast<std::int32_t>(list.Returned().size());
}

// vomtelAgentReadyGetExu does nothing; its C signature takes untyped lists.
int ReadyGetExu(int gate, int invoke, int group, int part, int maxCount, AgentReadyExEntry* e,
                std::uint32_t* count) {
  return vomtelAgentReadyGetExu(gate, invoke, group, part, maxCount, e, count);
}

// The agent state queries' event: the agent's number (at 8) as its decimal text in agentid.
void FireAgentStates(Cvomtel_ocxCtrl& control, std::span<const AgentStatusEntry> entries) {
  for (const AgentStatusEntry& e : entries) control.FireAgentStatus(e);
}

// A maximum count given as text: a number above the array's capacity becomes the capacity.
std::string ClampCountText(std::string text, std::size_t capacity) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc() && end == text.data() + text.size() && !text.empty() &&
      value > capacity) {
    return std::to_string(capacity);
  }
  return text;
}

}  // namespace

void Cvomtel_ocxCtrl::FireReadyAgentEx(const AgentReadyExEntry& e) {
  Fire(kEventReadyAgentEx, {EntryText(e.AgentId), EntryText(e.AgentName), Long(e.AgentGroup),
                            EntryText(e.GroupName), Long(e.AgentPart), EntryText(e.PartName),
                            Long(e.Dn), Long(e.BlendMode), Long(e.Time)});
}

void Cvomtel_ocxCtrl::FireAgentStatus(const AgentStatusEntry& e) {
  Fire(kEventAgentStatus, {Long(e.Group), Long(e.Part),
                           HostText(vomcom::Utf8ToUtf16(std::to_string(e.AgentNumber))),
                           Long(e.Mode), EntryText(e.Name), Long(e.Dn)});
}

HRESULT Cvomtel_ocxCtrl::vomtelagentreadyget(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelagentreadyget ..........! ");
    EntryArray<AgentReadyEntry> list(kReadyAgents);
    const int result = vomtelAgentReadyGet(a.I4(0), a.I4(1), a.I4(2), a.I4(3),
                                           list.Clamp(a.I4(4)), list.data(), list.count());
    if (result != VOMTEL_OK) return Negated(result);
    for (const AgentReadyEntry& e : list.Returned()) {
      Fire(kEventReadyAgent,
           {EntryText(e.EmployeeId), Long(e.Dn), Long(e.BlendMode), Long(e.Time)});
    }
    return static_cast<std::int32_t>(list.Returned().size());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelagentreadygetex(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelagentreadygetex ..........! ");
    // The centre id (argument 5) is not passed on.
    return ReadyAgentsEx(*this, a, &vomtelAgentReadyGetEx, &Cvomtel_ocxCtrl::FireReadyAgentEx);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelagentreadygetexu(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelagentreadygetex ..........! ");
    return ReadyAgentsEx(*this, a, &ReadyGetExu, &Cvomtel_ocxCtrl::FireReadyAgentEx);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelAgentReadyGetIIX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelAgentReadyGetIIX ..........! ");
    return ReadyAgentsEx(*this, a, &vomtelAgentReadyGetII, &Cvomtel_ocxCtrl::FireReadyAgentEx);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelGetSkillMasterX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelGetSkillMasterX ..........! ");
    EntryArray<SkillMasterEntry> list(kSkillMasters);
    const int result = vomtelGetSkillMaster(a.I4(0), a.I2(1), a.I4(2), list.data(), list.count());
    if (result != VOMTEL_OK) return Negated(result);
    const auto entries = list.Returned();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const std::int32_t left = static_cast<std::int32_t>(entries.size() - i);
      Fire(kEventSkillMaster,
           {Long(entries[i].SkillId), EntryText(entries[i].SkillName), Long(left)});
    }
    return static_cast<std::int32_t>(entries.size());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelAgentGetBySkillX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelAgentGetBySkillX ..........! ");
    EntryArray<SkillCountEntry> list(kSkillAgents);
    const int result = vomtelAgentGetBySkill(a.I4(0), a.I2(1), a.I4(2), a.I4(3), a.I4(4),
                                             list.Clamp(a.I2(5)), list.count(), list.data());
    if (result != VOMTEL_OK) return Negated(result);
    const auto entries = list.Returned();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const std::int32_t left = static_cast<std::int32_t>(entries.size() - i);
      Fire(kEventAgentBySkill, {EntryText(entries[i].Text1), EntryText(entries[i].Text2),
                                Long(entries[i].Number), Short(left)});
    }
    return static_cast<std::int32_t>(entries.size());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelwaitingcalltimeperiod(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelwaitingcalltimeperiod ..........! ");
    EntryArray<WaitingPeriodEntry> list(kWaitingEntries);
    const std::string queue = NarrowArg(a, 3);
    const int result = vomtelWaitingCallTimePeriod(a.I4(0), a.I4(1), a.I4(2), queue.c_str(),
                                                   list.count(), list.data());
    if (result != VOMTEL_OK) return result;
    for (const WaitingPeriodEntry& e : list.Returned()) {
      Fire(kEventWaitingPeriod, {HostText(TextArg(a, 3)), Long(e.CallCount), Long(e.WaitPeriod)});
    }
    return result;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelwaitingcallListofque(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelwaitingcallListofque ..........! ");
    EntryArray<WaitingCallEntry> list(kWaitingEntries);
    const std::string queue = NarrowArg(a, 2);
    const int result =
        vomtelWaitingCallListOfQue(a.I4(0), a.I4(1), queue.c_str(), list.count(), list.data());
    if (result != VOMTEL_OK) return result;
    for (const WaitingCallEntry& e : list.Returned()) {
      Fire(kEventWaitingCall, {HostText(TextArg(a, 2)), Long(e.CallId), Long(e.WaitTime),
                               EntryText(e.CallingNumber)});
    }
    return result;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelagentStatusGet(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelagentStatusGet ..........! ");
    EntryArray<AgentStatusEntry> list(kAgentStates);
    const int result = vomtelAgentStatusGet(a.I4(0), a.I4(1), a.I4(2), list.Clamp(a.I4(3)),
                                            a.I4(4), a.I4(5), list.data(), list.count(), 0);
    if (result != VOMTEL_OK) return result;
    FireAgentStates(*this, list.Returned());
    return result;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelAgentStatusGetX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelAgentStatusGetX ..........! ");
    EntryArray<AgentStatusEntry> list(kAgentStatesII);
    const int result =
        vomtelAgentStatusGetII(a.I4(0), kAgentStatusIIWord, a.I2(1), a.I2(2), list.Clamp(a.I2(3)),
                               a.I4(4), a.I4(5), list.data(), list.count(), 0);
    if (result != VOMTEL_OK) return Negated(result);
    FireAgentStates(*this, list.Returned());
    return static_cast<std::int32_t>(list.Returned().size());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelAgentStatusGetIIX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelAgentStatusGetX ..........! ");
    EntryArray<AgentStatusEntry> list(kAgentStatesII);
    const int result =
        vomtelAgentStatusGetII(a.I4(0), kAgentStatusIIWord, a.I4(1), a.I2(2), list.Clamp(a.I2(3)),
                               a.I4(4), a.I4(5), list.data(), list.count(), 0);
    if (result != VOMTEL_OK) return Negated(result);
    FireAgentStates(*this, list.Returned());
    return static_cast<std::int32_t>(list.Returned().size());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelobCallbackCampaign(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelobCallbackCampaign ..........! ");
    EntryArray<CallbackCampaignEntry> list(kCallbackCampaigns);
    const int result =
        vomtelCallbackCampaign(a.I4(0), a.I2(1), a.I4(2), list.count(), list.data());
    if (result != VOMTEL_OK) return Negated(result);
    for (const CallbackCampaignEntry& e : list.Returned()) {
      Fire(kEventCallbackCampaign,
           {Long(e.CampaignId), Long(e.ServiceCode), Long(e.CallbackCount)});
    }
    return static_cast<std::int32_t>(list.Returned().size());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelmultiagentget(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelmultiagentget ..........! ");
    EntryArray<MultiAgentEntry> list(kMultiAgents);
    const std::string device = NarrowArg(a, 2), agentId = NarrowArg(a, 3);
    const int result = vomtelMultiAgentGet(a.I4(0), a.I4(1), device.c_str(), agentId.c_str(),
                                           list.data(), list.count());
    if (result != VOMTEL_OK) return Negated(result);
    for (const MultiAgentEntry& e : list.Returned()) {
      Fire(kEventMultiAgent, {Long(e.Number), EntryText(e.AgentId)});
    }
    return static_cast<std::int32_t>(list.Returned().size());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelAgentSkillGetX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelAgentSkillGetX   ");
    EntryArray<SkillAgentEntry> list(kAgentSkills);
    const int result = vomtelAgentSkillGet(a.I4(0), a.I2(1), list.Clamp(a.I2(2)), a.I4(3),
                                           list.data(), list.count());
    if (result != VOMTEL_OK) return Negated(result);
    for (const SkillAgentEntry& e : list.Returned()) {
      Fire(kEventAgentSkill,
           {Long(e.Group), Long(e.Part), Long(e.AgentNumber), Long(e.Mode), Long(e.Time)});
    }
    return 0;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelAgentBusyGetIIX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelAgentBusyGetIIX ..........! ");
    EntryArray<AgentReadyEntry> list(kBusyAgents);
    const int result = vomtelAgentBusyGetII(a.I4(0), kAgentBusyIIWord, a.I4(1), a.I4(2), a.I4(3),
                                            list.Clamp(a.I4(4)), list.data(), list.count());
    if (result != VOMTEL_OK) return Negated(result);
    for (const AgentReadyEntry& e : list.Returned()) {
      // The busy-agent entry carries no agent number: agentid is 0.
      Fire(kEventBusyAgent,
           {EntryText(e.EmployeeId), Long(0), Long(e.Dn), Long(e.BlendMode), Long(e.Time)});
    }
    return static_cast<std::int32_t>(list.Returned().size());
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelgetagentex(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    EntryArray<AgentExEntry> list(kDirectoryAgents);
    char readCount[1025] = {};
    std::string texts[8];
    for (std::size_t i = 0; i < 8; ++i) texts[i] = NarrowArg(a, 2 + i);
    const std::u16string_view maxCountText = TextArg(a, 10);
    const std::string maxCount = ClampCountText(NarrowText(maxCountText), list.capacity());
    const int result = vomtelGetAgentEx(
        a.I4(0), a.I4(1), texts[0].c_str(), texts[1].c_str(), texts[2].c_str(), texts[3].c_str(),
        texts[4].c_str(), texts[5].c_str(), texts[6].c_str(), texts[7].c_str(), list.data(),
        readCount, list.count(), maxCount.c_str());
    if (result > VOMTEL_OK) return Negated(result);
    if (result != VOMTEL_OK) return result;
    const auto entries = list.Returned();
    const std::int32_t total = static_cast<std::int32_t>(entries.size());
    if (maxCountText.empty()) {
      const vomcom::Variant empty = HostText(u"");
      Fire(kEventAgentEx, {empty, empty, empty, empty, empty, empty, Long(0), Long(0), Long(0),
                           Long(0), empty, EntryText(readCount), Long(total)});
      return VOMTEL_OK;
    }
    for (const AgentExEntry& e : entries) {
      Fire(kEventAgentEx, {EntryText(e.Tenant), EntryText(e.Group), EntryText(e.Dn),
                           EntryText(e.Part), EntryText(e.AgentId), EntryText(e.Name),
                           Long(e.Mode), Long(e.BlendMode), Long(e.BlockMode), Long(e.Time),
                           EntryText(e.Skills), EntryText(readCount), Long(total)});
    }
    return VOMTEL_OK;
  });
}

}  // namespace vomtelx
