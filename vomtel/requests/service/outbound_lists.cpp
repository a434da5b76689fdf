#include "vomtel/requests/service/outbound_lists.h"

#include "vomtel/requests/service/reply_reader.h"
#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

namespace {

constexpr std::uint8_t kCpsqCode = 0xF6;
constexpr std::uint8_t kBlackListCode = 0xF7;

// An answer to a server request: sent without waiting; the outcome line shows the caller's
// verdict and this answer's number; 1 when the frame went out.
int SendAnswer(RequestExchange& ex, std::uint8_t code, std::string_view name, std::uint32_t verdict) {
  const int sent = ex.SendWithoutReply(kServiceClass, code);
  if (sent != kOk) return sent;
  if (ex.LogEnabled()) {
    ex.Log(LabelOutcomeLine(std::string(name) + " [result][invoke] : [", verdict,
                            ex.RequestNumber()));
  }
  return kOk;
}

}  // namespace

int GetAgentCount(OrbaAdapter& adapter, std::string_view reqlist, std::uint8_t agentMode,
                  std::uint8_t blendMode, std::uint32_t& agentCount, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    if (CheckTexts({{reqlist, kDataLimit}}) != kOk) return kTextTooLong;
    PutData16(ex.BeginBody(), reqlist).PutU8(agentMode).PutU8(blendMode);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelGetAgentCount: gate[", gate, ex.RequestNumber())
               .Field("\t\treqlist\t\t[", reqlist)
               .Field("\t\tagentmode\t\t[", agentMode)
               .Field("\t\tblendMode\t\t[", blendMode)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0x5D); got != kOk) return got;
    // Reply data after the head, read whatever the result.
    ReplyReader in(ex.Reply());
    const std::uint32_t count = in.U32();
    if (in.Complete()) agentCount = count;
    ex.Log(LabelOutcomeLine("GetAgentCount [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return SettleReply(ex.Result(), in.Complete());
  });
}

int GetMaxCPSQ(OrbaAdapter& adapter, std::uint32_t ciodId, std::uint32_t cpid,
               std::uint32_t& maxcpsq, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(ciodId).PutU32(cpid);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelGetMaxCPSQ: gate[", gate, ex.RequestNumber()).Text());
    if (const int got = SendAndWait(ex, kServiceClass, kCpsqCode); got != kOk) return got;
    // Reply data after the head, read whatever the result: two numbers not used, then maxcpsq.
    ReplyReader in(ex.Reply());
    in.Skip(8);
    const std::uint32_t value = in.U32();
    if (in.Complete()) maxcpsq = value;
    ex.Log(LabelOutcomeLine("vomtelGetMaxCPSQ [result][invoke] : [", AsResult(ex.Result()),
                            ex.RequestNumber()));
    return SettleReply(ex.Result(), in.Complete());
  });
}

int GetMaxCPSQResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t ciodId,
                     std::uint32_t cpid, std::uint32_t maxcpsq, std::uint32_t result, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginAnswerBody(gateTo).PutU32(result).PutU32(ciodId).PutU32(cpid).PutU32(maxcpsq);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelGetMaxCPSQResult: gate[", gate, ex.RequestNumber()).Text());
    return SendAnswer(ex, kCpsqCode, "vomtelGetMaxCPSQResult", result);
  });
}

int BlackListInsert(OrbaAdapter& adapter, std::uint32_t ciod, const BlackListEntry& entry, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody()
        .PutStr8(entry.custkey)
        .PutStr8(entry.custname)
        .PutStr8(entry.custdate)
        .PutStr8(entry.cstel)
        .PutStr8(entry.agentid);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelBlackListInsert: gate[", gate, ex.RequestNumber())
               .Field("\t\tciod\t\t[", ciod)
               .Field("\t\tcpid\t\t[", entry.cpid)
               .Field("\t\tcustkey\t\t[", entry.custkey)
               .Field("\t\tcustname\t\t[", entry.custname)
               .Field("\t\tcustdate\t\t[", entry.custdate)
               .Field("\t\tagentid\t\t[", entry.agentid)
               .Field("\t\tcstel\t\t[", entry.cstel)
               .Text());
    if (const int got = SendAndWaitWhole(ex, kServiceClass, kBlackListCode); got != kOk) return got;
    // Outbound reply, read from the frame's first byte: invoke number at 4-5, result at 6-9.
    ReplyReader in(ex.Reply());
    const std::uint16_t invoke = in.OutboundHead();
    const std::uint32_t result = in.U32();
    if (!in.Complete()) return kReplyMismatch;
    ex.Log(LabelOutcomeLine("vomtelBlackListInsert [result][invoke] : [", AsResult(result), invoke));
    return AsResult(result);
  });
}

int BlackListInsertResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t result, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginAnswerBody(gateTo).PutU32(result);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelBlackListInsertResult: gate[", gate, ex.RequestNumber()).Text());
    return SendAnswer(ex, kBlackListCode, "vomtelBlackListInsertResult", result);
  });
}

int CallingListService(OrbaAdapter& adapter, std::uint16_t serviceType, std::uint32_t campaignId,
                       std::uint32_t callingId, std::uint32_t toListCount, std::uint8_t actionFlag,
                       int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU16(serviceType).PutU32(campaignId).PutU32(callingId).PutU32(toListCount).PutU8(actionFlag);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelCallingListService: gate[", gate, ex.RequestNumber())
               .Field("\t\tserviceType\t\t[", serviceType)
               .Field("\t\tcampaignId\t\t[", campaignId)
               .Field("\t\ttoListCnt\t\t[", toListCount)
               .Field("\t\tactionflag\t\t[", actionFlag)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0xD5); got != kOk) return got;
    // Outbound reply, read from the frame's first byte: invoke number at 4-5, the service type
    // echoed at 6-7, the result at 8-11.
    ReplyReader in(ex.Reply());
    const std::uint16_t invoke = in.OutboundHead();
    const std::uint16_t echoedType = in.U16();
    const std::uint32_t result = in.U32();
    if (!in.Complete() || echoedType != serviceType) return kReplyMismatch;
    ex.Log(LabelOutcomeLine("vomtelCallingListService [result][invoke] : [", AsResult(result), invoke));
    return AsResult(result);
  });
}

}  // namespace vomtel
