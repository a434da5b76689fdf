#include "fake_exports.h"

#include <algorithm>
#include <stdexcept>

#include "vomtel/vomtel.h"

namespace fake {

std::int64_t Call::Int(std::size_t i) const { return args.at(i).number; }
std::string Call::Text(std::size_t i) const {
  const Arg& a = args.at(i);
  return a.kind == Arg::Kind::Null ? std::string("<null>") : a.bytes;
}
bool Call::IsNull(std::size_t i) const { return args.at(i).kind == Arg::Kind::Null; }
const void* Call::Pointer(std::size_t i) const { return args.at(i).pointer; }
const std::string& Call::Bytes(std::size_t i) const { return args.at(i).bytes; }

Exports& Exports::Get() {
  static Exports exports;
  return exports;
}

void Exports::Reset() {
  calls_.clear();
  scripts_.clear();
}

void Exports::SetScript(const std::string& name, Script script) {
  scripts_[name] = std::move(script);
}

std::vector<Call> Exports::CallsOf(const std::string& name) const {
  std::vector<Call> out;
  for (const Call& c : calls_) {
    if (c.name == name) out.push_back(c);
  }
  return out;
}

Call& Exports::Record(const char* name) {
  calls_.push_back(Call{name, {}});
  return calls_.back();
}

const Script& Exports::ScriptOf(const std::string& name) const {
  static const Script kDefault;
  auto it = scripts_.find(name);
  return it == scripts_.end() ? kDefault : it->second;
}

}  // namespace fake

namespace {

using fake::Arg;
using fake::Exports;
using fake::Script;

// Records one call's arguments in order.
class Recorder {
 public:
  explicit Recorder(const char* name) : name_(name), call_(&Exports::Get().Record(name)) {}

  Recorder& I(std::int64_t v) {
    Arg a;
    a.kind = Arg::Kind::Int;
    a.number = v;
    call_->args.push_back(a);
    return *this;
  }
  Recorder& T(const char* text) {
    Arg a;
    if (text != nullptr) {
      a.kind = Arg::Kind::Text;
      a.bytes = text;
      a.pointer = text;
    }
    call_->args.push_back(a);
    return *this;
  }
  template <class R>
  Recorder& B(const R* record) {
    Arg a;
    if (record != nullptr) {
      a.kind = Arg::Kind::Bytes;
      a.bytes.assign(reinterpret_cast<const char*>(record), sizeof(R));
      a.pointer = record;
    }
    call_->args.push_back(a);
    return *this;
  }
  Recorder& P(const void* pointer) {
    Arg a;
    a.kind = pointer != nullptr ? Arg::Kind::Pointer : Arg::Kind::Null;
    a.pointer = pointer;
    call_->args.push_back(a);
    return *this;
  }

  // The scripted answer; throws when the script says so.
  const Script& Answer() const {
    const Script& s = Exports::Get().ScriptOf(name_);
    if (s.throwMessage) throw std::runtime_error(*s.throwMessage);
    return s;
  }
  int Result() const { return Answer().result; }

 private:
  const char* name_;
  fake::Call* call_;
};

std::int32_t Out(const Script& s, std::size_t i) { return i < s.outs.size() ? s.outs[i] : 0; }
bool HasOut(const Script& s, std::size_t i) { return i < s.outs.size(); }

void CopyText(const Script& s, std::size_t i, char* out, std::size_t size) {
  if (i >= s.texts.size() || size == 0) return;
  const std::size_t n = std::min(s.texts[i].size(), size - 1);
  std::memcpy(out, s.texts[i].data(), n);
  out[n] = '\0';
}

// Writes a list answer as the library does: entries and count only on 1, never more entries
// than a maximum count (maxCount < 0: the export has none).
template <class Entry>
int List(const Recorder& r, Entry* entries, std::uint32_t* count, std::int64_t maxCount) {
  const Script& s = r.Answer();
  if (s.result != 1) return s.result;
  std::size_t n = s.entryCount;
  if (maxCount >= 0) n = std::min<std::size_t>(n, static_cast<std::size_t>(maxCount));
  std::memcpy(static_cast<void*>(entries), s.entries.data(), n * sizeof(Entry));
  *count = s.reportedCount ? *s.reportedCount : static_cast<std::uint32_t>(n);
  return s.result;
}

// A maximum count argument: 0 or less lets no entry through.
std::int64_t Max(int maxCount) { return maxCount <= 0 ? 0 : maxCount; }

}  // namespace

