#include "vomtel/requests/service/campaign_lists.h"

#include <string>

#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/list_replies.h"
#include "vomtel/requests/service/service_request.h"

namespace vomtel {

int SetCampaignListHandle(OrbaAdapter& adapter, const CampaignListHandle& handle, int gate) {
  const auto listMode = static_cast<std::uint8_t>(handle.Listmode);
  return RunService(adapter, gate,
                    {shape::kSetCampaignListHandle,
                     {},
                     {U32(handle.ciodID), U32(handle.Campaignid), U32(handle.Listkind), U8(listMode),
                      U32(handle.appkind), Str8{handle.filename}, U32(handle.listcount)},
                     {{"\t\tCampaignid\t\t[", handle.Campaignid},
                      {"\t\tListkind\t\t[", handle.Listkind},
                      {"\t\tListmode\t\t[", listMode},
                      {"\t\tappkind\t\t[", handle.appkind},
                      {"\t\tfilename\t\t[", handle.filename},
                      {"\t\tlistcount\t\t[", handle.listcount}}});
}

int CampaignListHandleResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t result,
                             int gate) {
  return RunService(adapter, gate, {shape::kCampaignListHandleResult, {}, {U32(result)}, {}, gateTo});
}

int CallbackCampaign(OrbaAdapter& adapter, std::uint32_t ciodId,
                     std::vector<CallbackCampaignEntry>& list, int gate) {
  // This request writes no request log.
  return RunService(adapter, gate, {shape::kCallbackCampaign, {}, {U32(ciodId)}, {}},
                    [&](RequestExchange& ex) -> int {
                      // Read from the frame's first byte: status at 6-9, count at 10-11, the entries
                      // from byte 12; the entries only on status 1.
                      ReplyReader in(ex.Reply());
                      in.OutboundHead();
                      const std::uint32_t status = in.U32();
                      std::vector<CallbackCampaignEntry> read;
                      bool complete = in.Complete();
                      if (complete && status == kOk) complete = ReadCallbackCampaigns(in, read);
                      if (complete && status == kOk) {
                        for (const CallbackCampaignEntry& e : read) {
                          ex.LogWith([&] {
                            return "campaignID : [" + std::to_string(e.campaignID) + "]svcCode : [" +
                                   std::to_string(e.svcCode) + "]cbCount : [" + std::to_string(e.cbCount) + "]\n";
                          });
                        }
                        list = std::move(read);
                      }
                      WriteOutcome(ex, shape::kCallbackCampaign, AsResult(status));
                      adapter.NextRequestNumber();  // this request uses up a second number once answered
                      return complete ? AsResult(status) : kReplyMismatch;
                    });
}

int CallbackCampaignResult(OrbaAdapter& adapter, std::uint32_t gateTo, std::uint32_t ciodId,
                           std::span<const CallbackCampaignEntry> list, int gate) {
  return OnGate(adapter, gate, [&](RequestExchange& ex) -> int {
    if (list.size() > kMaxCallbackCampaignEntries) return kTooManyDevices;
    Stream& body = ex.BeginAnswerBody(gateTo).PutU32(ciodId).PutU16(static_cast<std::uint16_t>(list.size()));
    for (const CallbackCampaignEntry& e : list) body.PutU32(e.campaignID).PutU32(e.svcCode).PutU32(e.cbCount);
    if (const int got = ExchangeWritten(ex, shape::kCallbackCampaignResult, {}); got != kOk) return got;
    return HeadOutcome(ex, shape::kCallbackCampaignResult);
  });
}

}  // namespace vomtel
