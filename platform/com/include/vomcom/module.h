// vomcom::Module: the object and lock count of one module, for its DllCanUnloadNow.
//
// Header-only on purpose: every module (built with hidden visibility) gets its own count. Every
// object whose code lives in the module counts itself here (ControlBase, the type-info objects,
// the class factories' references and LockServer), so the module is not unloaded under them.
#pragma once

#include <atomic>

#include "vomcom/automation.h"

namespace vomcom {

class Module {
 public:
  static void Lock() noexcept { count_.fetch_add(1, std::memory_order_relaxed); }
  static void Unlock() noexcept { count_.fetch_sub(1, std::memory_order_acq_rel); }
  static long Count() noexcept { return count_.load(std::memory_order_acquire); }
  // S_OK when nothing of the module is alive or locked, else S_FALSE.
  static HRESULT CanUnloadNow() noexcept { return Count() == 0 ? S_OK : S_FALSE; }

 private:
  static inline std::atomic<long> count_{0};
};

// Holds one count for as long as it lives.
struct ModuleLock {
  ModuleLock() noexcept { Module::Lock(); }
  ModuleLock(const ModuleLock&) noexcept { Module::Lock(); }
  ModuleLock& operator=(const ModuleLock&) noexcept { return *this; }
  ~ModuleLock() { Module::Unlock(); }
};

}  // namespace vomcom