extern "C" {

// ---- Server, monitor, devices and settings ----------------------------------------------
int vomtelOpenServer(int* gate, int invoke, const DeviceRecord* device, const char* serverName,
                     int port, const char* protocol, const char* application, int reserved,
                     int headerWord) {
  Recorder r("vomtelOpenServer");
  r.P(gate).I(invoke).B(device).T(serverName).I(port).T(protocol).T(application).I(reserved).I(
      headerWord);
  const Script& s = r.Answer();
  if (HasOut(s, 0)) *gate = Out(s, 0);
  return s.result;
}

int vomtelOpenServerHA(int* gate, int invoke, const DeviceRecord* device, const char* serverName,
                       const char* secondServerName, int port, const char* protocol,
                       const char* application, int reserved, int headerWord) {
  Recorder r("vomtelOpenServerHA");
  r.P(gate).I(invoke).B(device).T(serverName).T(secondServerName).I(port).T(protocol).T(
      application).I(reserved).I(headerWord);
  const Script& s = r.Answer();
  if (HasOut(s, 0)) *gate = Out(s, 0);
  return s.result;
}

int vomtelOpenServerP(int* gate, int invoke, const char* proxyIp, int proxyPort,
                      const char* proxyId, const char* proxyPassword, const DeviceRecord* device,
                      const char* serverName, int port, const char* protocol,
                      const char* application, int reserved, int headerWord) {
  Recorder r("vomtelOpenServerP");
  r.P(gate).I(invoke).T(proxyIp).I(proxyPort).T(proxyId).T(proxyPassword).B(device).T(
      serverName).I(port).T(protocol).T(application).I(reserved).I(headerWord);
  return r.Result();
}

int vomtelCloseServer(int gate, int invoke) {
  Recorder r("vomtelCloseServer");
  r.I(gate).I(invoke);
  return r.Result();
}

int vomtelCloseServerHA(int gate, int invoke) {
  Recorder r("vomtelCloseServerHA");
  r.I(gate).I(invoke);
  return r.Result();
}

int vomtelMonitorStart(int gate, int invoke) {
  Recorder r("vomtelMonitorStart");
  r.I(gate).I(invoke);
  return r.Result();
}

int vomtelMonitorStop(int gate, int invoke) {
  Recorder r("vomtelMonitorStop");
  r.I(gate).I(invoke);
  return r.Result();
}

int vomtelAddDevice(int gate, int invoke, const DeviceRecord* device) {
  Recorder r("vomtelAddDevice");
  r.I(gate).I(invoke).B(device);
  return r.Result();
}

int vomtelSetIni(int level, const char* folder) {
  Recorder r("vomtelSetIni");
  r.I(level).T(folder);
  return r.Result();
}

// ---- Call control -----------------------------------------------------------------------
int vomtelAnswerCall(int gate, int invoke, const ConnectionId* call, const PrivateDataBlock* priv) {
  Recorder r("vomtelAnswerCall");
  r.I(gate).I(invoke).B(call).B(priv);
  return r.Result();
}

int vomtelClearConnection(int gate, int invoke, const ConnectionId* call,
                          const PrivateDataBlock* priv) {
  Recorder r("vomtelClearConnection");
  r.I(gate).I(invoke).B(call).B(priv);
  return r.Result();
}

int vomtelHoldCall(int gate, int invoke, const ConnectionId* call, int reserved,
                   const PrivateDataBlock* priv) {
  Recorder r("vomtelHoldCall");
  r.I(gate).I(invoke).B(call).I(reserved).B(priv);
  return r.Result();
}

int vomtelRetrieveCall(int gate, int invoke, const ConnectionId* call,
                       const PrivateDataBlock* priv) {
  Recorder r("vomtelRetrieveCall");
  r.I(gate).I(invoke).B(call).B(priv);
  return r.Result();
}

int vomtelReconnectCall(int gate, int invoke, const ConnectionId* held, const ConnectionId* active,
                        const PrivateDataBlock* priv) {
  Recorder r("vomtelReconnectCall");
  r.I(gate).I(invoke).B(held).B(active).B(priv);
  return r.Result();
}

int vomtelConferenceCall(int gate, int invoke, const ConnectionId* held, const ConnectionId* active,
                         const void* reserved1, const void* reserved2, const void* reserved3) {
  Recorder r("vomtelConferenceCall");
  r.I(gate).I(invoke).B(held).B(active).P(reserved1).P(reserved2).P(reserved3);
  return r.Result();
}

int vomtelTransferCall(int gate, int invoke, const ConnectionId* held, const ConnectionId* active,
                       const void* reserved1, const void* reserved2, const void* reserved3) {
  Recorder r("vomtelTransferCall");
  r.I(gate).I(invoke).B(held).B(active).P(reserved1).P(reserved2).P(reserved3);
  return r.Result();
}

int vomtelConsultationCall(int gate, int invoke, const ConnectionId* held, const char* calledDn,
                           const void* reserved1, const char* uui, const char* accountCode,
                           const char* authCode, const void* reserved2, const UserDataBlock* uei,
                           const UserDataBlock* ci, const PrivateDataBlock* priv) {
  Recorder r("vomtelConsultationCall");
  r.I(gate).I(invoke).B(held).T(calledDn).P(reserved1).T(uui).T(accountCode).T(authCode).P(
      reserved2).B(uei).B(ci).B(priv);
  return r.Result();
}

int vomtelMakeCall(int gate, int invoke, const char* callingDn, const char* calledDn,
                   const char* uui, const char* accountCode, const char* authCode,
                   const void* reserved, const UserDataBlock* uei, const UserDataBlock* ci,
                   const PrivateDataBlock* priv) {
  Recorder r("vomtelMakeCall");
  r.I(gate).I(invoke).T(callingDn).T(calledDn).T(uui).T(accountCode).T(authCode).P(reserved).B(
      uei).B(ci).B(priv);
  return r.Result();
}

int vomtelSingleStepTransfer(int gate, int invoke, const ConnectionId* call, const char* calledDn,
                             int mode, const void* reserved1, const char* uui,
                             const void* reserved2, const void* reserved3,
                             const UserDataBlock* uei, const UserDataBlock* ci) {
  Recorder r("vomtelSingleStepTransfer");
  r.I(gate).I(invoke).B(call).T(calledDn).I(mode).P(reserved1).T(uui).T(
      static_cast<const char*>(reserved2)).T(static_cast<const char*>(reserved3)).B(uei).B(ci);
  return r.Result();
}

int vomtelSingleStepConference(int gate, int invoke, int callId, const char* callingDn,
                               const char* calledDn, int mode, const char* uui,
                               const char* accountCode, const char* authCode,
                               const void* reserved, const UserDataBlock* uei,
                               const UserDataBlock* ci) {
  Recorder r("vomtelSingleStepConference");
  r.I(gate).I(invoke).I(callId).T(callingDn).T(calledDn).I(mode).T(uui).T(accountCode).T(
      authCode).P(reserved).B(uei).B(ci);
  return r.Result();
}

int vomtelOneStepConference(int gate, int invoke, const ConnectionId* held, const char* calledDn,
                            const void* reserved1, const char* uui, const void* reserved2,
                            const UserDataBlock* uei, const UserDataBlock* ci,
                            const PrivateDataBlock* priv) {
  Recorder r("vomtelOneStepConference");
  r.I(gate).I(invoke).B(held).T(calledDn).P(reserved1).T(uui).P(reserved2).B(uei).B(ci).B(priv);
  return r.Result();
}

int vomtelOneStepTransfer(int gate, int invoke, const void* a3, const void* a4, const void* a5,
                          const void* a6, const void* a7, const void* a8, const void* a9) {
  Recorder r("vomtelOneStepTransfer");
  r.I(gate).I(invoke).B(static_cast<const ConnectionId*>(a3)).T(static_cast<const char*>(a4)).T(
      static_cast<const char*>(a5)).P(a6).B(static_cast<const UserDataBlock*>(a7)).B(
      static_cast<const UserDataBlock*>(a8)).P(a9);
  return r.Result();
}

int vomtelDivertDeflect(int gate, int invoke, const ConnectionId* call, const char* divertDn,
                        const char* uui, const UserDataBlock* uei, const UserDataBlock* ci,
                        const PrivateDataBlock* priv) {
  Recorder r("vomtelDivertDeflect");
  r.I(gate).I(invoke).B(call).T(divertDn).T(uui).B(uei).B(ci).B(priv);
  return r.Result();
}

int vomtelSendDTMF(int gate, int invoke, const ConnectionId* call, const char* digits,
                   int toneDuration, int pauseDuration) {
  Recorder r("vomtelSendDTMF");
  r.I(gate).I(invoke).B(call).T(digits).I(toneDuration).I(pauseDuration);
  return r.Result();
}

int vomtelCallToCNID(int gate, int invoke, int first, int second, int* result) {
  Recorder r("vomtelCallToCNID");
  r.I(gate).I(invoke).I(first).I(second).P(result);
  const Script& s = r.Answer();
  if (HasOut(s, 0)) *result = Out(s, 0);
  return s.result;
}

int vomtelUserExInfoData(int gate, int invoke, int callId, const UserDataBlock* uei) {
  Recorder r("vomtelUserExInfoData");
  r.I(gate).I(invoke).I(callId).B(uei);
  return r.Result();
}

// ---- Phone features and agent state ----------------------------------------------------
int vomtelSetFeatureDND(int gate, int invoke, const char* device, int mode,
                        const PrivateDataBlock* priv) {
  Recorder r("vomtelSetFeatureDND");
  r.I(gate).I(invoke).T(device).I(mode).B(priv);
  return r.Result();
}

int vomtelSetFeatureForward(int gate, int invoke, const char* device, int forwardMode,
                            int forwardOn, const char* forwardDn, const PrivateDataBlock* priv) {
  Recorder r("vomtelSetFeatureForward");
  r.I(gate).I(invoke).T(device).I(forwardMode).I(forwardOn).T(forwardDn).B(priv);
  return r.Result();
}

int vomtelSetFeatureMicrophoneMute(int gate, int invoke, const char* device, int mode) {
  Recorder r("vomtelSetFeatureMicrophoneMute");
  r.I(gate).I(invoke).T(device).I(mode);
  return r.Result();
}

int vomtelSetFeatureSpeakerMute(int gate, int invoke, const char* device, int mode) {
  Recorder r("vomtelSetFeatureSpeakerMute");
  r.I(gate).I(invoke).T(device).I(mode);
  return r.Result();
}

int vomtelSetFeatureAgentStatus(int gate, int invoke, const char* device, int agentMode,
                                const char* agentId, const char* agentPart,
                                const char* agentGroup, int reasonCode, int workMode,
                                const PrivateDataBlock* priv) {
  Recorder r("vomtelSetFeatureAgentStatus");
  r.I(gate).I(invoke).T(device).I(agentMode).T(agentId).T(agentPart).T(agentGroup).I(
      reasonCode).I(workMode).B(priv);
  return r.Result();
}

int vomtelSetAgentFlag(int gate, int invoke, const char* agentId, int waitMode) {
  Recorder r("vomtelSetAgentFlag");
  r.I(gate).I(invoke).T(agentId).I(waitMode);
  return r.Result();
}

int vomtelSetAgentBlockingEx(int gate, int invoke, const char* agentId, int blockingTime,
                             int campaignId, const char* campaignName, int source,
                             int* results) {
  Recorder r("vomtelSetAgentBlockingEx");
  r.I(gate).I(invoke).T(agentId).I(blockingTime).I(campaignId).T(campaignName).I(source);
  r.B(reinterpret_cast<const std::int32_t(*)[2]>(results));
  const Script& s = r.Answer();
  if (results != nullptr) {
    results[0] = Out(s, 0);
    results[1] = Out(s, 1);
  }
  return s.result;
}

int vomtelPwdConfirm(int gate, int invoke, int deviceNumber, int confirm,
                     const UserDataBlock* uei) {
  Recorder r("vomtelPwdConfirm");
  r.I(gate).I(invoke).I(deviceNumber).I(confirm).B(uei);
  return r.Result();
}

// ---- Queries ----------------------------------------------------------------------------
int vomtelAgentReadyGet(int gate, int invoke, int group, int part, int maxCount,
                        AgentReadyEntry* entries, uint32_t* count) {
  Recorder r("vomtelAgentReadyGet");
  r.I(gate).I(invoke).I(group).I(part).I(maxCount).P(entries).P(count);
  return List(r, entries, count, Max(maxCount));
}

int vomtelAgentReadyGetEx(int gate, int invoke, int group, int part, int maxCount,
                          AgentReadyExEntry* entries, uint32_t* count) {
  Recorder r("vomtelAgentReadyGetEx");
  r.I(gate).I(invoke).I(group).I(part).I(maxCount).P(entries).P(count);
  return List(r, entries, count, Max(maxCount));
}

int vomtelAgentReadyGetII(int gate, int invoke, int group, int part, int maxCount,
                          AgentReadyExEntry* entries, uint32_t* count) {
  Recorder r("vomtelAgentReadyGetII");
  r.I(gate).I(invoke).I(group).I(part).I(maxCount).P(entries).P(count);
  return List(r, entries, count, Max(maxCount));
}

int vomtelAgentReadyGetExu(int gate, int invoke, int a3, int a4, int a5, void* a6, void* a7) {
  Recorder r("vomtelAgentReadyGetExu");
  r.I(gate).I(invoke).I(a3).I(a4).I(a5).P(a6).P(a7);
  return r.Result();
}

int vomtelAgentBusyGetII(int gate, int invoke, int reserved, int group, int part, int maxCount,
                         AgentReadyEntry* entries, uint32_t* count) {
  Recorder r("vomtelAgentBusyGetII");
  r.I(gate).I(invoke).I(reserved).I(group).I(part).I(maxCount).P(entries).P(count);
  return List(r, entries, count, Max(maxCount));
}

int vomtelAgentStatusGet(int gate, int invoke, int mode, int maxCount, int group, int part,
                         AgentStatusEntry* entries, uint32_t* count, int reserved) {
  Recorder r("vomtelAgentStatusGet");
  r.I(gate).I(invoke).I(mode).I(maxCount).I(group).I(part).P(entries).P(count).I(reserved);
  return List(r, entries, count, Max(maxCount));
}

int vomtelAgentStatusGetII(int gate, int a2, int invoke, int mode, int maxCount, int group,
                           int part, void* entries, void* count, int a10) {
  Recorder r("vomtelAgentStatusGetII");
  r.I(gate).I(a2).I(invoke).I(mode).I(maxCount).I(group).I(part).P(entries).P(count).I(a10);
  return List(r, static_cast<AgentStatusEntry*>(entries), static_cast<uint32_t*>(count),
              Max(maxCount));
}

int vomtelQueryAgentStatusEx(int gate, int invoke, const char* agentId, int device, char* name,
                             int* mode, int* extension, int* blendMode, int* blockMode,
                             int* time, int reserved1, int reserved2, int reserved3) {
  Recorder r("vomtelQueryAgentStatusEx");
  r.I(gate).I(invoke).T(agentId).I(device).I(reserved1).I(reserved2).I(reserved3);
  const Script& s = r.Answer();
  if (s.result == 1) {
    CopyText(s, 0, name, 31);
    int* outs[] = {mode, extension, blendMode, blockMode, time};
    for (std::size_t i = 0; i < 5; ++i) *outs[i] = Out(s, i);
  }
  return s.result;
}

int vomtelMultiAgentGet(int gate, int invoke, const char* deviceDn, const char* agentId,
                        MultiAgentEntry* entries, uint32_t* count) {
  Recorder r("vomtelMultiAgentGet");
  r.I(gate).I(invoke).T(deviceDn).T(agentId).P(entries).P(count);
  return List(r, entries, count, -1);
}

int vomtelAgentSkillGet(int gate, int invoke, int first, int second, SkillAgentEntry* entries,
                        uint32_t* count) {
  Recorder r("vomtelAgentSkillGet");
  r.I(gate).I(invoke).I(first).I(second).P(entries).P(count);
  return List(r, entries, count, Max(first));
}

int vomtelAgentGetBySkill(int gate, int invoke, int tenantId, int skillId, int agentMode,
                          int stateCount, uint32_t* count, SkillCountEntry* entries) {
  Recorder r("vomtelAgentGetBySkill");
  r.I(gate).I(invoke).I(tenantId).I(skillId).I(agentMode).I(stateCount).P(count).P(entries);
  return List(r, entries, count, Max(stateCount));
}

int vomtelGetSkillMaster(int gate, int invoke, int tenantId, SkillMasterEntry* entries,
                         uint32_t* count) {
  Recorder r("vomtelGetSkillMaster");
  r.I(gate).I(invoke).I(tenantId).P(entries).P(count);
  return List(r, entries, count, -1);
}

int vomtelGetAgentEx(int gate, int invoke, const char* dn, const char* id, const char* skill,
                     const char* tenant, const char* group, const char* part, const char* mode,
                     const char* blend, AgentExEntry* entries, char* readCount, uint32_t* count,
                     const char* maxCount) {
  Recorder r("vomtelGetAgentEx");
  r.I(gate).I(invoke).T(dn).T(id).T(skill).T(tenant).T(group).T(part).T(mode).T(blend).P(
      entries).P(readCount).P(count).T(maxCount);
  const Script& s = r.Answer();
  if (s.result == 1) CopyText(s, 0, readCount, 1025);
  return List(r, entries, count, -1);
}

int vomtelWaitTimeGet(int gate, int invoke, int tenantId, const char* queueDn, int* first,
                      int* second) {
  Recorder r("vomtelWaitTimeGet");
  r.I(gate).I(invoke).I(tenantId).T(queueDn);
  const Script& s = r.Answer();
  if (HasOut(s, 0)) *first = Out(s, 0);
  if (HasOut(s, 1)) *second = Out(s, 1);
  return s.result;
}

int vomtelWaitingCallTimePeriod(int gate, int invoke, int interval, const char* queue,
                                uint32_t* count, WaitingPeriodEntry* entries) {
  Recorder r("vomtelWaitingCallTimePeriod");
  r.I(gate).I(invoke).I(interval).T(queue).P(count).P(entries);
  return List(r, entries, count, -1);
}

int vomtelWaitingCallListOfQue(int gate, int invoke, const char* queue, uint32_t* count,
                               WaitingCallEntry* entries) {
  Recorder r("vomtelWaitingCallListOfQue");
  r.I(gate).I(invoke).T(queue).P(count).P(entries);
  return List(r, entries, count, -1);
}

int vomtelGetUEIData(int gate, int invoke, int serverId, int callId, UserDataBlock* uei,
                     UserDataBlock* ci) {
  Recorder r("vomtelGetUEIData");
  r.I(gate).I(invoke).I(serverId).I(callId).B(uei).B(ci);
  const Script& s = r.Answer();
  if (s.result == 1) {
    CopyText(s, 0, uei->Text, sizeof uei->Text);
    CopyText(s, 1, ci->Text, sizeof ci->Text);
  }
  return s.result;
}

// ---- IVR and upload ----------------------------------------------------------------------
int vomtelIVRRegisterCall(int gate, int invoke, int first, int second, const char* text1,
                          const char* text2, const UserDataBlock* uei, int last) {
  Recorder r("vomtelIVRRegisterCall");
  r.I(gate).I(invoke).I(first).I(second).T(text1).T(text2).B(uei).I(last);
  return r.Result();
}

int vomtelIVRReleaseCall(int gate, int invoke, int first, int second, const char* dn,
                         const char* targetDn) {
  Recorder r("vomtelIVRReleaseCall");
  r.I(gate).I(invoke).I(first).I(second).T(dn).T(targetDn);
  return r.Result();
}

int vomtelPutCounselInfo(int gate, int invoke, const char* cnid, int cnsq, const char* tag,
                         const UserDataBlock* attachment) {
  Recorder r("vomtelPutCounselInfo");
  r.I(gate).I(invoke).T(cnid).I(cnsq).T(tag).B(attachment);
  return r.Result();
}

// ---- Outbound ----------------------------------------------------------------------------
int vomtelGetMaxCPSQ(int gate, int invoke, int first, int second, int* result) {
  Recorder r("vomtelGetMaxCPSQ");
  r.I(gate).I(invoke).I(first).I(second).P(result);
  const Script& s = r.Answer();
  if (HasOut(s, 0)) *result = Out(s, 0);
  return s.result;
}

int vomtelGetMaxCPSQResult(int gate, int gateTo, int reserved, int first, int second, int third,
                           int fourth) {
  Recorder r("vomtelGetMaxCPSQResult");
  r.I(gate).I(gateTo).I(reserved).I(first).I(second).I(third).I(fourth);
  return r.Result();
}

int vomtelBlackListInsert(int gate, int invoke, int number, const BlackListRecord* record) {
  Recorder r("vomtelBlackListInsert");
  r.I(gate).I(invoke).I(number).B(record);
  return r.Result();
}

int vomtelBlackListInsertResult(int gate, int gateTo, int reserved, int result) {
  Recorder r("vomtelBlackListInsertResult");
  r.I(gate).I(gateTo).I(reserved).I(result);
  return r.Result();
}

int vomtelSetCampaignListHandle(int gate, int invoke, const CampaignListHandleRecord* record) {
  Recorder r("vomtelSetCampaignListHandle");
  r.I(gate).I(invoke).B(record);
  return r.Result();
}

int vomtelSetCampaignListHandleResult(int gate, int gateTo, int reserved, int result) {
  Recorder r("vomtelSetCampaignListHandleResult");
  r.I(gate).I(gateTo).I(reserved).I(result);
  return r.Result();
}

int vomtelCallbackCampaign(int gate, int invoke, int requestId, uint32_t* count,
                           CallbackCampaignEntry* entries) {
  Recorder r("vomtelCallbackCampaign");
  r.I(gate).I(invoke).I(requestId).P(count).P(entries);
  return List(r, entries, count, -1);
}

int vomtelCallbackCampaignResult(int gate, int gateTo, int reserved, int requestId, int count,
                                 const CallbackCampaignEntry* entries) {
  Recorder r("vomtelCallbackCampaignResult");
  r.I(gate).I(gateTo).I(reserved).I(requestId).I(count).P(entries);
  return r.Result();
}

int vomtelCallbackListInsert(int gate, int invoke, int requestId, const CallbackRecord* record,
                             CallbackResult* result) {
  Recorder r("vomtelCallbackListInsert");
  r.I(gate).I(invoke).I(requestId).B(record).P(result);
  const Script& s = r.Answer();
  if (s.result == 1 && result != nullptr && !s.outs.empty()) {
    result->CiodId = static_cast<uint32_t>(Out(s, 0));
    result->CampaignId = static_cast<uint32_t>(Out(s, 1));
    result->CampaignSeq = static_cast<uint32_t>(Out(s, 2));
    result->ReturnValue = static_cast<uint16_t>(Out(s, 3));
  }
  return s.result;
}

int vomtelCallbackListInsertResult(int gate, int gateTo, int invoke, int ciodId, int campaignId,
                                   int campaignSeq, int result) {
  Recorder r("vomtelCallbackListInsertResult");
  r.I(gate).I(gateTo).I(invoke).I(ciodId).I(campaignId).I(campaignSeq).I(result);
  return r.Result();
}

int vomtelCreateCampaignEx(int gate, int invoke, uint32_t* campaignId,
                           const CampaignRecord* campaign) {
  Recorder r("vomtelCreateCampaignEx");
  r.I(gate).I(invoke).P(campaignId).B(campaign);
  const Script& s = r.Answer();
  if (HasOut(s, 0)) *campaignId = static_cast<uint32_t>(Out(s, 0));
  return s.result;
}

int vomtelCreateCampaign(int gate, int invoke, void* campaignId, const void* campaign) {
  Recorder r("vomtelCreateCampaign");
  r.I(gate).I(invoke).P(campaignId).P(campaign);
  return r.Result();
}

int vomtelDestoryCampaign(int gate, int invoke, int first, int second, int third) {
  Recorder r("vomtelDestoryCampaign");
  r.I(gate).I(invoke).I(first).I(second).I(third);
  return r.Result();
}

int vomtelStartCampaign(int gate, int invoke, int first, int second) {
  Recorder r("vomtelStartCampaign");
  r.I(gate).I(invoke).I(first).I(second);
  return r.Result();
}

int vomtelStopCampaign(int gate, int invoke, int first, int second) {
  Recorder r("vomtelStopCampaign");
  r.I(gate).I(invoke).I(first).I(second);
  return r.Result();
}

int vomtelStartSystemPreview(int gate, int invoke, uint32_t value, int number,
                             const char* agentId) {
  Recorder r("vomtelStartSystemPreview");
  r.I(gate).I(invoke).I(value).I(number).T(agentId);
  return r.Result();
}

int vomtelStopSystemPreview(int gate, int invoke, uint32_t value, int number,
                            const char* agentId) {
  Recorder r("vomtelStopSystemPreview");
  r.I(gate).I(invoke).I(value).I(number).T(agentId);
  return r.Result();
}

int vomtelSysPreviewState(int gate, int invoke, uint32_t value, int number, const char* agentId,
                          int reserved) {
  Recorder r("vomtelSysPreviewState");
  r.I(gate).I(invoke).I(value).I(number).T(agentId).I(reserved);
  return r.Result();
}

int vomtelPreviewMakeCall(int gate, int invoke, int first, int second, int third,
                          const char* employeeId, int callKind) {
  Recorder r("vomtelPreviewMakeCall");
  r.I(gate).I(invoke).I(first).I(second).I(third).T(employeeId).I(callKind);
  return r.Result();
}

int vomtelPreviewMakeCallResult(int gate, int gateTo, int invoke, int result) {
  Recorder r("vomtelPreviewMakeCallResult");
  r.I(gate).I(gateTo).I(invoke).I(result);
  return r.Result();
}

int vomtelSendPopup(int gate, int invoke, const char* employeeId, const void* event) {
  Recorder r("vomtelSendPopup");
  r.I(gate).I(invoke).T(employeeId).P(event);
  return r.Result();
}

int vomtelSetCounselResult(int gate, int invoke, const void* record) {
  Recorder r("vomtelSetCounselResult");
  r.I(gate).I(invoke).P(record);
  if (record != nullptr) {
    // The counsel result record is 136 bytes.
    fake::Call& c = const_cast<fake::Call&>(Exports::Get().Calls().back());
    c.args.back().kind = Arg::Kind::Bytes;
    c.args.back().bytes.assign(static_cast<const char*>(record), 136);
  }
  return r.Result();
}

int vomtelSetCounselResultResult(int gate, int gateTo, int invoke, int result) {
  Recorder r("vomtelSetCounselResultResult");
  r.I(gate).I(gateTo).I(invoke).I(result);
  return r.Result();
}

int vomtelCallingListService(int gate, int invoke, int serviceType, int campaignId,
                             int callingId, int listCount, int actionFlag) {
  Recorder r("vomtelCallingListService");
  r.I(gate).I(invoke).I(serviceType).I(campaignId).I(callingId).I(listCount).I(actionFlag);
  return r.Result();
}

int vomtelNotifyRecord(int gate, int invoke, int callId, const char* device, int mode,
                       const char* code) {
  Recorder r("vomtelNotifyRecord");
  r.I(gate).I(invoke).I(callId).T(device).I(mode).T(code);
  return r.Result();
}

}  // extern "C"
