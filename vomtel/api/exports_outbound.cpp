// Exports of outbound campaigns: maximum calls per second, black list, calling lists,
// campaign creation, start, stop and removal, campaign data and the calling-list service.
#include <cstring>

#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/campaign_lists.h"
#include "vomtel/requests/service/campaign_status.h"
#include "vomtel/requests/service/campaigns.h"
#include "vomtel/requests/service/outbound_lists.h"
#include "vomtel/vomtel.h"

namespace vomtel::api {
namespace {

std::uint16_t U16(std::int16_t value) { return static_cast<std::uint16_t>(value); }

// The caller's campaign in the operation's record; false when a count is beyond its array.
bool ReadCampaign(const ::CampaignRecord& from, vomtel::CampaignRecord& to) {
  const std::uint16_t schedules = U16(from.ScheduleCnt);
  const std::uint16_t skills = U16(from.SkillCnt);
  if (schedules > vomtel::CampaignRecord::kScheduleRoom ||
      skills > vomtel::CampaignRecord::kSkillRoom) {
    return false;
  }
  to.uiCampId = U32(from.CampId);
  to.ucCampaignName = FieldText(from.CampaignName);
  to.ucCampaignDesc = FieldText(from.CampaignDesc);
  to.uiCampaignSiteCode = U32(from.CampaignSiteCode);
  to.uiCampaignSVCODE = U32(from.CampaignSvCode);
  to.unCampaignMode = U16(from.CampaignMode);
  to.ucStartFlag = from.StartFlag;
  to.ucCampENFL = from.CampEnfl;
  to.ucCampCallBack = from.CampCallBack;
  to.ucCampDLFL = from.CampDlfl;
  to.uiCampListCnt = U32(from.CampListCnt);
  to.ucCampListQuery = FieldText(from.CampListQuery);
  to.ucCampListFile = FieldText(from.CampListFile);
  to.uiCampNextCamp = U32(from.CampNextCamp);
  to.uiCampTokenId = U32(from.CampTokenId);
  to.ucCampPhoneOrder = FieldText(from.CampPhoneOrder);
  for (std::size_t i = 0; i < to.unCampMaxFreq.size(); ++i) to.unCampMaxFreq[i] = U16(from.CampMaxFreq[i]);
  to.uiCampInterval = U32(from.CampInterval);
  to.ucCampTACode = FieldText(from.CampTaCode);
  to.ucCampDDDNum = FieldText(from.CampDddNum);
  to.uiCampQueue = U32(from.CampQueue);
  to.unCampMaxRing = U16(from.CampMaxRing);
  to.ucCampMachine = from.CampMachine;
  to.unCampAutoDialTM = U16(from.CampAutoDialTm);
  to.uiCampCRID = U32(from.CampCrId);
  to.ucCampCRTM = FieldText(from.CampCrTm);
  to.ucCampCRIP = FieldText(from.CampCrIp);
  to.uiCampUPID = U32(from.CampUpId);
  to.ucCampUPTM = FieldText(from.CampUpTm);
  to.ucCampUPIP = FieldText(from.CampUpIp);
  to.unCampCustId = U16(from.CampCustId);
  to.unCampPhoneId = U16(from.CampPhoneId);
  to.uiCampScriptId = U32(from.CampScriptId);
  to.uiCampMentId = U32(from.CampMentId);
  to.uiCampCIODID = U32(from.CampCiodId);
  to.uiCampAnswerCnt = U32(from.CampAnswerCnt);
  to.uiCampDialSpeed = U32(from.CampDialSpeed);
  to.uiCampParentId = U32(from.CampParentId);
  to.unCampLevel = U16(from.CampLevel);
  to.unCampOVTime = U16(from.CampOvTime);
  to.uiCampALCnt = U32(from.CampAlCnt);
  to.ucCampSPTel = FieldText(from.CampSpTel);
  to.unCampRDCnt = U16(from.CampRdCnt);
  to.ucCampOBSE = FieldText(from.CampObse);
  to.uiCampGroupId = U32(from.CampGroupId);
  to.unUsfl = U16(from.Usfl);
  for (std::size_t i = 0; i < to.ucRedialStrategy.size(); ++i) {
    to.ucRedialStrategy[i] = FieldText(from.RedialStrategy[i]);
  }
  to.ucDialModeOption = from.DialModeOption;
  to.ucStartData = FieldText(from.StartData);
  to.ucEndData = FieldText(from.EndData);
  to.unScheduleCnt = schedules;
  for (std::size_t i = 0; i < schedules; ++i) {
    to.ucStartTime[i] = FieldText(from.StartTime[i]);
    to.ucEndTime[i] = FieldText(from.EndTime[i]);
  }
  to.ucUserOption = FieldText(from.UserOption);
  to.unSkillCnt = skills;
  for (std::size_t i = 0; i < skills; ++i) to.uiSkillId[i] = U32(from.SkillId[i]);
  to.uiRVCallTimeOut = U32(from.RvCallTimeOut);
  to.uiCallMax = U32(from.CallMax);
  to.cRVCallStandard = static_cast<std::int8_t>(from.RvCallStandard);
  to.ucCampANI = FieldText(from.CampAni);
  return true;
}

}  // namespace
}  // namespace vomtel::api

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelGetMaxCPSQ(int gate, int, int first, int second, int* result) {
  return Export([&] {
    if (!result) return kNullArgument;
    // The operation writes the number whenever a reply carried it.
    std::uint32_t value = U32(*result);
    const int code = vomtel::GetMaxCPSQ(OrbaAdapter::Instance(), U32(first), U32(second), value, gate);
    *result = static_cast<int>(value);
    return code;
  });
}

