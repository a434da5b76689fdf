// The two CTI controls of the main window, created by class ID through the component runtime:
// the main control (TELX1) and the event control (TELXEvt1). Both get the host's client site
// (its timer service drives the event control's polling); their events reach the core through
// two sinks: vomteleventget of the event control and Vomtelreadyagentgetvalue of the main
// control.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"

namespace agentphone {

class CtiControls {
 public:
  using EventHandler = std::function<void(int32_t eventKind)>;
  using ReadyAgentHandler = std::function<void(std::string_view employeeId, int32_t device,
                                               int32_t blendmode, int32_t continuetime)>;

  // Null with the reason in *error when a control cannot be created or connected (the module
  // not registered, no connection point).
  static std::unique_ptr<CtiControls> Create(IUnknown* site, EventHandler onEvent,
                                             ReadyAgentHandler onReadyAgent, std::string* error);
  // Disconnects the sinks and detaches the site (which kills the controls' timers).
  ~CtiControls();
  CtiControls(const CtiControls&) = delete;
  CtiControls& operator=(const CtiControls&) = delete;

  IDispatch* Telx() const { return telx_.Get(); }
  IDispatch* TelxEvt() const { return evt_.Get(); }

 private:
  CtiControls() = default;
  struct Connection {
    vomcom::ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
  };
  static HRESULT Connect(IDispatch* control, const char* eventsIid, IDispatch* sink,
                         Connection* out);

  vomcom::ComPtr<IDispatch> telx_;
  vomcom::ComPtr<IDispatch> evt_;
  vomcom::ComPtr<IDispatch> eventSink_;
  vomcom::ComPtr<IDispatch> readySink_;
  Connection eventConnection_;
  Connection readyConnection_;
};

}  // namespace agentphone
