// The event control: polls the library's event queue of one gate on a window timer and fires
// vomteleventget once per event; its properties read the last fetched record.
//
// A tick of the polling timer does not drain the queue in one go: it starts a run of fetches,
// one event each, every fetch a pause after the previous event's handlers returned. The pause
// is a one-shot window timer of the control, so the host's loop (its window's input, paint,
// sockets) runs between two events however long the queue is.
#pragma once

#include <chrono>
#include <functional>
#include <span>

#include "vomcom/control_base.h"
#include "vomtel/vomtel_event.h"

namespace vomtelx {

// The control's waits, each with its usual value as default.
struct EventControlTimings {
  std::chrono::milliseconds fetchPause{10};     // before each fetch, on the host's loop
  std::chrono::milliseconds restartPause{50};   // between killing and setting the timer again
                                                // after a failure inside a tick
  int defaultDelayMs = 800;                     // the timer period until setdelaytime
  std::function<void(std::chrono::milliseconds)> sleep;  // empty: the thread sleeps
};

class EventControl final : public vomcom::ControlBase<EventControl> {
 public:
  static constexpr UINT_PTR kTimerId = 3333;
  static constexpr UINT_PTR kFetchTimerId = 3334;  // the pause before the next fetch (one-shot)
  static constexpr DISPID kEventGet = 1;
  static constexpr int32_t kGateUnset = -1;

  static const vomcom::ControlClass kClass;
  static std::span<const vomcom::Member<EventControl>> Members();
  static std::span<const vomcom::EventMember> EventMembers();
  // The dispatch interface's type-info view (TokenId declared as a long).
  static vomcom::ComPtr<IVcTypeInfo> DispatchTypeInfo();

  explicit EventControl(EventControlTimings timings = {});
  // A new control, reset, answered under riid.
  static HRESULT Create(const EventControlTimings& timings, REFIID riid, void** out);

  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** out) override;

  // Members.
  template <size_t Row>
  HRESULT GetProperty(VARIANT* result) {
    return GetRow(Row, result);
  }
  HRESULT PutIgnored(const VARIANT& value);
  HRESULT StartTimer(const vomcom::Args& args, VARIANT* result);
  HRESULT StopTimer(const vomcom::Args& args, VARIANT* result);
  HRESULT OpenGate(const vomcom::Args& args, VARIANT* result);
  HRESULT SetDelayTime(const vomcom::Args& args, VARIANT* result);
  HRESULT AboutBox(const vomcom::Args& args, VARIANT* result);

  void DoPropExchange(vomcom::PropExchange& px);

 protected:
  void OnTimer(UINT_PTR id) override;
  void OnDraw(const VcSurface& surface) override;
  SIZEL AdjustExtent(const SIZEL& requested) override;

 private:
  friend class vomcom::ControlBase<EventControl>;
  ~EventControl() override = default;
  HRESULT GetRow(size_t row, VARIANT* result);
  // A tick of the polling timer: starts a run of fetches unless one is under way.
  void OnPollTick();
  // One fetch of the run, and the next one scheduled while the flag stays set and the queue
  // gave an event.
  void FetchOne();
  bool ScheduleFetch();
  // Runs a step of a tick; a failure inside it restarts the polling timer.
  void RunGuarded(void (EventControl::*step)());
  // After a failure inside a tick: logged, the timer killed, a pause, the timer set again.
  void RestartAfterFailure(const char* what);
  void Pause(std::chrono::milliseconds ms);

  EventControlTimings timings_;
  int32_t running_ = 1;
  EventData record_{};
  int32_t delayMs_;
  int32_t gate_ = kGateUnset;
  bool firing_ = false;  // an event's handlers run; a tick let in by their modal loop only logs
};

}  // namespace vomtelx
