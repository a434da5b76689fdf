// Identities of the module's classes, interfaces and type library.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "vomcom/automation.h"

namespace vomtelx {

namespace detail {
constexpr uint8_t HexDigit(char c) {
  return c >= '0' && c <= '9'   ? static_cast<uint8_t>(c - '0')
         : c >= 'a' && c <= 'f' ? static_cast<uint8_t>(c - 'a' + 10)
         : c >= 'A' && c <= 'F' ? static_cast<uint8_t>(c - 'A' + 10)
                                : throw "not a hexadecimal digit";
}
constexpr uint32_t Hex(const char* s, size_t digits) {
  uint32_t v = 0;
  for (size_t i = 0; i < digits; ++i) v = v * 16 + HexDigit(s[i]);
  return v;
}
}  // namespace detail

// A GUID from its registry text "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", at compile time.
constexpr GUID GuidOf(const char (&t)[39]) {
  if (t[0] != '{' || t[9] != '-' || t[14] != '-' || t[19] != '-' || t[24] != '-' || t[37] != '}')
    throw "not a GUID text";
  GUID g{};
  g.Data1 = detail::Hex(t + 1, 8);
  g.Data2 = static_cast<uint16_t>(detail::Hex(t + 10, 4));
  g.Data3 = static_cast<uint16_t>(detail::Hex(t + 15, 4));
  g.Data4[0] = static_cast<uint8_t>(detail::Hex(t + 20, 2));
  g.Data4[1] = static_cast<uint8_t>(detail::Hex(t + 22, 2));
  for (size_t i = 0; i < 6; ++i) g.Data4[2 + i] = static_cast<uint8_t>(detail::Hex(t + 25 + 2 * i, 2));
  return g;
}

// The type library.
inline constexpr char kLibIdText[] = "{B43A79D9-43CB-4B04-86B7-38E0C14FA09E}";
inline constexpr GUID kLibId = GuidOf("{B43A79D9-43CB-4B04-86B7-38E0C14FA09E}");
inline constexpr uint16_t kLibMajor = 1;
inline constexpr uint16_t kLibMinor = 0;
inline constexpr LCID kLibLocale = 0x0409;
inline constexpr char kLibName[] = "vomtel_ocxLib";
inline constexpr char kLibHelpString[] = "vomtel_ocx ActiveX Control module";
inline constexpr char kLibHelpFile[] = "vomtel_ocx.hlp";

// Dispatch and event interfaces.
inline constexpr GUID kIidMainDispatch = GuidOf("{0AA50762-2051-4EC4-90C4-9AC3A6AD72E8}");
inline constexpr GUID kIidMainEvents = GuidOf("{3F53B292-706C-4661-9DBB-C4C6C4CAF88B}");
inline constexpr GUID kIidEventDispatch = GuidOf("{5E8402DC-AEEB-41C0-B5A8-B1784799EEF7}");
inline constexpr GUID kIidEventEvents = GuidOf("{EC6B518F-66E2-4379-A34A-EA24FB42E486}");
inline constexpr GUID kIidOutboundDispatch = GuidOf("{45A19336-AE40-45F4-B213-A8E449731685}");
inline constexpr GUID kIidOutboundEvents = GuidOf("{E34464D7-9503-4D82-B830-17287D3DFCD8}");

// Classes.
inline constexpr GUID kClsidMainControl = GuidOf("{46BE120F-FA60-4FEC-8327-5690F3E31C31}");
inline constexpr GUID kClsidEventControl = GuidOf("{2E830C8F-BC52-403A-8B18-B8A89127AFC8}");
inline constexpr GUID kClsidOutboundControl = GuidOf("{069F236C-F6CC-40BA-B215-2075A8E06F8F}");
inline constexpr GUID kClsidMainPage = GuidOf("{EA8FB376-50EE-43B5-9DE5-611AE56E4380}");
inline constexpr GUID kClsidEventPage = GuidOf("{50EACBD6-8050-4868-BD6B-F92655C0E8B9}");
inline constexpr GUID kClsidOutboundPage = GuidOf("{B9E3561D-3EDC-4809-8122-500DF9E4A72B}");

enum class ClassKind : uint8_t { kControl, kPage };

// One class of the module, as registered.
struct ModuleClass {
  const char* className;  // "Cvomtel_ocxCtrl"
  GUID clsid;
  const char* progId;     // "vomtel_ocx." + the class name without its C + ".1"
  const char* typeName;   // from the string table
  ClassKind kind;
  int bitmap;             // the toolbox and drawn picture (1-3); 0 for pages
};

inline constexpr std::array<ModuleClass, 6> kModuleClasses = {{
    {"Cvomtel_ocxCtrl", kClsidMainControl, "vomtel_ocx.vomtel_ocxCtrl.1", "vomtel_ocx Control",
     ClassKind::kControl, 1},
    {"Cvomtel_ocxEvtCtrl", kClsidEventControl, "vomtel_ocx.vomtel_ocxEvtCtrl.1",
     "vomtel_ocxEvt Control", ClassKind::kControl, 2},
    {"Cvomtel_ocxOBCtrl", kClsidOutboundControl, "vomtel_ocx.vomtel_ocxOBCtrl.1",
     "vomtel_ocxOB Control", ClassKind::kControl, 3},
    {"Cvomtel_ocxPropPage", kClsidMainPage, "vomtel_ocx.vomtel_ocxPropPage.1",
     "vomtel_ocx Property Page", ClassKind::kPage, 0},
    {"Cvomtel_ocxEvtPropPage", kClsidEventPage, "vomtel_ocx.vomtel_ocxEvtPropPage.1",
     "vomtel_ocxEvt Property Page", ClassKind::kPage, 0},
    {"Cvomtel_ocxOBPropPage", kClsidOutboundPage, "vomtel_ocx.vomtel_ocxOBPropPage.1",
     "vomtel_ocxOB Property Page", ClassKind::kPage, 0},
}};

// Registration and framework values shared by the three controls.
inline constexpr uint32_t kMiscStatus = 0x20191;  // recompose on resize, can't link inside,
                                                  // inside-out, activate when visible, set
                                                  // client site first
inline constexpr LONG kForcedExtent = 750;        // HIMETRIC, both sides
inline constexpr DWORD kSafetyOptions =
    INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

// The module's version resource.
inline constexpr char kFileVersion[] = "5.1.16.4";
inline constexpr char kFileDescription[] = "vomtel_ocx ActiveX Control Module";
inline constexpr char kInternalName[] = "vomtel_ocx";
inline constexpr char kOriginalFileName[] = "vomtel_ocx.OCX";

// The log directory the module sets when it starts.
inline constexpr char kDefaultLogDirectory[] = "C:\\softphone";

}  // namespace vomtelx
