// The runtime's log hook.
#include <cstdio>
#include <mutex>

#include "vomcom/automation.h"

namespace {
std::mutex g_mu;
VcLogHook g_hook = nullptr;
void* g_context = nullptr;
}  // namespace

extern "C" void VcSetLogHook(VcLogHook hook, void* context) {
  std::lock_guard<std::mutex> lock(g_mu);
  g_hook = hook;
  g_context = context;
}

extern "C" void VcLogWrite(const char* line) {
  if (!line) return;
  VcLogHook hook;
  void* context;
  {
    std::lock_guard<std::mutex> lock(g_mu);
    hook = g_hook;
    context = g_context;
  }
  if (hook)
    hook(context, line);
  else
    std::fprintf(stderr, "vomcom: %s\n", line);
}
