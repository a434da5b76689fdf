#include "vomtel/requests/service/data_queries.h"

#include <string>

#include "vomtel/requests/service/fixed_text.h"
#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_request.h"

namespace vomtel {

namespace {

constexpr int kFixedGate = 0;

// The entry that QueryAgentStatusEx's outcome line shows, behind the line itself.
std::string StatusLines(const AgentListEntry& e) {
  return "\t\taID\t\t[" + e.agentId + "]\n\t\taMode\t\t[" + std::to_string(e.agentMode) + "]\n\t\taDN\t\t[" +
         std::to_string(e.dn) + "]\n\t\taBlendMode\t[" + std::to_string(e.blendMode) + "]\n\t\taBlockMode\t[" +
         std::to_string(e.blockMode) + "]\n\t\taTime\t\t[" + std::to_string(e.time) + "]\n\t\taType\t\t[" +
         std::to_string(e.type) + "]\n";
}

}  // namespace

int GetMonitor(OrbaAdapter& adapter, std::uint8_t& monitor, int gate) {
  return RunService(adapter, gate, {shape::kGetMonitor, {}, {}, {}}, [&](RequestExchange& ex) -> int {
    ReplyReader in(ex.Reply());
    const std::uint8_t value = in.U8();
    if (in.Complete()) monitor = value;
    return SettledOutcome(ex, shape::kGetMonitor, in.Complete());
  });
}

int CallToCNID(OrbaAdapter& adapter, std::int32_t callId, std::int32_t dn, std::uint32_t& cnid,
               int gate) {
  return RunService(adapter, gate,
                    {shape::kCallToCNID,
                     {},
                     {U32(callId), U32(dn)},
                     {{"\t\tcallID\t\t[", callId}, {"\t\tDn\t\t[", dn}}},
                    [&](RequestExchange& ex) { return SettledNumber(ex, shape::kCallToCNID, cnid); });
}

int UserExInfo(OrbaAdapter& adapter, std::int32_t callId, std::string_view uei, int gate) {
  return RunService(adapter, gate,
                    {shape::kUserExInfo,
                     {},
                     {U32(callId), Str16{uei}},
                     {{"\t\tcallID\t\t[", callId}, {"\t\tUEI\t\t[", uei}}});
}

int MultiAddDevice(OrbaAdapter& adapter, std::uint8_t dtype, std::uint8_t ext, std::uint16_t count,
                   std::span<const std::uint32_t> devices, int gate) {
  return OnGate(adapter, gate, [&](RequestExchange& ex) -> int {
    if (count > kMaxMultiDevices) return kTooManyDevices;
    if (devices.size() < count) return kZeroDevice;
    Stream& body = ex.BeginBody().PutU8(dtype).PutU8(ext).PutU16(count);
    std::size_t sendable = 0;  // devices ahead of the first 0
    while (sendable < count && devices[sendable] != 0) body.PutU32(devices[sendable++]);
    if (const int numbered = NumberAndLog(ex, shape::kMultiAddDevice,
                                          {{"\t\tdtype\t\t[", dtype},
                                           {"\t\text\t\t[", ext},
                                           {"\t\tmultycount\t\t[", count}});
        numbered != kOk) {
      return numbered;
    }
    for (std::size_t i = 0; i < sendable; ++i) {
      ex.LogWith([&] { return "MultiAddDevice" + std::to_string(i) + "[" + std::to_string(devices[i]) + "]"; });
    }
    if (sendable < count) return kZeroDevice;
    if (const int got = SendAndAwait(ex, shape::kMultiAddDevice); got != kOk) return got;
    return HeadOutcome(ex, shape::kMultiAddDevice);
  });
}

int MultiAgentGet(OrbaAdapter& adapter, std::string_view deviceDn, std::string_view agentId,
                  AgentList& list, int gate) {
  return RunService(adapter, gate,
                    {shape::kMultiAgentGet,
                     {},
                     {Str8{deviceDn}, Str8{agentId}},
                     {{"\t\tdeviceDN\t\t[", deviceDn}, {"\t\tagentID\t\t[", agentId}}},
                    [&](RequestExchange& ex) -> int {
                      ReplyReader in(ex.Reply());
                      AgentList read;
                      std::uint16_t count = 0;
                      const bool complete = ReadMultiAgentList(in, read, count);
                      if (complete) list.insert(list.end(), read.begin(), read.end());
                      ex.LogWith([&] {
                        return "vomtelMultiAgentGet [result][invoke] : [1][" + std::to_string(ex.RequestNumber()) +
                               "] readCount[" + std::to_string(count) + "]\n";
                      });
                      return SettleReply(ex.Result(), complete);
                    });
}

int AgentSkillGet(OrbaAdapter& adapter, std::int32_t maxcount, std::int32_t skill,
                  AgentList& list, int gate) {
  // This request writes no request log.
  return RunService(adapter, gate, {shape::kAgentSkillGet, {}, {U32(maxcount), U32(skill)}, {}},
                    [&](RequestExchange& ex) -> int {
                      ReplyReader in(ex.Reply());
                      AgentList read;
                      const bool complete = ReadSkillAgentList(in, read);
                      if (complete) list.insert(list.end(), read.begin(), read.end());
                      return SettledOutcome(ex, shape::kAgentSkillGet, complete);
                    });
}

int AgentReadyRateGet(OrbaAdapter& adapter, std::int32_t value, float& rate, int gate) {
  return RunService(adapter, gate, {shape::kAgentReadyRateGet, {}, {U32(value)}, {}},
                    [&](RequestExchange& ex) -> int {
                      ReplyReader in(ex.Reply());
                      const std::uint32_t hundredths = in.U32();
                      if (in.Complete()) rate = static_cast<float>(static_cast<double>(hundredths)) / 100.0f;
                      return SettledOutcome(ex, shape::kAgentReadyRateGet, in.Complete(), 1);
                    });
}

int QueryAgentStatusEx(OrbaAdapter& adapter, std::string_view agentId, std::int32_t dn,
                       AgentListEntry& entry, int gate) {
  return RunService(adapter, gate,
                    {shape::kQueryAgentStatusEx,
                     {},
                     {Str8{agentId}, U32(dn)},
                     {{"\t\tagentID\t\t[", agentId}, {"\t\tDN\t\t[", dn}}},
                    [&](RequestExchange& ex) -> int {
                      ReplyReader in(ex.Reply());
                      AgentListEntry read = entry;  // fields the reply does not carry stay as they were
                      const bool complete = ReadAgentStatusEx(in, read);
                      if (complete) entry = read;
                      ex.LogWith([&] {
                        return OutcomeText(ex, shape::kQueryAgentStatusEx, 1) +
                               StatusLines(complete ? read : entry);
                      });
                      return SettleReply(ex.Result(), complete);
                    });
}

int WaitTimeGet(OrbaAdapter& adapter, std::string_view queueDn, std::int32_t tenantId,
                std::uint32_t& first, std::uint32_t& second, int gate) {
  return RunService(adapter, gate,
                    {shape::kWaitTimeGet,
                     {},
                     {U32(tenantId), Str8{queueDn}},
                     {{"\t\ttenantID\t\t[", tenantId}, {"\t\tqueueDN\t\t[", queueDn}}},
                    [&](RequestExchange& ex) -> int {
                      ReplyReader in(ex.Reply());
                      const std::uint32_t one = in.U32();
                      const std::uint32_t two = in.U32();
                      if (in.Complete()) {
                        first = one;
                        second = two;
                      }
                      return SettledOutcome(ex, shape::kWaitTimeGet, in.Complete(), 1);
                    });
}

int NumberOfWait(OrbaAdapter& adapter, std::int32_t sid, std::int32_t callId, std::string_view dn,
                 std::uint32_t& number, int gate) {
  return RunService(adapter, gate,
                    {shape::kNumberOfWait,
                     {},
                     {U32(sid), U32(callId), Str8{dn}},
                     {{"\t\tsid\t\t[", sid}, {"\t\tcallid\t\t[", callId}, {"\t\tdn\t\t\t\t[", dn}}},
                    [&](RequestExchange& ex) { return SettledNumber(ex, shape::kNumberOfWait, number); });
}

int PwdConfirm(OrbaAdapter& adapter, std::int32_t deviceDn, std::int32_t confirm,
               std::string_view uei, int gate) {
  return OnGate(adapter, gate, [&](RequestExchange& ex) -> int {
    if (CheckTexts({{uei, kDataLimit}}) != kOk) return kTextTooLong;
    // The password's bytes are the body's secret range, which no packet dump shows.
    Stream& body = ex.BeginBody();
    PutFields(body, {U32(deviceDn), U32(confirm)});
    PutSecretData16(body, uei);
    if (const int got = ExchangeWritten(ex, shape::kPwdConfirm,
                                        {{"\t\tdeviceDn\t\t[", deviceDn},
                                         {"\t\tconfirm\t\t[", confirm},
                                         {"\t\tuei\t\t\t\t[", LogValue::Secret(uei)}});
        got != kOk) {
      return got;
    }
    return HeadOutcome(ex, shape::kPwdConfirm);
  });
}

int GetUEIData(OrbaAdapter& adapter, std::uint8_t serverId, std::int32_t activeCall,
               std::span<char> ueiArea, std::span<char> ciArea) {
  return RunService(adapter, kFixedGate,
                    {shape::kGetUEIData,
                     {},
                     {U8(serverId), U32(activeCall)},
                     {{"\t\tActivCall\t\t[", activeCall}}},
                    [&](RequestExchange& ex) -> int {
                      ReplyReader in(ex.Reply());
                      const SizedString uei = in.Str16();
                      const SizedString ci = in.Str16();
                      if (in.Complete()) {
                        CopyToFixed(uei.text, ueiArea);
                        CopyToFixed(ci.text, ciArea);
                      }
                      return SettledOutcome(ex, shape::kGetUEIData, in.Complete());
                    });
}

}  // namespace vomtel
