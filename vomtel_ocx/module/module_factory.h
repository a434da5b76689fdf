// The class factory of one of the module's classes: a static object over the class's create
// function. Its references and LockServer count for DllCanUnloadNow.
#pragma once

#include "vomcom/automation.h"

namespace vomtelx {

using CreateFunction = HRESULT (*)(REFIID riid, void** out);

// The factory of clsid under iid (DllGetClassObject); CLASS_E_CLASSNOTAVAILABLE for a CLSID
// that is none of the module's six classes, *out null then.
HRESULT GetModuleClassObject(REFCLSID clsid, REFIID iid, void** out);

}  // namespace vomtelx
