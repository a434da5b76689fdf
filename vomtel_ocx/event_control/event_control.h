// The event control: polls the library's event queue of one gate on a window timer and fires
// vomteleventget once per event; its properties read the last fetched record.
#pragma once

#include <chrono>
#include <functional>
#include <span>

#include "vomcom/control_base.h"
#include "vomtel/vomtel_event.h"

namespace vomtelx {

// The control's waits, each with its usual value as default.
struct EventControlTimings {
  std::chrono::milliseconds fetchPause{10};     // before each fetch of a tick
  std::chrono::milliseconds restartPause{50};   // between killing and setting the timer again
                                                // after a failure inside a tick
  int defaultDelayMs = 800;                     // the timer period until setdelaytime
  std::function<void(std::chrono::milliseconds)> sleep;  // empty: the thread sleeps
};

class EventControl final : public vomcom::ControlBase<EventControl> {
 public:
  static constexpr UINT_PTR kTimerId = 3333;
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
  void DrainQueue();
  // After a failure inside a tick: logged, the timer killed, a pause, the timer set again.
  void RestartAfterFailure(const char* what);
  void Pause(std::chrono::milliseconds ms);

  EventControlTimings timings_;
  int32_t running_ = 1;
  EventData record_{};
  int32_t delayMs_;
  int32_t gate_ = kGateUnset;
  bool inTick_ = false;  // a tick is draining the queue; a nested tick only logs
};

}  // namespace vomtelx
