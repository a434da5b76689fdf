#include "vomtel/requests/service/agent_settings.h"

#include <string>

#include "vomtel/requests/service/reply_reader.h"
#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

namespace {

constexpr int kFixedGate = 0;
constexpr std::uint8_t kBlockingCode = 0xCB;

}  // namespace

int AgentBlocking(OrbaAdapter& adapter, std::string_view agentId, std::uint32_t btime, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutStr8(agentId).PutU32(btime);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelAgentBlocking: gate[", gate, ex.RequestNumber())
               .Field("\t\tagentid\t\t[", agentId)
               .Field("\t\tbtime\t\t[", btime)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, kBlockingCode); got != kOk) return got;
    ex.Log(LabelOutcomeLine("vomtelAgentBlocking [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return AsResult(ex.Result());
  });
}

int AgentBlockingEx(OrbaAdapter& adapter, std::string_view agentId, std::uint32_t btime,
                    std::uint32_t campaignId, std::string_view campaignName, std::uint32_t source,
                    std::uint32_t& validSec, std::uint32_t& setter) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, kFixedGate);
    if (!ex.HasSession()) return kNoSession;
    // The campaign name goes ahead of the campaign id.
    ex.BeginBody().PutStr8(agentId).PutU32(btime).PutStr8(campaignName).PutU32(campaignId).PutU32(source);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelAgentBlockingEx: gate[", kFixedGate, ex.RequestNumber())
               .Field("\t\tagentid\t\t[", agentId)
               .Field("\t\tbtime\t\t[", btime)
               .Field("\t\tcampaignID\t\t[", campaignId)
               .Field("\t\tcampaignName\t\t[", campaignName)
               .Field("\t\tnSource\t\t[", source)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, kBlockingCode); got != kOk) return got;
    // Reply data after the head, read whatever the result.
    ReplyReader in(ex.Reply());
    const std::uint32_t seconds = in.U32();
    const std::uint32_t who = in.U32();
    if (in.Complete()) {
      validSec = seconds;
      setter = who;
    }
    ex.Log(LabelOutcomeLine("vomtelAgentBlockingEx [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()) +
           "\t\tvalid_sec\t\t[" + std::to_string(seconds) + "]\n\t\tsetter\t\t[" +
           std::to_string(who) + "]\n");
    return SettleReply(ex.Result(), in.Complete());
  });
}

int AgentFlag(OrbaAdapter& adapter, std::string_view agentId, std::uint32_t waitMode, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutStr8(agentId).PutU8(static_cast<std::uint8_t>(waitMode));
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelAgentFlag: gate[", gate, ex.RequestNumber())
               .Field("\t\taID\t\t[", agentId)
               .Field("\t\twaitMode\t\t[", waitMode)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0x5A); got != kOk) return got;
    ex.Log(LabelOutcomeLine("vomtelAgentFlag [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return AsResult(ex.Result());
  });
}

int SetUEIData(OrbaAdapter& adapter, std::uint8_t serverId, std::uint32_t activeCall,
               std::string_view uei, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    if (CheckTexts({{uei, kDataLimit}}) != kOk) return kTextTooLong;
    PutData16(ex.BeginBody().PutU8(serverId).PutU32(activeCall), uei);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelSetUEIData: gate[", gate, ex.RequestNumber())
               .Field("\t\tServerid\t\t[", serverId)
               .Field("\t\tActivCall\t\t[", activeCall)
               .Field("\t\tUEI\t\t\t\t[", uei)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0xAA); got != kOk) return got;
    ex.Log(LabelOutcomeLine("vomtelSetUEIData [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return AsResult(ex.Result());
  });
}

}  // namespace vomtel
