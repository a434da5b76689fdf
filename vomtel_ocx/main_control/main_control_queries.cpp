// Queries that answer with one value or one record: the event fires once, inside the call.
#include <cctype>
#include <charconv>
#include <cstdint>
#include <string>

#include "vomtel/vomtel.h"
#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/main_control/entry_array.h"
#include "vomtel_ocx/main_control/event_params.h"
#include "vomtel_ocx/main_control/main_control.h"
#include "vomtel_ocx/main_control/main_control_events.h"
#include "vomtel_ocx/main_control/method_support.h"

namespace vomtelx {
namespace {

// The agent type that vomtelQueryAgentStatusX reports: the library has no answer for it.
constexpr std::int32_t kQueriedAgentType = 1;

// A device text read as a decimal number: leading blanks and a sign allowed, the digits up to
// the first other character; a text that holds no number, or one outside 32 bits, reads 0.
std::int32_t DecimalOrZero(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data() + i, text.data() + text.size(), value);
  (void)end;
  return error == std::errc() ? value : 0;
}

}  // namespace

HRESULT Cvomtel_ocxCtrl::vomtelGetMaxCPSQX(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelGetMaxCPSQX CException"}, [&] {
    TraceLog("vomtelGetMaxCPSQX ..........! ");
    int maxCpsq = 0;
    const int result = vomtelGetMaxCPSQ(a.I4(0), a.I4(1), a.I4(2), a.I4(3), &maxCpsq);
    if (result != VOMTEL_OK) return result;
    Fire(kEventMaxCpsq, {Long(maxCpsq)});
    return VOMTEL_OK;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelQueryAgentStatusX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelqueryagentstatusex ..........! ");
    const std::string agentId = NarrowArg(a, 2);
    char name[36] = {};
    int mode = 0, dn = 0, blend = 0, block = 0, time = 0;
    const int result = vomtelQueryAgentStatusEx(a.I4(0), a.I4(1), agentId.c_str(), a.I4(3), name,
                                                &mode, &dn, &blend, &block, &time, 0, 0, 0);
    if (result == VOMTEL_OK) {
      Fire(kEventQueryAgentStatus, {EntryText(name), Long(mode), Long(dn), Long(blend),
                                    Long(block), Long(time), Long(kQueriedAgentType)});
    }
    return result;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelCallToCNIDX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    const std::int32_t callId = a.I4(2);
    int cnid = 0;
    const int result =
        vomtelCallToCNID(a.I4(0), a.I4(1), callId, DecimalOrZero(NarrowArg(a, 3)), &cnid);
    // Fired whatever the result, with the number as the library left it.
    const std::string text = std::to_string(static_cast<std::uint32_t>(cnid));
    Fire(kEventCallToCnid, {Long(callId), HostText(vomcom::Utf8ToUtf16(text))});
    return result;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelSysPreviewStateX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelSysPreviewStateX ..........! ");
    const std::string agentId = NarrowArg(a, 4);
    // The library's answer carries no state of its own: the event reports the state as zeroed.
    const std::int32_t state = 0;
    const int result = vomtelSysPreviewState(a.I4(0), a.I4(1), static_cast<std::uint32_t>(a.I4(2)),
                                             a.I4(3), agentId.c_str(), 0);
    if (result != VOMTEL_OK) return result;
    Fire(kEventPreviewState, {Long(state)});
    return VOMTEL_OK;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelGetUEIDataX(const Args& a, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelGetUEIDataX ..........! ");
    UserDataBlock uei{};
    UserDataBlock ci{};
    const std::int32_t callId = a.I4(3);
    const int result = vomtelGetUEIData(a.I4(0), a.I4(1), a.I4(2), callId, &uei, &ci);
    if (result != VOMTEL_OK) return Negated(result);
    Fire(kEventUeiData, {Long(callId), EntryText(uei.Text), EntryText(ci.Text)});
    return VOMTEL_OK;
  });
}

}  // namespace vomtelx
