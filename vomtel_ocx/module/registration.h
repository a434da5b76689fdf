// Self-registration of the module: its type library, then its six classes, in the per-user
// registry of the component runtime.
#pragma once

#include <string>

#include "vomcom/automation.h"

namespace vomtelx {

// Writes the type library's keys, then every class's keys, each set as one atomic batch.
// S_OK; SELFREG_E_TYPELIB when the type library's keys cannot be written (no class is tried);
// SELFREG_E_CLASS when the classes' keys cannot be written.
HRESULT RegisterModule(const std::string& modulePath);

// Removes the type library's keys, then the classes' CLSID and ProgID keys; the same results.
HRESULT UnregisterModule();

// The absolute path of the file that holds this code (the module, or the program it is
// linked into); empty when it cannot be told.
std::string ThisModulePath();

}  // namespace vomtelx
