#include "vomtel_ocx/main_control/outbound_records.h"

#include <cstring>
#include <string>

#include "vomtel_ocx/main_control/narrow_text.h"

namespace vomtelx {
namespace {

// A text into a NUL-terminated field: at most the field's size less one byte.
template <std::size_t N>
void Text(char (&field)[N], const std::u16string& value) {
  CopyNarrow(value, field, N);
}

// A text into a field that it may fill completely.
template <std::size_t N>
void FillText(char (&field)[N], std::u16string_view value) {
  CopyNarrowFill(value, field, N);
}

std::int16_t Low16(std::int32_t value) { return static_cast<std::int16_t>(value); }
std::uint8_t Low8(std::int32_t value) { return static_cast<std::uint8_t>(value); }

}  // namespace

CallbackRecord MakeCallbackRecord(const MainControlProperties& p) {
  CallbackRecord r{};
  r.CmId = static_cast<std::uint32_t>(p.uicmid);
  r.CmSq = static_cast<std::uint32_t>(p.uicmsq);
  Text(r.CustKey, p.strcustkey);
  Text(r.CustName, p.strcustname);
  Text(r.CustKey2, p.strcustkey2);
  Text(r.CustKey3, p.strcustkey3);
  const std::u16string* chars[] = {&p.strcustchar1, &p.strcustchar2, &p.strcustchar3,
                                   &p.strcustchar4, &p.strcustchar5, &p.strcustchar6,
                                   &p.strcustchar7};
  for (std::size_t i = 0; i < 7; ++i) Text(r.CustChar[i], *chars[i]);
  const std::u16string* phones[] = {&p.strtelno1, &p.strtelno2, &p.strtelno3, &p.strtelno4,
                                    &p.strtelno5};
  for (std::size_t i = 0; i < 5; ++i) Text(r.TelNo[i], *phones[i]);
  Text(r.TkData, p.strtkdata);
  Text(r.MailAdd, p.strmailadd);
  Text(r.SmsPhone, p.strsmsphone);
  r.BlackFlag = p.iblackflag;
  Text(r.ReCallTime, p.strrecalltime);
  Text(r.RecallTelNo, p.strrecalltelno);
  Text(r.EmployeeId, p.employeeid);
  r.CallKind = static_cast<std::uint32_t>(p.uicallkind);
  r.AgentId = static_cast<std::uint32_t>(p.uiagentid);
  return r;
}

CampaignRecord MakeCampaignRecord(const MainControlProperties& p) {
  CampaignRecord r{};
  r.CampId = p.uiCampId;
  Text(r.CampaignName, p.ucCampaignName);
  Text(r.CampaignDesc, p.ucCampaignDesc);
  r.CampaignSiteCode = p.uiCampaignSiteCode;
  r.CampaignSvCode = p.uiCampaignSVCODE;
  r.CampaignMode = Low16(p.ubCampaignMode);
  r.StartFlag = Low8(p.iStartFlag);
  r.CampEnfl = Low8(p.ucCampENFL);
  r.CampCallBack = Low8(p.ucCampCallBack);
  r.CampDlfl = Low8(p.ucCampDLFL);
  r.CampListCnt = p.uiCampListCnt;
  Text(r.CampListQuery, p.ucCampListQuery);
  Text(r.CampListFile, p.ucCampListFile);
  r.CampNextCamp = p.uiCampNextCamp;
  r.CampTokenId = p.uiCampTokenId;
  Text(r.CampPhoneOrder, p.ucCampPhoneOrder);
  const std::int32_t freqs[] = {p.unCampMaxFreq1, p.unCampMaxFreq2, p.unCampMaxFreq3,
                                p.unCampMaxFreq4, p.unCampMaxFreq5};
  for (std::size_t i = 0; i < 5; ++i) r.CampMaxFreq[i] = Low16(freqs[i]);
  r.CampInterval = p.uiCampInterval;
  Text(r.CampTaCode, p.ucCampTACode);
  Text(r.CampDddNum, p.ucCampDDDNum);
  r.CampQueue = p.ucCampQueue;
  r.CampMaxRing = Low16(p.unCampMaxRing);
  r.CampMachine = Low8(p.ucCampMachine);
  r.CampAutoDialTm = Low16(p.unCampAutoDialTM);
  r.CampCrId = p.uiCampCRID;
  Text(r.CampCrTm, p.ucCampCRTM);
  Text(r.CampCrIp, p.ucCampCRIP);
  r.CampUpId = p.uiCampUPID;
  Text(r.CampUpTm, p.ucCampUPTM);
  Text(r.CampUpIp, p.ucCampUPIP);
  r.CampCustId = Low16(p.unCampCustId);
  r.CampPhoneId = Low16(p.unCampPhoneId);
  r.CampScriptId = p.uiCampScriptId;
  r.CampMentId = p.uiCampMentId;
  r.CampCiodId = p.uiCampCIODID;
  r.CampAnswerCnt = p.uiCampAnswerCnt;
  r.CampDialSpeed = p.uiCampDialSpeed;
  r.CampParentId = p.uiCampParentId;
  r.CampLevel = Low16(p.unCampLevel);
  r.CampOvTime = Low16(p.unCampOVTime);
  r.CampAlCnt = p.uiCampALCnt;
  Text(r.CampSpTel, p.ucCampSPTel);
  r.CampRdCnt = Low16(p.unCampRDCnt);
  Text(r.CampObse, p.ucCampOBSE);
  r.CampGroupId = p.uiCampGroupId;
  r.Usfl = Low16(p.unUsfl);
  const std::u16string* strategies[] = {&p.ucRedialStrategy1, &p.ucRedialStrategy2,
                                        &p.ucRedialStrategy3, &p.ucRedialStrategy4,
                                        &p.ucRedialStrategy5};
  for (std::size_t i = 0; i < 5; ++i) Text(r.RedialStrategy[i], *strategies[i]);
  r.DialModeOption = Low8(p.ucDialModeOption);
  Text(r.StartData, p.ucStartData);
  Text(r.EndData, p.ucEndData);
  r.ScheduleCnt = Low16(p.unScheduleCnt);
  const std::u16string* starts[] = {&p.uiStartTime1, &p.uiStartTime2, &p.uiStartTime3,
                                    &p.uiStartTime4};
  const std::u16string* ends[] = {&p.uiEndTime1, &p.uiEndTime2, &p.uiEndTime3, &p.uiEndTime4};
  for (std::size_t i = 0; i < 4; ++i) {
    Text(r.StartTime[i], *starts[i]);
    Text(r.EndTime[i], *ends[i]);
  }
  Text(r.UserOption, p.ucUserOption);
  r.SkillCnt = Low16(p.unSkillCnt);
  const std::int32_t skills[] = {p.uiSkillId1, p.uiSkillId2, p.uiSkillId3, p.uiSkillId4,
                                 p.uiSkillId5};
  for (std::size_t i = 0; i < 5; ++i) r.SkillId[i] = skills[i];
  r.RvCallTimeOut = p.uiRVCallTimeOut;
  r.CallMax = p.uiCallMax;
  r.RvCallStandard = Low8(p.ucRVCallStandard);
  Text(r.CampAni, p.ucCampANI);
  return r;
}

BlackListRecord MakeBlackListRecord(std::int32_t cpid, const BlackListTexts& texts) {
  BlackListRecord r{};
  r.Cpid = static_cast<std::uint32_t>(cpid);
  FillText(r.CustKey, texts.custKey);
  FillText(r.CustName, texts.custName);
  FillText(r.CustDate, texts.custDate);
  FillText(r.CustTel, texts.custTel);
  FillText(r.EmployeeId, texts.employeeId);
  return r;
}

CampaignListHandleRecord MakeListHandleRecord(const ListHandleArgs& a) {
  CampaignListHandleRecord r{};
  // Bytes 0-7 carry the gate and the 16-bit invoke id; the library does not read them.
  const std::int32_t gate = a.gate;
  const std::uint16_t invoke = static_cast<std::uint16_t>(a.invoke);
  static_assert(sizeof gate + sizeof invoke <= sizeof r.reserved0);
  std::memcpy(r.reserved0, &gate, sizeof gate);
  std::memcpy(r.reserved0 + sizeof gate, &invoke, sizeof invoke);
  r.CiodId = 1;
  r.CampaignId = a.campaignId;
  r.ListKind = a.listKind;
  const std::string mode = NarrowText(a.listMode);
  r.ListMode = mode.empty() ? '\0' : mode[0];
  r.AppKind = a.appKind;
  CopyNarrow(a.fileName, r.FileName, sizeof r.FileName);
  r.ListCount = a.listCount;
  return r;
}

CounselResultRecord MakeCounselResultRecord(const CounselArgs& a) {
  CounselResultRecord r{};
  r.Gate = a.gate;
  r.Invoke = static_cast<std::uint16_t>(a.invoke);
  r.Cpid = a.cpid;
  r.Cpsq = a.cpsq;
  r.GroupId = a.groupId;
  r.PartId = a.partId;
  r.AgentId = a.agentId;
  FillText(r.EmployeeId, a.employeeId);
  r.BlackList = a.blackList;
  r.CallKind = a.callKind;
  FillText(r.RsvData, a.rsvData);
  FillText(r.RsvTel, a.rsvTel);
  FillText(r.Result, a.result);
  r.Clock = a.clock;
  return r;
}

}  // namespace vomtelx
