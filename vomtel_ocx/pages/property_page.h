// The property pages of the three controls: each a "General" page of 250 x 62 dialog units
// holding one static text and no controls, so Apply changes nothing. A host creates a page by
// its CLSID and asks for it through IVcPropertyPage; the page shows itself only when the host
// asks, through the site's user-interface service.
#pragma once

#include <atomic>

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"
#include "vomcom/module.h"

namespace vomtelx {

struct PropertyPageInfo {
  const char* captionUtf8;  // "General"
  SIZEL sizeDialogUnits;    // 250 x 62
  const char* staticTextUtf8;
};

// Our own page interface (the runtime has no dialogs): slots after IUnknown in this order.
struct IVcPropertyPage : IUnknown {
  virtual HRESULT GetPageInfo(PropertyPageInfo* out) = 0;
  // The objects the page edits; the page keeps none of their properties.
  virtual HRESULT SetObjects(ULONG count, IUnknown** objects) = 0;
  // Shows the page (its static text) through the site's IVcUserInterface; S_FALSE without one.
  virtual HRESULT Show(IUnknown* site) = 0;
  // Nothing is bound to the page: S_OK, no property changes.
  virtual HRESULT Apply() = 0;
  virtual HRESULT IsPageDirty() = 0;  // always S_FALSE
};

inline constexpr IID kIidVcPropertyPage = {
    0xEF10A8FF, 0x8263, 0x4C7E, {0x81, 0xDE, 0xD8, 0x51, 0x5C, 0x8C, 0xC3, 0x9C}};

// A new page of the class clsid under riid; CLASS_E_CLASSNOTAVAILABLE for another CLSID.
HRESULT CreatePropertyPage(REFCLSID clsid, REFIID riid, void** out);

}  // namespace vomtelx
