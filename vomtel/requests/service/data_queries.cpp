#include "vomtel/requests/service/data_queries.h"

#include <string>

#include "vomtel/requests/service/fixed_text.h"
#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

namespace {

constexpr int kFixedGate = 0;

// What the log shows of a secret: nothing of its bytes, not even its length.
std::string MaskedSecret(std::string_view secret) { return secret.empty() ? "" : "********"; }

}  // namespace

int GetMonitor(OrbaAdapter& adapter, std::uint8_t& monitor, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody();
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelGetMonitor: gate[", gate, ex.RequestNumber()).Append("\n").Text());
    if (const int got = SendAndWait(ex, kMonitorClass, 0x46); got != kOk) return got;
    // Reply data after the head, read whatever the result.
    ReplyReader in(ex.Reply());
    const std::uint8_t value = in.U8();
    if (in.Complete()) monitor = value;
    ex.Log(QualifiedOutcomeLine("OrbaAdapter::GetMonitor", AsResult(ex.Result()), ex.EchoedNumber()));
    return SettleReply(ex.Result(), in.Complete());
  });
}

int CallToCNID(OrbaAdapter& adapter, std::int32_t callId, std::int32_t dn, std::uint32_t& cnid,
               int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(static_cast<std::uint32_t>(callId)).PutU32(static_cast<std::uint32_t>(dn));
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelCallToCNID: gate[", gate, ex.RequestNumber())
               .Field("\t\tcallID\t\t[", callId)
               .Field("\t\tDn\t\t[", dn)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0x5F); got != kOk) return got;
    ReplyReader in(ex.Reply());
    const std::uint32_t value = in.U32();
    if (in.Complete()) cnid = value;
    ex.Log(LabelOutcomeLine("vomtelMultiCallToCNID [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return SettleReply(ex.Result(), in.Complete());
  });
}

int UserExInfo(OrbaAdapter& adapter, std::int32_t callId, std::string_view uei, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    PutData16(ex.BeginBody().PutU32(static_cast<std::uint32_t>(callId)), uei);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelUserExInfo: gate[", gate, ex.RequestNumber())
               .Field("\t\tcallID\t\t[", callId)
               .Field("\t\tUEI\t\t[", uei)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0x78); got != kOk) return got;
    ex.Log(LabelOutcomeLine("vomtelUserExInfo [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return AsResult(ex.Result());
  });
}

int MultiAddDevice(OrbaAdapter& adapter, std::uint8_t dtype, std::uint8_t ext, std::uint16_t count,
                   std::span<const std::uint32_t> devices, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    if (count > kMaxMultiDevices) return kTooManyDevices;
    if (devices.size() < count) return kZeroDevice;
    Stream& body = ex.BeginBody().PutU8(dtype).PutU8(ext).PutU16(count);
    std::size_t sendable = 0;  // devices ahead of the first 0
    while (sendable < count && devices[sendable] != 0) body.PutU32(devices[sendable++]);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelMultiAddDevice: gate[", gate, ex.RequestNumber())
               .Field("\t\tdtype\t\t[", dtype)
               .Field("\t\text\t\t[", ext)
               .Field("\t\tmultycount\t\t[", count)
               .Text());
    for (std::size_t i = 0; i < sendable; ++i) {
      ex.Log("MultiAddDevice" + std::to_string(i) + "[" + std::to_string(devices[i]) + "]");
    }
    if (sendable < count) return kZeroDevice;
    if (const int got = SendAndWait(ex, kServiceClass, 0x64); got != kOk) return got;
    ex.Log(LabelOutcomeLine("vomtelMultiAddDevice [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return AsResult(ex.Result());
  });
}

int MultiAgentGet(OrbaAdapter& adapter, std::string_view deviceDn, std::string_view agentId,
                  AgentList& list, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutStr8(deviceDn).PutStr8(agentId);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelMultiAgentGet: gate[", gate, ex.RequestNumber())
               .Field("\t\tdeviceDN\t\t[", deviceDn)
               .Field("\t\tagentID\t\t[", agentId)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0xE6); got != kOk) return got;
    ReplyReader in(ex.Reply());
    AgentList read;
    std::uint16_t count = 0;
    const bool complete = ReadMultiAgentList(in, read, count);
    if (complete) list.insert(list.end(), read.begin(), read.end());
    ex.Log("vomtelMultiAgentGet [result][invoke] : [1][" + std::to_string(ex.RequestNumber()) +
           "] readCount[" + std::to_string(count) + "]\n");
    return SettleReply(ex.Result(), complete);
  });
}

int AgentSkillGet(OrbaAdapter& adapter, std::int32_t maxcount, std::int32_t skill,
                  AgentList& list, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(static_cast<std::uint32_t>(maxcount)).PutU32(static_cast<std::uint32_t>(skill));
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    // This request writes no request log.
    if (const int got = SendAndWait(ex, kServiceClass, 0x5D); got != kOk) return got;
    ReplyReader in(ex.Reply());
    AgentList read;
    const bool complete = ReadSkillAgentList(in, read);
    if (complete) list.insert(list.end(), read.begin(), read.end());
    ex.Log(QualifiedOutcomeLine("OrbaAdapter::AgentSkillGet", AsResult(ex.Result()), ex.EchoedNumber()));
    return SettleReply(ex.Result(), complete);
  });
}

