// The controls' identities and the fixed dispatch IDs the program calls them by.
#pragma once

#include "vomcom/automation.h"

namespace agentphone {

// Main control (TELX1) and event control (TELXEvt1): class IDs and event interfaces.
inline constexpr const char* kMainControlClsid = "{46BE120F-FA60-4FEC-8327-5690F3E31C31}";
inline constexpr const char* kMainControlEventsIid = "{3F53B292-706C-4661-9DBB-C4C6C4CAF88B}";
inline constexpr const char* kEventControlClsid = "{2E830C8F-BC52-403A-8B18-B8A89127AFC8}";
inline constexpr const char* kEventControlEventsIid = "{EC6B518F-66E2-4379-A34A-EA24FB42E486}";

namespace telx {  // properties and methods of the main control
inline constexpr DISPID ServerName = 2;
inline constexpr DISPID LinkMode = 3;
inline constexpr DISPID OpenDevice = 4;
inline constexpr DISPID OpenPort = 5;
inline constexpr DISPID GateId = 6;
inline constexpr DISPID LogTrace = 7;
inline constexpr DISPID LogPath = 8;
inline constexpr DISPID ServerName1 = 9;
inline constexpr DISPID vomtelcloseserver = 135;
inline constexpr DISPID vomtelmonitorstart = 136;
inline constexpr DISPID vomtelmonitorstop = 137;
inline constexpr DISPID vomtelmakecall = 138;
inline constexpr DISPID vomtelanswercall = 139;
inline constexpr DISPID vomtelclearconnection = 140;
inline constexpr DISPID vomtelholdcall = 141;
inline constexpr DISPID vomtelretrievecall = 142;
inline constexpr DISPID vomtelconsultationcall = 143;
inline constexpr DISPID vomteltransfercall = 144;
inline constexpr DISPID vomtelconferencecall = 145;
inline constexpr DISPID vomtelsinglesteptransfer = 146;
inline constexpr DISPID vomtelsetfeatureagentstatus = 147;
inline constexpr DISPID vomtelagentreadyget = 150;
inline constexpr DISPID vomtelOpenServerHAX = 152;
inline constexpr DISPID vomtelCloseServerX = 153;
inline constexpr DISPID vomtelopenserver = 154;
inline constexpr DISPID vomtelonestepconference = 164;
inline constexpr DISPID vomtelreconnectcall = 165;
// events
inline constexpr DISPID Vomtelreadyagentgetvalue = 1;
}  // namespace telx

namespace telxevt {  // methods and properties of the event control
inline constexpr DISPID CallRefID = 2;
inline constexpr DISPID MonitorParty = 13;
inline constexpr DISPID OtherParty = 21;
inline constexpr DISPID ThirdPartyCause = 25;
inline constexpr DISPID TimeStamp = 51;
inline constexpr DISPID reasoncode = 54;
inline constexpr DISPID uei = 55;
inline constexpr DISPID cnid = 75;
inline constexpr DISPID queueDN = 78;
inline constexpr DISPID starttimer = 85;
inline constexpr DISPID stoptimer = 86;
inline constexpr DISPID opengate = 87;
// events
inline constexpr DISPID vomteleventget = 1;
}  // namespace telxevt

}  // namespace agentphone
