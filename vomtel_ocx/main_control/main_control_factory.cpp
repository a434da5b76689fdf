// How the module creates the main control and takes its type-info views.
#include <new>

#include "vomcom/dispatch_table.h"
#include "vomtel_ocx/main_control/main_control.h"
#include "vomtel_ocx/module/control_factories.h"
#include "vomtel_ocx/typelib/type_descriptions.h"

namespace vomtelx {

HRESULT CreateMainControl(REFIID riid, void** out) {
  return vomcom::ClassFactory<Cvomtel_ocxCtrl>::Instance().CreateInstance(nullptr, riid, out);
}

ControlTypes MainControlTypes() {
  return {Cvomtel_ocxCtrl::Table().MakeTypeInfo(kMainDispatchType),
          vomcom::MakeEventTypeInfo(kMainEventsType, Cvomtel_ocxCtrl::kEvents)};
}

}  // namespace vomtelx
