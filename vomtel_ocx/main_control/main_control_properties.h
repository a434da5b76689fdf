// The main control's properties: the connection settings, the customer of the call-back insert,
// the campaign of the campaign creation and the proxy settings, one member each, named as the
// automation property. Texts keep the host's text as given (UTF-16); they become narrow texts
// only when a request record is built from them.
#pragma once

#include <cstdint>
#include <string>

namespace vomtelx {

struct MainControlProperties {
  // Connection (DISPIDs 1-9).
  std::u16string AppName;
  std::u16string ServerName;
  std::int32_t LinkMode = 0;
  std::u16string OpenDevice;
  std::int32_t OpenPort = 0;
  std::int32_t GateId = 0;
  std::int32_t LogTrace = 0;  // a boolean kept as a 32-bit integer
  std::u16string LogPath;
  std::u16string ServerName1;

  // Customer of the call-back insert (10-36).
  std::u16string strcustname;
  std::u16string strcustkey;
  std::u16string strcustkey2;
  std::u16string strcustkey3;
  std::u16string strcustchar1;
  std::u16string strcustchar2;
  std::u16string strcustchar3;
  std::u16string strcustchar4;
  std::u16string strcustchar5;
  std::u16string strcustchar6;
  std::u16string strcustchar7;
  std::u16string strtelno1;
  std::u16string strtelno2;
  std::u16string strtelno3;
  std::u16string strtelno4;
  std::u16string strtelno5;
  std::u16string strtkdata;
  std::u16string strmailadd;
  std::u16string strsmsphone;
  std::int32_t iblackflag = 0;
  std::u16string strrecalltime;
  std::u16string strrecalltelno;
  std::u16string employeeid;
  std::int32_t uicallkind = 0;
  std::int32_t uicmid = 0;
  std::int32_t uicmsq = 0;
  std::int32_t uiagentid = 0;

  // Campaign (37-113).
  std::int32_t uiCampId = 0;
  std::int32_t iStartFlag = 0;
  std::int32_t ucCampENFL = 0;
  std::int32_t ucCampCallBack = 0;
  std::int32_t ucCampDLFL = 0;
  std::int32_t uiCampListCnt = 0;
  std::u16string ucCampListQuery;
  std::u16string ucCampListFile;
  std::int32_t uiCampNextCamp = 0;
  std::int32_t uiCampTokenId = 0;
  std::u16string ucCampPhoneOrder;
  std::int32_t unCampMaxFreq1 = 0;
  std::int32_t unCampMaxFreq2 = 0;
  std::int32_t unCampMaxFreq3 = 0;
  std::int32_t unCampMaxFreq4 = 0;
  std::int32_t unCampMaxFreq5 = 0;
  std::int32_t uiCampInterval = 0;
  std::u16string ucCampTACode;
  std::u16string ucCampDDDNum;
  std::int32_t ucCampQueue = 0;
  std::int32_t unCampMaxRing = 0;
  std::int32_t ucCampMachine = 0;
  std::int32_t unCampAutoDialTM = 0;
  std::int32_t uiCampCRID = 0;
  std::u16string ucCampCRTM;
  std::u16string ucCampCRIP;
  std::int32_t uiCampUPID = 0;
  std::u16string ucCampUPTM;
  std::u16string ucCampUPIP;
  std::int32_t unCampCustId = 0;
  std::int32_t unCampPhoneId = 0;
  std::int32_t uiCampScriptId = 0;
  std::int32_t uiCampMentId = 0;
  std::int32_t uiCampCIODID = 0;
  std::int32_t uiCampAnswerCnt = 0;
  std::int32_t uiCampDialSpeed = 0;
  std::int32_t uiCampParentId = 0;
  std::int32_t unCampLevel = 0;
  std::int32_t unCampOVTime = 0;
  std::int32_t uiCampALCnt = 0;
  std::u16string ucCampSPTel;
  std::int32_t unCampRDCnt = 0;
  std::u16string ucCampOBSE;
  std::int32_t uiCampGroupId = 0;
  std::int32_t unUsfl = 0;
  std::u16string ucRedialStrategy1;
  std::u16string ucRedialStrategy2;
  std::u16string ucRedialStrategy3;
  std::u16string ucRedialStrategy4;
  std::u16string ucRedialStrategy5;
  std::int32_t ucDialModeOption = 0;
  std::u16string ucStartData;
  std::u16string ucEndData;
  std::int32_t unScheduleCnt = 0;
  std::u16string uiStartTime1;
  std::u16string uiStartTime2;
  std::u16string uiStartTime3;
  std::u16string uiStartTime4;
  std::u16string uiEndTime1;
  std::u16string uiEndTime2;
  std::u16string uiEndTime3;
  std::u16string uiEndTime4;
  std::u16string ucUserOption;
  std::int32_t unSkillCnt = 0;
  std::int32_t uiSkillId1 = 0;
  std::int32_t uiSkillId2 = 0;
  std::int32_t uiSkillId3 = 0;
  std::int32_t uiSkillId4 = 0;
  std::int32_t uiSkillId5 = 0;
  std::int32_t uiRVCallTimeOut = 0;
  std::int32_t uiCallMax = 0;
  std::int32_t ucRVCallStandard = 0;
  std::u16string ucCampaignName;
  std::u16string ucCampaignDesc;
  std::int32_t uiCampaignSiteCode = 0;
  std::int32_t ubCampaignMode = 0;
  std::int32_t uiCampaignSVCODE = 0;

  // Proxy and the campaign's calling number (114-118).
  std::u16string proxyip;
  std::int32_t proxyport = 0;
  std::u16string proxyid;
  std::u16string proxypwd;
  std::u16string ucCampANI;
};

// The log directory an empty LogPath put stands for, and the one the module starts with.
inline constexpr char16_t kDefaultLogPath[] = u"C:\\softphone";

}  // namespace vomtelx
