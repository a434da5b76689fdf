#include "vomtel/requests/service/callback_insert.h"

#include <string>

#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

int CallbackListInsert(OrbaAdapter& adapter, std::uint32_t ciodId, const CallbackInsertRecord& r,
                       CallbackResult& result, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    Stream& body = ex.BeginBody();
    body.PutU32(ciodId).PutU32(r.uiCmId).PutU32(r.uiCmSq);
    body.PutStr8(r.strCustKey).PutStr8(r.strCustName).PutStr8(r.strCustKey2).PutStr8(r.strCustKey3);
    for (const std::string& text : r.strCustChar) body.PutStr8(text);
    for (const std::string& text : r.strTelNo) body.PutStr8(text);
    body.PutStr16(r.strtkdata);
    body.PutStr8(r.strMailAdd).PutStr8(r.strSMSPhone).PutU32(r.iBlackFlag);
    body.PutStr8(r.strReCallTime).PutStr8(r.strRecallTelNo).PutStr8(r.employee_id).PutU32(r.uiCallKind);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    RequestLog log("vomtelCallbackListInsert: gate[", gate, ex.RequestNumber());
    log.Field("\t\tciodId\t\t[", ciodId)
        .Field("\t\tcallback->uiCmId\t\t[", r.uiCmId)
        .Field("\t\tcallback->uiCmSq\t\t[", r.uiCmSq)
        .Field("\t\tcallback->strCustKey\t\t[", r.strCustKey)
        .Field("\t\tcallback->strCustName\t\t[", r.strCustName)
        .Field("\t\tcallback->strCustKey2\t\t[", r.strCustKey2)
        .Field("\t\tcallback->strCustKey3 \t\t[", r.strCustKey3);
    for (std::size_t i = 0; i < r.strCustChar.size(); ++i) {
      log.Field("\t\tcallback->strCustChar" + std::to_string(i + 1) + "\t\t[", r.strCustChar[i]);
    }
    for (std::size_t i = 0; i < r.strTelNo.size(); ++i) {
      log.Field("\t\tcallback->strTelNo" + std::to_string(i + 1) + "\t\t[", r.strTelNo[i]);
    }
    log.Field("\t\tcallback->strMailAdd\t\t[", r.strMailAdd)
        .Field("\t\tcallback->strSMSPhone\t\t[", r.strSMSPhone)
        .Field("\t\tcallback->iBlackFlag\t\t[", r.iBlackFlag)
        .Field("\t\tcallback->strReCallTime\t\t[", r.strReCallTime)
        .Field("\t\tcallback->strRecallTelNo\t\t[", r.strRecallTelNo)
        .Field("\t\tcallback->employee_id\t\t[", r.employee_id)
        .Field("\t\tcallback->uiCallKind\t\t[", r.uiCallKind);
    ex.Log(log.Text());
    if (const int got = SendAndWaitWhole(ex, kServiceClass, 0xC9); got != kOk) return got;
    // Outbound reply, read from the frame's first byte: invoke number at 4-5, then the four
    // numbers of the result from byte 6.
    ReplyReader in(ex.Reply());
    const std::uint16_t invoke = in.OutboundHead();
    CallbackResult read;
    read.ciodID = in.U32();
    read.campaignID = in.U32();
    read.campaignSeq = in.U32();
    read.rtnvalue = in.U32();
    if (!in.Complete()) return kReplyMismatch;
    result = read;
    ex.Log(LabelOutcomeLine("vomtelCallbackListInsert [result][invoke] : [", 1, invoke));
    return kOk;
  });
}

int MaxCallLoadAgent(OrbaAdapter& adapter, std::string_view employeeId,
                     std::vector<MaxCallLoadEntry>& list, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutStr8(employeeId);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog(" MaxCallLoadAgent: gate[", gate, ex.RequestNumber())
               .Field("\t\temployeeid\t\t[", employeeId)
               .Append("\n")
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0xD6); got != kOk) return got;
    // Reply data after the head: a status, and on status 1 the echoed id and the campaigns.
    ReplyReader in(ex.Reply());
    const std::uint32_t status = in.U32();
    if (!in.Complete()) return kReplyMismatch;
    ex.Log(LabelOutcomeLine("vomtelMaxCallLoadAgent [result][invoke] : [", AsResult(status),
                            ex.RequestNumber()));
    if (status != kOk) return AsResult(status);
    std::string echo;
    std::vector<MaxCallLoadEntry> read;
    if (!ReadMaxCallLoad(in, echo, read)) return kReplyMismatch;
    ex.Log("vomtelMaxCallLoadAgent employeeid: " + echo + " count : " + std::to_string(read.size()) + "\n");
    for (const MaxCallLoadEntry& e : read) {
      ex.Log("vomtelMaxCallLoadAgent list : campaignid : " + std::to_string(e.campaignid) +
             "maxcallcnt : " + std::to_string(e.maxcallcnt) + " answercnt : " + std::to_string(e.answercnt));
    }
    list.insert(list.end(), read.begin(), read.end());
    return kOk;
  });
}

}  // namespace vomtel
