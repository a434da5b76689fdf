// vomcom::testing::ManualSite.
#include "vomcom/testing/manual_site.h"

namespace vomcom::testing {

void ManualSite::Advance(uint64_t ms) {
  now_ += ms;
  timers_.MarkDue(now_);
}

size_t ManualSite::Pump() { return timers_.DeliverPending(); }

HRESULT ManualSite::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IVcTimerService))
    *out = static_cast<IVcTimerService*>(this);
  else if (offersUi_ && IsEqualIID(iid, IID_IVcUserInterface))
    *out = static_cast<IVcUserInterface*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

UINT_PTR ManualSite::SetTimer(IVcTimerSink* sink, UINT_PTR id, UINT elapseMs) {
  return timers_.Set(sink, id, elapseMs, now_);
}

BOOL ManualSite::KillTimer(IVcTimerSink* sink, UINT_PTR id) {
  return timers_.Kill(sink, id) ? TRUE : FALSE;
}

HRESULT ManualSite::ShowMessage(const char* caption, const char* text) {
  messages_.push_back({caption ? caption : "", text ? text : ""});
  return S_OK;
}

}  // namespace vomcom::testing
