// The main control's dispatch table: 118 properties, 89 methods and AboutBox, each member's
// DISPID its position in the table (AboutBox the stock -552); and its event table.
#include "vomtel_ocx/main_control/main_control.h"

namespace vomtelx {
namespace {

using C = Cvomtel_ocxCtrl;
using P = MainControlProperties;
using vomcom::Member;
using vomcom::MemberKind;

constexpr VARTYPE I2 = VT_I2;
constexpr VARTYPE I4 = VT_I4;
constexpr VARTYPE I8 = VT_I8;  // an address in the host's process
constexpr VARTYPE S = VT_BSTR;
constexpr VARTYPE V = VT_VARIANT;
constexpr VARTYPE I4_REF = VT_I4 | VT_BYREF;

template <std::u16string P::*F>
constexpr Member<C> TextProperty(DISPID id, const char* name, bool declared) {
  return {id, name, MemberKind::Property, VT_BSTR, {}, declared, nullptr, &C::GetText<F>,
          &C::PutText<F>};
}

template <std::int32_t P::*F>
constexpr Member<C> LongProperty(DISPID id, const char* name, bool declared) {
  return {id, name, MemberKind::Property, VT_I4, {}, declared, nullptr, &C::GetLong<F>,
          &C::PutLong<F>};
}

constexpr Member<C> Method(DISPID id, const char* name, VARTYPE result, vomcom::ParamList params,
                           bool declared, HRESULT (C::*handler)(const vomcom::Args&, VARIANT*)) {
  return {id, name, MemberKind::Method, result, params, declared, handler};
}

#define TEXT_PROPERTY(id, name) TextProperty<&P::name>(id, #name, true)
#define LONG_PROPERTY(id, name) LongProperty<&P::name>(id, #name, true)
// The customer properties are reachable by name and DISPID but not declared to the type view.
#define CUSTOMER_TEXT(id, name) TextProperty<&P::name>(id, #name, false)
#define CUSTOMER_LONG(id, name) LongProperty<&P::name>(id, #name, false)
#define METHOD(id, name, ...) Method(id, #name, I4, {__VA_ARGS__}, true, &C::name)
#define HIDDEN_METHOD(id, name, ...) Method(id, #name, I4, {__VA_ARGS__}, false, &C::name)

}  // namespace

const vomcom::Member<Cvomtel_ocxCtrl> Cvomtel_ocxCtrl::kMembers[kMemberCount] = {
    // Connection.
    TEXT_PROPERTY(1, AppName),
    TEXT_PROPERTY(2, ServerName),
    LONG_PROPERTY(3, LinkMode),
    TEXT_PROPERTY(4, OpenDevice),
    LONG_PROPERTY(5, OpenPort),
    LONG_PROPERTY(6, GateId),
    {7, "LogTrace", MemberKind::Property, VT_BOOL, {}, true, nullptr, &C::GetLogTrace,
     &C::PutLogTrace},
    {8, "LogPath", MemberKind::Property, VT_BSTR, {}, true, nullptr, &C::GetText<&P::LogPath>,
     &C::PutLogPath},
    TEXT_PROPERTY(9, ServerName1),
    // Customer of the call-back insert.
    CUSTOMER_TEXT(10, strcustname),
    CUSTOMER_TEXT(11, strcustkey),
    CUSTOMER_TEXT(12, strcustkey2),
    CUSTOMER_TEXT(13, strcustkey3),
    CUSTOMER_TEXT(14, strcustchar1),
    CUSTOMER_TEXT(15, strcustchar2),
    CUSTOMER_TEXT(16, strcustchar3),
    CUSTOMER_TEXT(17, strcustchar4),
    CUSTOMER_TEXT(18, strcustchar5),
    CUSTOMER_TEXT(19, strcustchar6),
    CUSTOMER_TEXT(20, strcustchar7),
    CUSTOMER_TEXT(21, strtelno1),
    CUSTOMER_TEXT(22, strtelno2),
    CUSTOMER_TEXT(23, strtelno3),
    CUSTOMER_TEXT(24, strtelno4),
    CUSTOMER_TEXT(25, strtelno5),
    CUSTOMER_TEXT(26, strtkdata),
    CUSTOMER_TEXT(27, strmailadd),
    CUSTOMER_TEXT(28, strsmsphone),
    CUSTOMER_LONG(29, iblackflag),
    CUSTOMER_TEXT(30, strrecalltime),
    CUSTOMER_TEXT(31, strrecalltelno),
    CUSTOMER_TEXT(32, employeeid),
    CUSTOMER_LONG(33, uicallkind),
    CUSTOMER_LONG(34, uicmid),
    CUSTOMER_LONG(35, uicmsq),
    CUSTOMER_LONG(36, uiagentid),
    // Campaign.
    LONG_PROPERTY(37, uiCampId),
    LONG_PROPERTY(38, iStartFlag),
    LONG_PROPERTY(39, ucCampENFL),
    LONG_PROPERTY(40, ucCampCallBack),
    LONG_PROPERTY(41, ucCampDLFL),
    LONG_PROPERTY(42, uiCampListCnt),
    TEXT_PROPERTY(43, ucCampListQuery),
    TEXT_PROPERTY(44, ucCampListFile),
    LONG_PROPERTY(45, uiCampNextCamp),
    LONG_PROPERTY(46, uiCampTokenId),
    TEXT_PROPERTY(47, ucCampPhoneOrder),
    LONG_PROPERTY(48, unCampMaxFreq1),
    LONG_PROPERTY(49, unCampMaxFreq2),
    LONG_PROPERTY(50, unCampMaxFreq3),
    LONG_PROPERTY(51, unCampMaxFreq4),
    LONG_PROPERTY(52, unCampMaxFreq5),
    LONG_PROPERTY(53, uiCampInterval),
    TEXT_PROPERTY(54, ucCampTACode),
    TEXT_PROPERTY(55, ucCampDDDNum),
    LONG_PROPERTY(56, ucCampQueue),
    LONG_PROPERTY(57, unCampMaxRing),
    LONG_PROPERTY(58, ucCampMachine),
    LONG_PROPERTY(59, unCampAutoDialTM),
    LONG_PROPERTY(60, uiCampCRID),
    TEXT_PROPERTY(61, ucCampCRTM),
    TEXT_PROPERTY(62, ucCampCRIP),
    LONG_PROPERTY(63, uiCampUPID),
    TEXT_PROPERTY(64, ucCampUPTM),
    TEXT_PROPERTY(65, ucCampUPIP),
    LONG_PROPERTY(66, unCampCustId),
    LONG_PROPERTY(67, unCampPhoneId),
    LONG_PROPERTY(68, uiCampScriptId),
    LONG_PROPERTY(69, uiCampMentId),
    LONG_PROPERTY(70, uiCampCIODID),
    LONG_PROPERTY(71, uiCampAnswerCnt),
    LONG_PROPERTY(72, uiCampDialSpeed),
    LONG_PROPERTY(73, uiCampParentId),
    LONG_PROPERTY(74, unCampLevel),
    LONG_PROPERTY(75, unCampOVTime),
    LONG_PROPERTY(76, uiCampALCnt),
    TEXT_PROPERTY(77, ucCampSPTel),
    LONG_PROPERTY(78, unCampRDCnt),
    TEXT_PROPERTY(79, ucCampOBSE),
    LONG_PROPERTY(80, uiCampGroupId),
    LONG_PROPERTY(81, unUsfl),
    TEXT_PROPERTY(82, ucRedialStrategy1),
    TEXT_PROPERTY(83, ucRedialStrategy2),
    TEXT_PROPERTY(84, ucRedialStrategy3),
    TEXT_PROPERTY(85, ucRedialStrategy4),
    TEXT_PROPERTY(86, ucRedialStrategy5),
    LONG_PROPERTY(87, ucDialModeOption),
    TEXT_PROPERTY(88, ucStartData),
    TEXT_PROPERTY(89, ucEndData),
    LONG_PROPERTY(90, unScheduleCnt),
    TEXT_PROPERTY(91, uiStartTime1),
    TEXT_PROPERTY(92, uiStartTime2),
    TEXT_PROPERTY(93, uiStartTime3),
    TEXT_PROPERTY(94, uiStartTime4),
    TEXT_PROPERTY(95, uiEndTime1),
    TEXT_PROPERTY(96, uiEndTime2),
    TEXT_PROPERTY(97, uiEndTime3),
    TEXT_PROPERTY(98, uiEndTime4),
    TEXT_PROPERTY(99, ucUserOption),
    LONG_PROPERTY(100, unSkillCnt),
    LONG_PROPERTY(101, uiSkillId1),
    LONG_PROPERTY(102, uiSkillId2),
    LONG_PROPERTY(103, uiSkillId3),
    LONG_PROPERTY(104, uiSkillId4),
    LONG_PROPERTY(105, uiSkillId5),
    LONG_PROPERTY(106, uiRVCallTimeOut),
    LONG_PROPERTY(107, uiCallMax),
    LONG_PROPERTY(108, ucRVCallStandard),
    TEXT_PROPERTY(109, ucCampaignName),
    TEXT_PROPERTY(110, ucCampaignDesc),
    LONG_PROPERTY(111, uiCampaignSiteCode),
    LONG_PROPERTY(112, ubCampaignMode),
    LONG_PROPERTY(113, uiCampaignSVCODE),
    // Proxy and the campaign's calling number.
    TEXT_PROPERTY(114, proxyip),
    LONG_PROPERTY(115, proxyport),
    TEXT_PROPERTY(116, proxyid),
    TEXT_PROPERTY(117, proxypwd),
    TEXT_PROPERTY(118, ucCampANI),

    // Methods.
    METHOD(119, vomtelGetMaxCPSQX, I4, I4, I4, I4),
    METHOD(120, vomtelGetMaxCPSQResultX, I4, I4, I2, I4, I4, I4, I4),
    METHOD(121, vomtelBlackListInsertX, I4, I2, I4, I8),
    METHOD(122, vomtelBlackListInsertResultX, I4, I4, I2, I4),
    METHOD(123, vomtelSetCampaignListHandleX, I4, I2, I8),
    METHOD(124, vomtelSetCampaignListHandleResulX, I4, I4, I2, I4),
    METHOD(125, vomtelCallbackCampaignX, I4, I2, I4, I4_REF, I8),
    METHOD(126, vomtelCallbackCampaignResultX, I4, I4, I2, I4, I2, I8),
    METHOD(127, vomtelCallbackListInsertX, I4, I2, I4, I8, I8),
    METHOD(128, vomtelCallbackListInsertResultX, I4, I4, I2, I4, I4, I4, I4),
    METHOD(129, vomtelSetCounselResultResultX, I4, I4, I2, I4),
    METHOD(130, vomtelCreateCampaignX, I4, I2, I4, I8),
    METHOD(131, vomtelPreviewMakeCallResultX, I4, I4, I2, I4),
    METHOD(132, vomtelSendPopupX, I4, I2, S, I4),
    METHOD(133, vomtelPreviewMakeCallX, I4, I2, I4, I4, I4, S, I4),
    Method(134, "SetServerNameHA", VT_EMPTY, {S, S}, true, &C::SetServerNameHA),
    METHOD(135, vomtelcloseserver, I4, I4),
    METHOD(136, vomtelmonitorstart, I4, I4),
    METHOD(137, vomtelmonitorstop, I4, I4),
    METHOD(138, vomtelmakecall, I4, I4, S, S, S, S, S, S, S, S),
    METHOD(139, vomtelanswercall, I4, I4, I4, S, S),
    METHOD(140, vomtelclearconnection, I4, I4, I4, S, S),
    METHOD(141, vomtelholdcall, I4, I4, I4, S),
    METHOD(142, vomtelretrievecall, I4, I4, I4, S),
    METHOD(143, vomtelconsultationcall, I4, I4, I4, S, S, I4, S, S, S, S, S, S),
    METHOD(144, vomteltransfercall, I4, I4, I4, S, I4, S, S),
    METHOD(145, vomtelconferencecall, I4, I4, I4, S, I4, S, S),
    METHOD(146, vomtelsinglesteptransfer, I4, I4, I4, S, S, I4, S, S, S, S, S),
    METHOD(147, vomtelsetfeatureagentstatus, I4, I4, S, I4, S, S, S, I4, I4),
    METHOD(148, vomtelsenddtmf, I4, I4, I4, S, S, I4, I4),
    METHOD(149, vomtelsetfeaturednd, I4, I4, S, I4, S),
    METHOD(150, vomtelagentreadyget, I4, I4, I4, I4, I4),
    METHOD(151, vomtelagentreadygetex, I4, I4, I4, I4, I4, I4),
    Method(152, "vomtelOpenServerHAX", I4, {}, true, &C::vomtelOpenServerHAX),
    METHOD(153, vomtelCloseServerX, I4, I4),
    Method(154, "vomtelopenserver", I4, {}, true, &C::vomtelopenserver),
    Method(155, "vomtelopenserverX", I4, {}, true, &C::vomtelopenserverX),
    HIDDEN_METHOD(156, vomtelGetSkillMasterX, I4, I2, I4),
    METHOD(157, vomtelWaitTimeGetX, I4, I4, I4, S),
    METHOD(158, vomtelWaitCountGetX, I4, I4, I4, S),
    METHOD(159, vomtelAgentGetBySkillX, I4, I2, I4, I4, I4, I2),
    METHOD(160, vomtelQueryAgentStatusX, I4, I4, S, I4),
    METHOD(161, vomtelconferencecallX, V, V, V, V, V, V, V),
    METHOD(162, vomtelCallToCNIDX, I4, I4, I4, S),
    METHOD(163, vomtelsinglestepconference, I4, I4, I4, S, S, I4),
    METHOD(164, vomtelonestepconference, I4, I4, I4, S, S, S, S, S, S),
    METHOD(165, vomtelreconnectcall, I4, I4, I4, S, I4, S, S),
    METHOD(166, vomteluserexinfodata, I4, I4, I4, S),
    METHOD(167, vomtelpwdconfirm, I4, I4, I4, I4, S),
    METHOD(168, vomtelwaitingcalltimeperiod, I4, I4, I4, S),
    METHOD(169, vomtelwaitingcallListofque, I4, I4, S),
    METHOD(170, vomtelagentStatusGet, I4, I4, I4, I4, I4, I4),
    METHOD(171, vomtelobSetCampaignListHandle, I4, I2, I4, I4, I4, S, I4, S, I4),
    METHOD(172, vomtelobCallbackCampaign, I4, I2, I4),
    METHOD(173, vomtelobCallbackListInsert, I4, I2, I4),
    METHOD(174, vomtelobBlackListInsert, I4, I2, I4, I4, S, S, S, S, S),
    METHOD(175, vomtelmultiagentget, I4, I4, S, S),
    HIDDEN_METHOD(176, vomtelIvrRegisterCall, I4, I4, I4, I4, S, S, S, I4),
    METHOD(177, vomtelIvrReleaseCall, I4, I4, I4, I4, S, S),
    METHOD(178, vomtelCreateCampaignExX, I4, I4, I4),
    METHOD(179, vomtelDestoryCampaignX, I4, I4, I4, I4, I4),
    METHOD(180, vomtelStartCampaignX, I4, I4, I4, I4),
    METHOD(181, vomtelStopCampaignX, I4, I4, I4, I4),
    METHOD(182, vomtelStartSystemPreviewX, I4, I4, I4, I4, S),
    METHOD(183, vomtelStopSystemPreviewX, I4, I4, I4, I4, S),
    METHOD(184, vomtelSysPreviewStateX, I4, I4, I4, I4, S),
    METHOD(185, vomtelsetfeatureforward, I4, I4, S, I4, I4, S),
    METHOD(186, vomtelsetagentblockingex, I4, I4, S, I4, I4, S, I4),
    METHOD(187, vomtelAgentSkillGetX, I4, I2, I2, I4),
    METHOD(188, vomtelonesteptransfer, I4, I4, I4, S, S, S, S, S),
    METHOD(189, vomteldivertdeflect, I4, I4, I4, S, S, S, S, S, S),
    METHOD(190, vomtelSetCounselResultX, I4, I2, I4, I4, I4, I4, I4, S, I4, I4, S, S, S, I4),
    METHOD(191, vomtelSetAgentFlagX, I4, I4, S, I4),
    METHOD(192, TestFuncTion1, I4),
    METHOD(193, vomtelagentreadygetexu, I4, I4, I4, I4, I4, I4),
    METHOD(194, vomteladddevice, I4, I4, S),
    METHOD(195, vomtelSetFeatureMicrophoneMuteX, I4, I4, S, I4),
    METHOD(196, vomtelsinglestepconferencex, I4, I4, I4, S, S, I4, S, S, S, S, S),
    METHOD(197, vomtelAgentStatusGetX, I4, I2, I2, I2, I4, I4),
    HIDDEN_METHOD(198, vomtelAgentReadyGetIIX, I4, I4, I4, I4, I4),
    METHOD(199, vomtelSetFeatureSpeakerMuteX, I4, I4, S, I4),
    METHOD(200, vomtelAgentBusyGetIIX, I4, I4, I4, I4, I4),
    METHOD(201, vomtelSetIniX, I4, S),
    METHOD(202, vomtelAgentStatusGetIIX, I4, I4, I2, I2, I4, I4),
    METHOD(203, vomtelGetUEIDataX, I4, I4, I4, I4),
    METHOD(204, vomtelPutCounselInfoX, I4, I4, S, I4, S, S),
    METHOD(205, vomtelcallinglistservice, I4, I4, I4, I4, I4, I4, I4),
    METHOD(206, vomtelnotifyrecord, I4, I4, I4, S, I4, S),
    METHOD(207, vomtelgetagentex, I4, I4, S, S, S, S, S, S, S, S, S),
    Method(DISPID_ABOUTBOX, "AboutBox", VT_EMPTY, {}, false, &C::AboutBox),
};

#undef TEXT_PROPERTY
#undef LONG_PROPERTY
#undef CUSTOMER_TEXT
#undef CUSTOMER_LONG
#undef METHOD
#undef HIDDEN_METHOD

const vomcom::EventMember Cvomtel_ocxCtrl::kEvents[kEventCount] = {
    {1, "Vomtelreadyagentgetvalue", {S, I4, I4, I4}},
    {2, "Vomtelreadyagentgetexvalue", {S, S, I4, S, I4, S, I4, I4, I4}},
    {3, "Vomtelqueryagentstatusex", {I4, I4, I4, I4, I4, I4, I4}},
    {4, "vomtelGetSkillMasterX", {I4, S, I4}},
    {5, "vomtelAgentGetBySkillX", {S, S, I4, I2}},
    {6, "vomtelcalltocnidxvalue", {I4, S}},
    {7, "vomtelGetMaxCPSQXvalue", {I4}},
    {8, "vomtelwaitingcalltimeperiodv", {S, I4, I4}},
    {9, "vomtelwaitingcallListofquev", {S, I4, I4, S}},
    {10, "vomtelagentStatusGetvalue", {I4, I4, I4, I4}},
    {11, "vomtelSetCampaignListHandlev", {I4}},
    {12, "vomtelobCallbackCampaignv", {I4, I4, I4}},
    {13, "vomtelCallbackListInsertv", {I4, I4, I4, I2}},
    {14, "vomtelmultiagentgetvalue", {I4, S}},
    {15, "vomtelSysPreviewStateValue", {I4}},
    {16, "vomtelAgentSkillGetValue", {I4, I4, I4, I4, I4}},
    {17, "testCallback", {I4, S}},
    {18, "TestCallback2", {I4, VT_BSTR | VT_BYREF}},
    {19, "testCallback3", {I4, V}},
    {20, "testCllback4", {I4, VT_VARIANT | VT_BYREF}},
    {21, "testCallback5", {I4, VT_BSTR | VT_BYREF}},
    {22, "vomtelcreatecampaignvalue", {I4}},
    {23, "VomtelagentStatusGetXvalue", {I4, I4, S, I4, S, I4}},
    {24, "vomtelGetUEIDataXvalue", {I4, S, S}},
    {25, "vomtelAgentBusyGetIIValue", {S, I4, I4, I4, I4}},
    {26, "vomtelQueryAgentStatusXValue", {S, I4, I4, I4, I4, I4, I4}},
    {27, "vomtelGetAgentExResult", {S, S, S, S, S, S, I4, I4, I4, I4, S, S, I4}},
};

}  // namespace vomtelx
