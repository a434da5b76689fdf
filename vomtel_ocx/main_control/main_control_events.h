// DISPIDs of the main control's events (its event interface, positions from 1).
#pragma once

#include "vomcom/automation.h"

namespace vomtelx {

inline constexpr DISPID kEventReadyAgent = 1;           // Vomtelreadyagentgetvalue
inline constexpr DISPID kEventReadyAgentEx = 2;         // Vomtelreadyagentgetexvalue
inline constexpr DISPID kEventSkillMaster = 4;          // vomtelGetSkillMasterX
inline constexpr DISPID kEventAgentBySkill = 5;         // vomtelAgentGetBySkillX
inline constexpr DISPID kEventCallToCnid = 6;           // vomtelcalltocnidxvalue
inline constexpr DISPID kEventMaxCpsq = 7;              // vomtelGetMaxCPSQXvalue
inline constexpr DISPID kEventWaitingPeriod = 8;        // vomtelwaitingcalltimeperiodv
inline constexpr DISPID kEventWaitingCall = 9;          // vomtelwaitingcallListofquev
inline constexpr DISPID kEventCallbackCampaign = 12;    // vomtelobCallbackCampaignv
inline constexpr DISPID kEventCallbackListInsert = 13;  // vomtelCallbackListInsertv
inline constexpr DISPID kEventMultiAgent = 14;          // vomtelmultiagentgetvalue
inline constexpr DISPID kEventPreviewState = 15;        // vomtelSysPreviewStateValue
inline constexpr DISPID kEventAgentSkill = 16;          // vomtelAgentSkillGetValue
inline constexpr DISPID kEventCreateCampaign = 22;      // vomtelcreatecampaignvalue
inline constexpr DISPID kEventAgentStatus = 23;         // VomtelagentStatusGetXvalue
inline constexpr DISPID kEventUeiData = 24;             // vomtelGetUEIDataXvalue
inline constexpr DISPID kEventBusyAgent = 25;           // vomtelAgentBusyGetIIValue
inline constexpr DISPID kEventQueryAgentStatus = 26;    // vomtelQueryAgentStatusXValue
inline constexpr DISPID kEventAgentEx = 27;             // vomtelGetAgentExResult

}  // namespace vomtelx