int VOMTEL_CALL vomtelGetMaxCPSQResult(int gate, int gateTo, int, int first, int second,
                                       int third, int fourth) {
  return Export([&] {
    return vomtel::GetMaxCPSQResult(OrbaAdapter::Instance(), U32(gateTo), U32(first), U32(second),
                                    U32(third), U32(fourth), gate);
  });
}

int VOMTEL_CALL vomtelBlackListInsert(int gate, int, int number, const BlackListRecord* record) {
  return Export([&] {
    if (!record) return kNullArgument;
    vomtel::BlackListEntry entry;
    entry.custkey = FieldText(record->CustKey);
    entry.custname = FieldText(record->CustName);
    entry.custdate = FieldText(record->CustDate);
    entry.cstel = FieldText(record->CustTel);
    entry.agentid = FieldText(record->EmployeeId);
    return vomtel::BlackListInsert(OrbaAdapter::Instance(), U32(number), entry, gate);
  });
}

int VOMTEL_CALL vomtelBlackListInsertResult(int gate, int gateTo, int, int result) {
  return Export([&] {
    return vomtel::BlackListInsertResult(OrbaAdapter::Instance(), U32(gateTo), U32(result), gate);
  });
}

int VOMTEL_CALL vomtelSetCampaignListHandle(int gate, int, const CampaignListHandleRecord* record) {
  return Export([&] {
    if (!record) return kNullArgument;
    vomtel::CampaignListHandle handle;
    handle.ciodID = U32(record->CiodId);
    handle.Campaignid = U32(record->CampaignId);
    handle.Listkind = U32(record->ListKind);
    handle.Listmode = static_cast<unsigned char>(record->ListMode);
    handle.appkind = U32(record->AppKind);
    handle.filename = FieldText(record->FileName);
    handle.listcount = U32(record->ListCount);
    return vomtel::SetCampaignListHandle(OrbaAdapter::Instance(), handle, gate);
  });
}

int VOMTEL_CALL vomtelSetCampaignListHandleResult(int gate, int gateTo, int, int result) {
  return Export([&] {
    return vomtel::CampaignListHandleResult(OrbaAdapter::Instance(), U32(gateTo), U32(result), gate);
  });
}

int VOMTEL_CALL vomtelCreateCampaignEx(int gate, int, uint32_t* campaignId,
                                       const CampaignRecord* campaign) {
  return Export([&] {
    if (!campaignId || !campaign) return kNullArgument;
    vomtel::CampaignRecord record;
    if (!ReadCampaign(*campaign, record)) return static_cast<int>(vomtel::kTextTooLong);
    // The operation stores the new id whenever a reply carried it.
    std::uint32_t id = *campaignId;
    const int result = vomtel::CreateCampaign(OrbaAdapter::Instance(), id, record, gate);
    *campaignId = id;
    return result;
  });
}

int VOMTEL_CALL vomtelDestoryCampaign(int gate, int, int first, int second, int third) {
  return Export([&] {
    return vomtel::DestoryCampaign(OrbaAdapter::Instance(), U32(first), U32(second), U32(third), gate);
  });
}

int VOMTEL_CALL vomtelStartCampaign(int gate, int, int first, int second) {
  return Export([&] {
    return vomtel::CampaignStatus(OrbaAdapter::Instance(), U32(first), U32(second),
                                  vomtel::kStartMode, gate);
  });
}

int VOMTEL_CALL vomtelStopCampaign(int gate, int, int first, int second) {
  return Export([&] {
    return vomtel::CampaignStatus(OrbaAdapter::Instance(), U32(first), U32(second),
                                  vomtel::kStopMode, gate);
  });
}

int VOMTEL_CALL vomtelCampaignInfo(int gate, int, uint32_t value, const UserDataBlock* data) {
  return Export([&] {
    if (!data) return kNullArgument;
    return vomtel::CampaignInfo(OrbaAdapter::Instance(), value, BlockText(data), gate);
  });
}

int VOMTEL_CALL vomtelCallingListService(int gate, int, int serviceType, int campaignId,
                                         int callingId, int listCount, int actionFlag) {
  return Export([&] {
    return vomtel::CallingListService(OrbaAdapter::Instance(),
                                      static_cast<std::uint16_t>(serviceType), U32(campaignId),
                                      U32(callingId), U32(listCount), LowByte(actionFlag), gate);
  });
}

}  // extern "C"
