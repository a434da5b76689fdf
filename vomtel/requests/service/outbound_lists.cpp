#include "vomtel/requests/service/outbound_lists.h"

#include "vomtel/requests/service/reply_reader.h"
#include "vomtel/requests/service/service_request.h"

namespace vomtel {

namespace {

// An answer to a server request, sent without waiting: the outcome line shows the caller's
// verdict and this answer's number; 1 when the frame went out.
int RunAnswer(OrbaAdapter& adapter, int gate, const ServiceRequest& answer, std::uint32_t verdict) {
  return RunService(adapter, gate, answer, [&](const RequestExchange& ex) -> int {
    WriteOutcome(ex, answer.shape, verdict);
    return kOk;
  });
}

}  // namespace

int GetAgentCount(OrbaAdapter& adapter, std::string_view reqlist, std::uint8_t agentMode,
                  std::uint8_t blendMode, std::uint32_t& agentCount, int gate) {
  return RunService(adapter, gate,
                    {shape::kGetAgentCount,
                     {{reqlist, kDataLimit}},
                     {Str16{reqlist}, U8(agentMode), U8(blendMode)},
                     {{"\t\treqlist\t\t[", reqlist},
                      {"\t\tagentmode\t\t[", agentMode},
                      {"\t\tblendMode\t\t[", blendMode}}},
                    [&](RequestExchange& ex) { return SettledNumber(ex, shape::kGetAgentCount, agentCount); });
}

int GetMaxCPSQ(OrbaAdapter& adapter, std::uint32_t ciodId, std::uint32_t cpid,
               std::uint32_t& maxcpsq, int gate) {
  return RunService(adapter, gate, {shape::kGetMaxCPSQ, {}, {U32(ciodId), U32(cpid)}, {}},
                    [&](RequestExchange& ex) -> int {
                      // Reply data after the head, read whatever the result: two numbers not used,
                      // then maxcpsq.
                      ReplyReader in(ex.Reply());
                      in.Skip(8);
                      const std::uint32_t value = in.U32();
                      if (in.Complete()) maxcpsq = value;
                      return SettledOutcome(ex, shape::kGetMaxCPSQ, in.Complete());
                    });
}

int GetMaxCPSQResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t ciodId,
                     std::uint32_t cpid, std::uint32_t maxcpsq, std::uint32_t result, int gate) {
  return RunAnswer(adapter, gate,
                   {shape::kGetMaxCPSQResult, {}, {U32(result), U32(ciodId), U32(cpid), U32(maxcpsq)}, {}, gateTo},
                   result);
}

int BlackListInsert(OrbaAdapter& adapter, std::uint32_t ciod, const BlackListEntry& entry, int gate) {
  return RunService(adapter, gate,
                    {shape::kBlackListInsert,
                     {},
                     {Str8{entry.custkey}, Str8{entry.custname}, Str8{entry.custdate}, Str8{entry.cstel},
                      Str8{entry.agentid}},
                     {{"\t\tciod\t\t[", ciod},
                      {"\t\tcpid\t\t[", entry.cpid},
                      {"\t\tcustkey\t\t[", entry.custkey},
                      {"\t\tcustname\t\t[", entry.custname},
                      {"\t\tcustdate\t\t[", entry.custdate},
                      {"\t\tagentid\t\t[", entry.agentid},
                      {"\t\tcstel\t\t[", entry.cstel}}},
                    [](RequestExchange& ex) { return OutboundOutcome(ex, shape::kBlackListInsert); });
}

int BlackListInsertResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t result, int gate) {
  return RunAnswer(adapter, gate, {shape::kBlackListInsertResult, {}, {U32(result)}, {}, gateTo}, result);
}

int CallingListService(OrbaAdapter& adapter, std::uint16_t serviceType, std::uint32_t campaignId,
                       std::uint32_t callingId, std::uint32_t toListCount, std::uint8_t actionFlag,
                       int gate) {
  return RunService(adapter, gate,
                    {shape::kCallingListService,
                     {},
                     {U16(serviceType), U32(campaignId), U32(callingId), U32(toListCount), U8(actionFlag)},
                     {{"\t\tserviceType\t\t[", serviceType},
                      {"\t\tcampaignId\t\t[", campaignId},
                      {"\t\ttoListCnt\t\t[", toListCount},
                      {"\t\tactionflag\t\t[", actionFlag}}},
                    [&](RequestExchange& ex) -> int {
                      // Read from the frame's first byte: invoke number at 4-5, the service type
                      // echoed at 6-7, the result at 8-11.
                      ReplyReader in(ex.Reply());
                      const std::uint16_t invoke = in.OutboundHead();
                      const std::uint16_t echoedType = in.U16();
                      const std::uint32_t result = in.U32();
                      if (!in.Complete() || echoedType != serviceType) return kReplyMismatch;
                      WriteOutcome(ex, shape::kCallingListService, AsResult(result), invoke);
                      return AsResult(result);
                    });
}

}  // namespace vomtel