int AgentReadyRateGet(OrbaAdapter& adapter, std::int32_t value, float& rate, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(static_cast<std::uint32_t>(value));
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("AgentReadyRateGet: gate[", gate, ex.RequestNumber()).Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0xFB); got != kOk) return got;
    ReplyReader in(ex.Reply());
    const std::uint32_t hundredths = in.U32();
    if (in.Complete()) rate = static_cast<float>(static_cast<double>(hundredths)) / 100.0f;
    ex.Log(LabelOutcomeLine("AgentReadyRateGet [result][invoke] : [", 1, ex.RequestNumber()));
    return SettleReply(ex.Result(), in.Complete());
  });
}

int QueryAgentStatusEx(OrbaAdapter& adapter, std::string_view agentId, std::int32_t dn,
                       AgentListEntry& entry, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutStr8(agentId).PutU32(static_cast<std::uint32_t>(dn));
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelQueryAgentStatusEx: gate[", gate, ex.RequestNumber())
               .Field("\t\tagentID\t\t[", agentId)
               .Field("\t\tDN\t\t[", dn)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0x6E); got != kOk) return got;
    ReplyReader in(ex.Reply());
    AgentListEntry read = entry;  // fields the reply does not carry stay as the caller had them
    const bool complete = ReadAgentStatusEx(in, read);
    if (complete) entry = read;
    const AgentListEntry& shown = complete ? read : entry;
    ex.Log("vomtelQueryAgentStatusEx [result][invoke] : [1][" + std::to_string(ex.RequestNumber()) +
           "]\n\t\taID\t\t[" + shown.agentId + "]\n\t\taMode\t\t[" + std::to_string(shown.agentMode) +
           "]\n\t\taDN\t\t[" + std::to_string(shown.dn) + "]\n\t\taBlendMode\t[" +
           std::to_string(shown.blendMode) + "]\n\t\taBlockMode\t[" + std::to_string(shown.blockMode) +
           "]\n\t\taTime\t\t[" + std::to_string(shown.time) + "]\n\t\taType\t\t[" +
           std::to_string(shown.type) + "]\n");
    return SettleReply(ex.Result(), complete);
  });
}

int WaitTimeGet(OrbaAdapter& adapter, std::string_view queueDn, std::int32_t tenantId,
                std::uint32_t& first, std::uint32_t& second, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(static_cast<std::uint32_t>(tenantId)).PutStr8(queueDn);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelWaitTimeGet: gate[", gate, ex.RequestNumber())
               .Field("\t\ttenantID\t\t[", tenantId)
               .Field("\t\tqueueDN\t\t[", queueDn)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0x82); got != kOk) return got;
    ReplyReader in(ex.Reply());
    const std::uint32_t one = in.U32();
    const std::uint32_t two = in.U32();
    if (in.Complete()) {
      first = one;
      second = two;
    }
    ex.Log(LabelOutcomeLine("vomtelWaitTimeGet [result][invoke] : [", 1, ex.RequestNumber()));
    return SettleReply(ex.Result(), in.Complete());
  });
}

int NumberOfWait(OrbaAdapter& adapter, std::int32_t sid, std::int32_t callId, std::string_view dn,
                 std::uint32_t& number, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(static_cast<std::uint32_t>(sid)).PutU32(static_cast<std::uint32_t>(callId)).PutStr8(dn);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelNumberOfWait: gate[", gate, ex.RequestNumber())
               .Field("\t\tsid\t\t[", sid)
               .Field("\t\tcallid\t\t[", callId)
               .Field("\t\tdn\t\t\t\t[", dn)
               .Text());
    if (const int got = SendAndWait(ex, kIvrClass, 0x3F); got != kOk) return got;
    ReplyReader in(ex.Reply());
    const std::uint32_t value = in.U32();
    if (in.Complete()) number = value;
    ex.Log(LabelOutcomeLine("vomtelNumberOfWait [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return SettleReply(ex.Result(), in.Complete());
  });
}

int PwdConfirm(OrbaAdapter& adapter, std::int32_t deviceDn, std::int32_t confirm,
               std::string_view uei, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    if (CheckTexts({{uei, kDataLimit}}) != kOk) return kTextTooLong;
    PutSecretData16(
        ex.BeginBody().PutU32(static_cast<std::uint32_t>(deviceDn)).PutU32(static_cast<std::uint32_t>(confirm)),
        uei);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelPwdConfirm: gate[", gate, ex.RequestNumber())
               .Field("\t\tdeviceDn\t\t[", deviceDn)
               .Field("\t\tconfirm\t\t[", confirm)
               .Field("\t\tuei\t\t\t\t[", MaskedSecret(uei))
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0xFC); got != kOk) return got;
    ex.Log(LabelOutcomeLine("vomtelPwdConfirm [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return AsResult(ex.Result());
  });
}

int GetUEIData(OrbaAdapter& adapter, std::uint8_t serverId, std::int32_t activeCall,
               std::span<char> ueiArea, std::span<char> ciArea) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, kFixedGate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU8(serverId).PutU32(static_cast<std::uint32_t>(activeCall));
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelGetUEIData: gate[", kFixedGate, ex.RequestNumber())
               .Field("\t\tActivCall\t\t[", activeCall)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0xAB); got != kOk) return got;
    ReplyReader in(ex.Reply());
    const SizedString uei = in.Str16();
    const SizedString ci = in.Str16();
    if (in.Complete()) {
      CopyToFixed(uei.text, ueiArea);
      CopyToFixed(ci.text, ciArea);
    }
    ex.Log(LabelOutcomeLine("vomtelGetUEIData [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return SettleReply(ex.Result(), in.Complete());
  });
}

}  // namespace vomtel
