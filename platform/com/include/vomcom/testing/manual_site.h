// vomcom::testing::ManualSite: a fake client site for control tests. Its timer service runs on
// a manual clock (Advance makes due timers pending, Pump delivers them, also re-entrantly from a
// tick handler like a modal loop); its user-interface service records the messages and returns
// at once.
//
// The site lives where the test puts it (usually on the stack): references are counted but the
// object is never deleted by Release; it must outlive the controls that hold it.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "vomcom/automation.h"
#include "vomcom/client_site.h"

namespace vomcom::testing {

class ManualSite final : public IVcTimerService, public IVcUserInterface {
 public:
  struct Message {
    std::string caption;
    std::string text;
  };

  explicit ManualSite(UINT minimumTimerMs = 10) : timers_(minimumTimerMs) {}
  ~ManualSite() { timers_.KillAll(); }
  ManualSite(const ManualSite&) = delete;
  ManualSite& operator=(const ManualSite&) = delete;

  IUnknown* Unknown() { return static_cast<IVcTimerService*>(this); }

  // The clock moves by ms; every timer due by then gets (at most) one pending tick.
  void Advance(uint64_t ms);
  // Delivers the pending ticks; returns how many.
  size_t Pump();
  size_t PendingCount() const { return timers_.PendingCount(); }
  size_t ActiveTimerCount() const { return timers_.ActiveCount(); }
  bool HasTimer(UINT_PTR id) const { return timers_.HasId(id); }
  uint64_t NowMs() const { return now_; }
  const std::vector<Message>& Messages() const { return messages_; }
  ULONG RefCount() const { return refs_; }
  // Without a user-interface service the site answers E_NOINTERFACE for it.
  void SetOffersUserInterface(bool offers) { offersUi_ = offers; }

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override { return --refs_; }
  UINT_PTR SetTimer(IVcTimerSink* sink, UINT_PTR id, UINT elapseMs) override;
  BOOL KillTimer(IVcTimerSink* sink, UINT_PTR id) override;
  HRESULT ShowMessage(const char* captionUtf8, const char* textUtf8) override;

 private:
  TimerHost timers_;
  uint64_t now_ = 0;
  std::vector<Message> messages_;
  std::atomic<ULONG> refs_{0};
  bool offersUi_ = true;
};

}  // namespace vomcom::testing
