#include "vomtel_ocx/typelib/type_library.h"

#include <vector>

#include "vomcom/type_info.h"
#include "vomtel_ocx/module/control_factories.h"
#include "vomtel_ocx/typelib/type_descriptions.h"

namespace vomtelx {

vomcom::ComPtr<IVcTypeLib> CreateTypeLibrary() {
  const ControlTypes main = MainControlTypes();
  const ControlTypes event = EventControlTypes();
  const ControlTypes outbound = OutboundControlTypes();
  std::vector<vomcom::ComPtr<IVcTypeInfo>> types = {
      main.dispatch,  main.events,  vomcom::TypeInfo::Create(kMainClassType),
      event.dispatch, event.events, vomcom::TypeInfo::Create(kEventClassType),
      outbound.dispatch, outbound.events, vomcom::TypeInfo::Create(kOutboundClassType),
  };
  for (const auto& t : types) {
    if (!t) return {};
  }
  return vomcom::TypeLib::Create(kTypeLibInfo, std::move(types));
}

}  // namespace vomtelx
