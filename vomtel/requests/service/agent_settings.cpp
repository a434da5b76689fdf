#include "vomtel/requests/service/agent_settings.h"

#include <string>

#include "vomtel/requests/service/reply_reader.h"
#include "vomtel/requests/service/service_request.h"

namespace vomtel {

namespace {

constexpr int kFixedGate = 0;

}  // namespace

int AgentBlocking(OrbaAdapter& adapter, std::string_view agentId, std::uint32_t btime, int gate) {
  return RunService(adapter, gate,
                    {shape::kAgentBlocking,
                     {},
                     {Str8{agentId}, U32(btime)},
                     {{"\t\tagentid\t\t[", agentId}, {"\t\tbtime\t\t[", btime}}});
}

int AgentBlockingEx(OrbaAdapter& adapter, std::string_view agentId, std::uint32_t btime,
                    std::uint32_t campaignId, std::string_view campaignName, std::uint32_t source,
                    std::uint32_t& validSec, std::uint32_t& setter) {
  return RunService(adapter, kFixedGate,
                    {shape::kAgentBlockingEx,
                     {},
                     // The campaign name goes ahead of the campaign id; the log has them the other way.
                     {Str8{agentId}, U32(btime), Str8{campaignName}, U32(campaignId), U32(source)},
                     {{"\t\tagentid\t\t[", agentId},
                      {"\t\tbtime\t\t[", btime},
                      {"\t\tcampaignID\t\t[", campaignId},
                      {"\t\tcampaignName\t\t[", campaignName},
                      {"\t\tnSource\t\t[", source}}},
                    [&](RequestExchange& ex) -> int {
                      // Reply data after the head, read whatever the result.
                      ReplyReader in(ex.Reply());
                      const std::uint32_t seconds = in.U32();
                      const std::uint32_t who = in.U32();
                      if (in.Complete()) {
                        validSec = seconds;
                        setter = who;
                      }
                      ex.LogWith([&] {
                        return OutcomeText(ex, shape::kAgentBlockingEx, AsResult(ex.Result())) +
                               "\t\tvalid_sec\t\t[" + std::to_string(seconds) + "]\n\t\tsetter\t\t[" +
                               std::to_string(who) + "]\n";
                      });
                      return SettleReply(ex.Result(), in.Complete());
                    });
}

int AgentFlag(OrbaAdapter& adapter, std::string_view agentId, std::uint32_t waitMode, int gate) {
  return RunService(adapter, gate,
                    {shape::kAgentFlag,
                     {},
                     {Str8{agentId}, U8(waitMode)},
                     {{"\t\taID\t\t[", agentId}, {"\t\twaitMode\t\t[", waitMode}}});
}

int SetUEIData(OrbaAdapter& adapter, std::uint8_t serverId, std::uint32_t activeCall,
               std::string_view uei, int gate) {
  return RunService(adapter, gate,
                    {shape::kSetUEIData,
                     {{uei, kDataLimit}},
                     {U8(serverId), U32(activeCall), Str16{uei}},
                     {{"\t\tServerid\t\t[", serverId},
                      {"\t\tActivCall\t\t[", activeCall},
                      {"\t\tUEI\t\t\t\t[", uei}}});
}

}  // namespace vomtel
