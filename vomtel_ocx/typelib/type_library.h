// The module's type library, served by DllGetClassObject under its LIBID.
#pragma once

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"

namespace vomtelx {

// The library with its nine type descriptions in order; null when out of memory.
vomcom::ComPtr<IVcTypeLib> CreateTypeLibrary();

}  // namespace vomtelx
