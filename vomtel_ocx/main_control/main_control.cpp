// The main control's class identity, its property puts with their side effects, its property
// exchange and its event firing.
#include "vomtel_ocx/main_control/main_control.h"

#include <string>
#include <vector>

#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/main_control/narrow_text.h"
#include "vomtel_ocx/module/control_surface.h"
#include "vomtel_ocx/module/module_ids.h"
#include "vomtel_ocx/typelib/type_descriptions.h"

namespace vomtelx {
namespace {

constexpr CLSID kMainPages[] = {kClsidMainPage};

// The property exchange's version (1.0).
constexpr std::uint32_t kExchangeVersion = 0x00010000;

using P = MainControlProperties;

// One persistent property: a text, a long or the boolean, with its default.
struct PersistedProperty {
  const char* name;
  std::u16string P::*text;
  std::int32_t P::*number;
  bool boolean;
  const char* textDefault;
  std::int32_t numberDefault;
};

constexpr PersistedProperty Text(const char* name, std::u16string P::*member,
                                 const char* fallback = "") {
  return {name, member, nullptr, false, fallback, 0};
}
constexpr PersistedProperty Number(const char* name, std::int32_t P::*member,
                                   std::int32_t fallback = 0) {
  return {name, nullptr, member, false, nullptr, fallback};
}

// The persistent properties in the order of the exchange (ucCampANI, which has no default,
// follows them).
const PersistedProperty kPersisted[] = {
    Text("AppName", &P::AppName, "TCPIP"),
    Text("ServerName", &P::ServerName),
    Text("OpenDevice", &P::OpenDevice),
    Number("LinkMode", &P::LinkMode, 1),
    Number("OpenPort", &P::OpenPort, 9500),
    Number("GateId", &P::GateId, 0),
    {"LogTrace", nullptr, &P::LogTrace, true, nullptr, 1},
    Text("LogPath", &P::LogPath, "C:\\softphone"),
    Text("ServerName1", &P::ServerName1),
    Text("strcustname", &P::strcustname),
    Text("strcustkey", &P::strcustkey),
    Text("strcustkey2", &P::strcustkey2),
    Text("strcustkey3", &P::strcustkey3),
    Text("strcustchar1", &P::strcustchar1),
    Text("strcustchar2", &P::strcustchar2),
    Text("strcustchar3", &P::strcustchar3),
    Text("strcustchar4", &P::strcustchar4),
    Text("strcustchar5", &P::strcustchar5),
    Text("strcustchar6", &P::strcustchar6),
    Text("strcustchar7", &P::strcustchar7),
    Text("strtelno1", &P::strtelno1),
    Text("strtelno2", &P::strtelno2),
    Text("strtelno3", &P::strtelno3),
    Text("strtelno4", &P::strtelno4),
    Text("strtelno5", &P::strtelno5),
    Text("strtkdata", &P::strtkdata),
    Text("strmailadd", &P::strmailadd),
    Text("strsmsphone", &P::strsmsphone),
    Number("iblackflag", &P::iblackflag),
    Text("strrecalltime", &P::strrecalltime),
    Text("strrecalltelno", &P::strrecalltelno),
    Text("employeeid", &P::employeeid),
    Number("uicallkind", &P::uicallkind),
    Number("uicmid", &P::uicmid),
    Number("uicmsq", &P::uicmsq),
    Number("uiagentid", &P::uiagentid),
};

std::string NarrowOf(const std::u16string& text) { return NarrowText(text); }
std::u16string WideOf(const std::string& narrow) {
  return WideText(narrow.c_str(), narrow.size());
}

}  // namespace

const vomcom::ControlClass Cvomtel_ocxCtrl::kClass = {
    kClsidMainControl,
    kIidMainDispatch,
    kIidMainEvents,
    kMainDispatchType,
    kMainPages,
    true,
};

Cvomtel_ocxCtrl::Cvomtel_ocxCtrl() = default;

HRESULT Cvomtel_ocxCtrl::GetLogTrace(VARIANT* result) {
  if (result == nullptr) return S_OK;
  result->vt = VT_BOOL;
  result->boolVal = props_.LogTrace != 0 ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT Cvomtel_ocxCtrl::PutLogTrace(const VARIANT& value) {
  props_.LogTrace = value.boolVal != VARIANT_FALSE ? 1 : 0;
  SetTraceLogEnabled(props_.LogTrace);
  MarkModified();
  return S_OK;
}

HRESULT Cvomtel_ocxCtrl::PutLogPath(const VARIANT& value) {
  std::u16string path(value.bstrVal ? value.bstrVal : u"", SysStringLen(value.bstrVal));
  if (path.empty()) path = kDefaultLogPath;
  props_.LogPath = path;
  // The logger takes the directory in its Windows form; only the file system sees it mapped.
  SetTraceLogDirectory(NarrowText(props_.LogPath).c_str());
  MarkModified();
  return S_OK;
}

void Cvomtel_ocxCtrl::DoPropExchange(vomcom::PropExchange& px) {
  px.Version(kExchangeVersion);
  BaseExchange(px);
  // The members are exchanged directly: a loaded LogTrace or LogPath does not reach the logger.
  for (const PersistedProperty& p : kPersisted) {
    if (p.boolean) {
      px.Bool(p.name, props_.*p.number, p.numberDefault != 0);
    } else if (p.number != nullptr) {
      px.Long(p.name, props_.*p.number, p.numberDefault);
    } else {
      std::string narrow = NarrowOf(props_.*p.text);
      px.Text(p.name, narrow, p.textDefault);
      if (px.IsLoading()) props_.*p.text = WideOf(narrow);
    }
  }
  std::string ani = NarrowOf(props_.ucCampANI);
  px.TextNoDefault("ucCampANI", ani);
  if (px.IsLoading()) props_.ucCampANI = WideOf(ani);
  // After every load, save or reset the direct open is in force until the host puts a port.
  props_.proxyport = 0;
}

HRESULT Cvomtel_ocxCtrl::AboutBox(const Args&, VARIANT*) {
  const AboutTexts about = AboutBoxTexts("vomtel_ocx");
  ShowMessage(about.caption, about.line);
  return S_OK;
}

void Cvomtel_ocxCtrl::OnDraw(const VcSurface& surface) { DrawControlSurface(surface, 1); }

SIZEL Cvomtel_ocxCtrl::AdjustExtent(const SIZEL& requested) { return ForcedExtent(requested); }

void Cvomtel_ocxCtrl::Fire(DISPID event, std::initializer_list<vomcom::Variant> params) {
  std::vector<vomcom::Variant> args(params);
  FireEvent(event, std::span<vomcom::Variant>(args));
}

void Cvomtel_ocxCtrl::MarkModified() { SetModified(true); }

}  // namespace vomtelx
