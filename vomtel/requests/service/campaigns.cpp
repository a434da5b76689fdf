#include "vomtel/requests/service/campaigns.h"

#include "vomtel/requests/service/reply_reader.h"
#include "vomtel/requests/service/service_request.h"

namespace vomtel {

namespace {

void PutCampaign(Stream& b, const CampaignRecord& c) {
  b.PutU32(c.uiCampId).PutStr8(c.ucCampaignName).PutStr8(c.ucCampaignDesc);
  b.PutU32(c.uiCampaignSiteCode).PutU32(c.uiCampaignSVCODE);
  b.PutU8(c.ucStartFlag).PutU8(c.ucCampENFL).PutU16(c.unCampaignMode);
  b.PutU8(c.ucCampCallBack).PutU8(c.ucCampDLFL).PutU32(c.uiCampListCnt);
  b.PutStr8(c.ucCampListQuery).PutStr8(c.ucCampListFile);
  b.PutU32(c.uiCampNextCamp).PutU32(c.uiCampTokenId).PutStr8(c.ucCampPhoneOrder);
  for (std::uint16_t frequency : c.unCampMaxFreq) b.PutU16(frequency);
  b.PutU32(c.uiCampInterval).PutStr8(c.ucCampTACode).PutStr8(c.ucCampDDDNum);
  b.PutU32(c.uiCampQueue).PutU16(c.unCampMaxRing).PutU8(c.ucCampMachine).PutU16(c.unCampAutoDialTM);
  b.PutU32(c.uiCampCRID).PutStr8(c.ucCampCRTM).PutStr8(c.ucCampCRIP);
  b.PutU32(c.uiCampUPID).PutStr8(c.ucCampUPTM).PutStr8(c.ucCampUPIP);
  b.PutU16(c.unCampCustId).PutU16(c.unCampPhoneId);
  b.PutU32(c.uiCampScriptId).PutU32(c.uiCampMentId).PutU32(c.uiCampCIODID);
  b.PutU32(c.uiCampAnswerCnt).PutU32(c.uiCampDialSpeed).PutU32(c.uiCampParentId);
  b.PutU16(c.unCampLevel).PutU16(c.unCampOVTime).PutU32(c.uiCampALCnt);
  b.PutStr8(c.ucCampSPTel).PutU16(c.unCampRDCnt).PutStr8(c.ucCampOBSE);
  b.PutU32(c.uiCampGroupId).PutU16(c.unUsfl);
  for (const std::string& strategy : c.ucRedialStrategy) b.PutStr8(strategy);
  b.PutU8(c.ucDialModeOption).PutStr8(c.ucStartData).PutStr8(c.ucEndData);
  // One count for both time arrays: all start times, then all end times.
  b.PutU16(c.unScheduleCnt);
  for (std::size_t i = 0; i < c.unScheduleCnt; ++i) b.PutStr8(c.ucStartTime[i]);
  for (std::size_t i = 0; i < c.unScheduleCnt; ++i) b.PutStr8(c.ucEndTime[i]);
  b.PutStr8(c.ucUserOption);
  b.PutU16(c.unSkillCnt);
  for (std::size_t i = 0; i < c.unSkillCnt; ++i) b.PutU32(c.uiSkillId[i]);
  b.PutU32(c.uiRVCallTimeOut).PutU32(c.uiCallMax);
  b.PutU32(static_cast<std::uint32_t>(static_cast<std::int32_t>(c.cRVCallStandard)));
  b.PutStr8(c.ucCampANI);
}

}  // namespace

int CreateCampaign(OrbaAdapter& adapter, std::uint32_t& campaignId, const CampaignRecord& record,
                   int gate) {
  return OnGate(adapter, gate, [&](RequestExchange& ex) -> int {
    if (record.unScheduleCnt > CampaignRecord::kScheduleRoom || record.unSkillCnt > CampaignRecord::kSkillRoom) {
      return kTooManyDevices;
    }
    PutCampaign(ex.BeginBody(), record);
    // This request writes no request log.
    if (const int got = ExchangeWritten(ex, shape::kCreateCampaign, {}); got != kOk) return got;
    // Read from the frame's first byte: invoke number at 4-5, result at 6-9, the campaign id
    // at 10-13.
    ReplyReader in(ex.Reply());
    const std::uint16_t invoke = in.OutboundHead();
    const std::uint32_t result = in.U32();
    const std::uint32_t id = in.U32();
    if (!in.Complete()) return kReplyMismatch;
    campaignId = id;
    WriteOutcome(ex, shape::kCreateCampaign, AsResult(result), invoke);
    return AsResult(result);
  });
}

int DestoryCampaign(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid, std::uint32_t mode,
                    int gate) {
  // This request writes no request log.
  return RunService(adapter, gate, {shape::kDestoryCampaign, {}, {U32(ciod), U32(cpid), U8(mode)}, {}});
}

}  // namespace vomtel
