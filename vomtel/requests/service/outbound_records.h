// Records of the outbound requests: black list, campaign lists, call-back campaigns, the
// call-back list insert, the per-agent call load and campaign definitions.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "vomtel/core/stream.h"

namespace vomtel {

// The customer that BlackListInsert puts on the black list.
struct BlackListEntry {
  std::uint32_t cpid = 0;   // logged, not sent
  std::string custkey;
  std::string custname;
  std::string custdate;
  std::string cstel;
  std::string agentid;
};

// A calling list handed to the server by SetCampaignListHandle.
struct CampaignListHandle {
  std::int32_t Listmode = 0;  // only its low byte is sent
  std::uint32_t appkind = 0;
  std::uint32_t ciodID = 0;
  std::uint32_t Campaignid = 0;
  std::uint32_t Listkind = 0;
  std::uint32_t listcount = 0;
  std::string filename;
};

struct CallbackCampaignEntry {
  std::uint32_t campaignID = 0;
  std::uint32_t svcCode = 0;
  std::uint32_t cbCount = 0;
  bool operator==(const CallbackCampaignEntry&) const = default;
};

// The customer and call-back data of CallbackListInsert.
struct CallbackInsertRecord {
  std::uint32_t uiCmId = 0;
  std::uint32_t uiCmSq = 0;
  std::string strCustKey;
  std::string strCustName;
  std::string strCustKey2;
  std::string strCustKey3;
  std::array<std::string, 7> strCustChar;   // strCustChar1 .. strCustChar7
  std::array<std::string, 5> strTelNo;      // strTelNo1 .. strTelNo5
  SizedString strtkdata;
  std::string strMailAdd;
  std::string strSMSPhone;
  std::uint32_t iBlackFlag = 0;
  std::string strReCallTime;
  std::string strRecallTelNo;
  std::string employee_id;
  std::uint32_t uiCallKind = 0;
};

// Where CallbackListInsert's customer landed.
struct CallbackResult {
  std::uint32_t ciodID = 0;
  std::uint32_t campaignID = 0;
  std::uint32_t campaignSeq = 0;
  std::uint32_t rtnvalue = 0;
  bool operator==(const CallbackResult&) const = default;
};

// One campaign of MaxCallLoadAgent: how many calls it may give the agent, how many answered.
struct MaxCallLoadEntry {
  std::uint32_t campaignid = 0;
  std::uint32_t maxcallcnt = 0;
  std::uint32_t answercnt = 0;
  bool operator==(const MaxCallLoadEntry&) const = default;
};

// A whole campaign definition for CreateCampaign, fields in wire order. A name's prefix tells
// its type: uc a uint8 or a text, un a uint16, ui a uint32, c an int8.
struct CampaignRecord {
  static constexpr std::size_t kScheduleRoom = 4;
  static constexpr std::size_t kSkillRoom = 5;

  std::uint32_t uiCampId = 0;
  std::string ucCampaignName;
  std::string ucCampaignDesc;
  std::uint32_t uiCampaignSiteCode = 0;
  std::uint32_t uiCampaignSVCODE = 0;
  std::uint8_t ucStartFlag = 0;
  std::uint8_t ucCampENFL = 0;
  std::uint16_t unCampaignMode = 0;
  std::uint8_t ucCampCallBack = 0;
  std::uint8_t ucCampDLFL = 0;
  std::uint32_t uiCampListCnt = 0;
  std::string ucCampListQuery;
  std::string ucCampListFile;
  std::uint32_t uiCampNextCamp = 0;
  std::uint32_t uiCampTokenId = 0;
  std::string ucCampPhoneOrder;
  std::array<std::uint16_t, 5> unCampMaxFreq{};   // unCampMaxFreq1 .. unCampMaxFreq5
  std::uint32_t uiCampInterval = 0;
  std::string ucCampTACode;
  std::string ucCampDDDNum;
  std::uint32_t uiCampQueue = 0;
  std::uint16_t unCampMaxRing = 0;
  std::uint8_t ucCampMachine = 0;
  std::uint16_t unCampAutoDialTM = 0;
  std::uint32_t uiCampCRID = 0;
  std::string ucCampCRTM;
  std::string ucCampCRIP;
  std::uint32_t uiCampUPID = 0;
  std::string ucCampUPTM;
  std::string ucCampUPIP;
  std::uint16_t unCampCustId = 0;
  std::uint16_t unCampPhoneId = 0;
  std::uint32_t uiCampScriptId = 0;
  std::uint32_t uiCampMentId = 0;
  std::uint32_t uiCampCIODID = 0;
  std::uint32_t uiCampAnswerCnt = 0;
  std::uint32_t uiCampDialSpeed = 0;
  std::uint32_t uiCampParentId = 0;
  std::uint16_t unCampLevel = 0;
  std::uint16_t unCampOVTime = 0;
  std::uint32_t uiCampALCnt = 0;
  std::string ucCampSPTel;
  std::uint16_t unCampRDCnt = 0;
  std::string ucCampOBSE;
  std::uint32_t uiCampGroupId = 0;
  std::uint16_t unUsfl = 0;
  std::array<std::string, 5> ucRedialStrategy;    // ucRedialStrategy1 .. ucRedialStrategy5
  std::uint8_t ucDialModeOption = 0;
  std::string ucStartData;
  std::string ucEndData;
  std::uint16_t unScheduleCnt = 0;
  std::array<std::string, kScheduleRoom> ucStartTime;
  std::array<std::string, kScheduleRoom> ucEndTime;
  std::string ucUserOption;
  std::uint16_t unSkillCnt = 0;
  std::array<std::uint32_t, kSkillRoom> uiSkillId{};
  std::uint32_t uiRVCallTimeOut = 0;
  std::uint32_t uiCallMax = 0;
  std::int8_t cRVCallStandard = 0;
  std::string ucCampANI;
};

}  // namespace vomtel
