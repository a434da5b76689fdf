// The seam between the module and its controls: how the module creates each control and where
// it takes each control's type-info views for the type library.
#pragma once

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"

namespace vomtelx {

// A new control, reset to its defaults, answered under riid (as IClassFactory::CreateInstance
// without aggregation). *out is null on failure.
HRESULT CreateMainControl(REFIID riid, void** out);
HRESULT CreateEventControl(REFIID riid, void** out);
HRESULT CreateOutboundControl(REFIID riid, void** out);

// A control's dispatch interface and event interface as the type-info view shows them (the
// same views the control's GetTypeInfo gives). Null members when out of memory.
struct ControlTypes {
  vomcom::ComPtr<IVcTypeInfo> dispatch;
  vomcom::ComPtr<IVcTypeInfo> events;
};
ControlTypes MainControlTypes();
ControlTypes EventControlTypes();
ControlTypes OutboundControlTypes();

}  // namespace vomtelx
