// Placeholder for the main control until its own code lands in this folder (delete this file
// then): the class is not available and its interfaces show no members.
#include "vomcom/dispatch_table.h"
#include "vomcom/type_info.h"
#include "vomtel_ocx/module/control_factories.h"
#include "vomtel_ocx/typelib/type_descriptions.h"

namespace vomtelx {

HRESULT CreateMainControl(REFIID, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

ControlTypes MainControlTypes() {
  return {vomcom::TypeInfo::Create(kMainDispatchType), vomcom::TypeInfo::Create(kMainEventsType)};
}

}  // namespace vomtelx
