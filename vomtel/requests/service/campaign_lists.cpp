#include "vomtel/requests/service/campaign_lists.h"

#include <string>

#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

namespace {

constexpr std::uint8_t kListHandleCode = 0xF5;
constexpr std::uint8_t kCallbackCampaignCode = 0xC8;

}  // namespace

int SetCampaignListHandle(OrbaAdapter& adapter, const CampaignListHandle& handle, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    const auto listMode = static_cast<std::uint8_t>(handle.Listmode);
    ex.BeginBody()
        .PutU32(handle.ciodID)
        .PutU32(handle.Campaignid)
        .PutU32(handle.Listkind)
        .PutU8(listMode)
        .PutU32(handle.appkind)
        .PutStr8(handle.filename)
        .PutU32(handle.listcount);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelSetCampaignListHandle: gate[", gate, ex.RequestNumber())
               .Field("\t\tCampaignid\t\t[", handle.Campaignid)
               .Field("\t\tListkind\t\t[", handle.Listkind)
               .Field("\t\tListmode\t\t[", listMode)
               .Field("\t\tappkind\t\t[", handle.appkind)
               .Field("\t\tfilename\t\t[", handle.filename)
               .Field("\t\tlistcount\t\t[", handle.listcount)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, kListHandleCode); got != kOk) return got;
    ex.LogOutcome("vomtelCampaignListHandle", AsResult(ex.Result()));
    return AsResult(ex.Result());
  });
}

int CampaignListHandleResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t result,
                             int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginAnswerBody(gateTo).PutU32(result);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelCampaignListHandleResult: gate[", gate, ex.RequestNumber()).Text());
    if (const int got = SendAndWait(ex, kServiceClass, kListHandleCode); got != kOk) return got;
    ex.LogOutcome("vomtelCampaignListHandleResult", AsResult(ex.Result()));
    return AsResult(ex.Result());
  });
}

int CallbackCampaign(OrbaAdapter& adapter, std::uint32_t ciodId,
                     std::vector<CallbackCampaignEntry>& list, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(ciodId);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    // This request writes no request log.
    if (const int got = SendAndWaitWhole(ex, kServiceClass, kCallbackCampaignCode); got != kOk) return got;
    // Outbound reply, read from the frame's first byte: status at 6-9, count at 10-11, the
    // entries from byte 12; the entries only on status 1.
    ReplyReader in(ex.Reply());
    in.OutboundHead();
    const std::uint32_t status = in.U32();
    std::vector<CallbackCampaignEntry> read;
    bool complete = in.Complete();
    if (complete && status == kOk) complete = ReadCallbackCampaigns(in, read);
    if (complete && status == kOk) {
      for (const CallbackCampaignEntry& e : read) {
        ex.Log("campaignID : [" + std::to_string(e.campaignID) + "]svcCode : [" +
               std::to_string(e.svcCode) + "]cbCount : [" + std::to_string(e.cbCount) + "]\n");
      }
      list = std::move(read);
    }
    ex.Log(LabelOutcomeLine("vomtelCallbackCampaign [result][invoke] : [", AsResult(status),
                            ex.RequestNumber()));
    adapter.NextRequestNumber();  // this request uses up a second number once answered
    return complete ? AsResult(status) : kReplyMismatch;
  });
}

int CallbackCampaignResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t ciodId,
                           std::span<const CallbackCampaignEntry> list, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    if (list.size() > kMaxCallbackCampaignEntries) return kTooManyDevices;
    Stream& body = ex.BeginAnswerBody(gateTo).PutU32(ciodId).PutU16(static_cast<std::uint16_t>(list.size()));
    for (const CallbackCampaignEntry& e : list) body.PutU32(e.campaignID).PutU32(e.svcCode).PutU32(e.cbCount);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelCallbackCampaignResult: gate[", gate, ex.RequestNumber()).Text());
    if (const int got = SendAndWait(ex, kServiceClass, kCallbackCampaignCode); got != kOk) return got;
    ex.LogOutcome("vomtelCallbackCampaignResult", AsResult(ex.Result()));
    return AsResult(ex.Result());
  });
}

}  // namespace vomtel
