#include "vomtel/requests/service/callback_insert.h"

#include <string>

#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_request.h"

namespace vomtel {

namespace {

void PutInsertRecord(Stream& body, std::uint32_t ciodId, const CallbackInsertRecord& r) {
  body.PutU32(ciodId).PutU32(r.uiCmId).PutU32(r.uiCmSq);
  body.PutStr8(r.strCustKey).PutStr8(r.strCustName).PutStr8(r.strCustKey2).PutStr8(r.strCustKey3);
  for (const std::string& text : r.strCustChar) body.PutStr8(text);
  for (const std::string& text : r.strTelNo) body.PutStr8(text);
  body.PutStr16(r.strtkdata);
  body.PutStr8(r.strMailAdd).PutStr8(r.strSMSPhone).PutU32(r.iBlackFlag);
  body.PutStr8(r.strReCallTime).PutStr8(r.strRecallTelNo).PutStr8(r.employee_id).PutU32(r.uiCallKind);
}

// The request log names the numbered texts with their number from 1.
std::string InsertLog(const RequestExchange& ex, std::uint32_t ciodId, const CallbackInsertRecord& r) {
  RequestLog log(shape::kCallbackListInsert.label, ex.Gate(), ex.RequestNumber());
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
  return log.Text();
}

}  // namespace

int CallbackListInsert(OrbaAdapter& adapter, std::uint32_t ciodId, const CallbackInsertRecord& r,
                       CallbackResult& result, int gate) {
  return OnGate(adapter, gate, [&](RequestExchange& ex) -> int {
    PutInsertRecord(ex.BeginBody(), ciodId, r);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.LogWith([&] { return InsertLog(ex, ciodId, r); });
    if (const int got = SendAndAwait(ex, shape::kCallbackListInsert); got != kOk) return got;
    // Read from the frame's first byte: invoke number at 4-5, then the four numbers of the
    // result from byte 6.
    ReplyReader in(ex.Reply());
    const std::uint16_t invoke = in.OutboundHead();
    CallbackResult read;
    read.ciodID = in.U32();
    read.campaignID = in.U32();
    read.campaignSeq = in.U32();
    read.rtnvalue = in.U32();
    if (!in.Complete()) return kReplyMismatch;
    result = read;
    WriteOutcome(ex, shape::kCallbackListInsert, 1, invoke);
    return kOk;
  });
}

int MaxCallLoadAgent(OrbaAdapter& adapter, std::string_view employeeId,
                     std::vector<MaxCallLoadEntry>& list, int gate) {
  return RunService(adapter, gate,
                    {shape::kMaxCallLoadAgent, {}, {Str8{employeeId}}, {{"\t\temployeeid\t\t[", employeeId}}},
                    [&](RequestExchange& ex) -> int {
                      // Reply data after the head: a status, and on status 1 the echoed id and the
                      // campaigns.
                      ReplyReader in(ex.Reply());
                      const std::uint32_t status = in.U32();
                      if (!in.Complete()) return kReplyMismatch;
                      WriteOutcome(ex, shape::kMaxCallLoadAgent, AsResult(status));
                      if (status != kOk) return AsResult(status);
                      std::string echo;
                      std::vector<MaxCallLoadEntry> read;
                      if (!ReadMaxCallLoad(in, echo, read)) return kReplyMismatch;
                      ex.LogWith([&] {
                        return "vomtelMaxCallLoadAgent employeeid: " + echo + " count : " +
                               std::to_string(read.size()) + "\n";
                      });
                      for (const MaxCallLoadEntry& e : read) {
                        ex.LogWith([&] {
                          return "vomtelMaxCallLoadAgent list : campaignid : " + std::to_string(e.campaignid) +
                                 "maxcallcnt : " + std::to_string(e.maxcallcnt) +
                                 " answercnt : " + std::to_string(e.answercnt);
                        });
                      }
                      list.insert(list.end(), read.begin(), read.end());
                      return kOk;
                    });
}

}  // namespace vomtel
