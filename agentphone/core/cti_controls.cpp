#include "agentphone/core/cti_controls.h"

#include <cstdio>

#include "agentphone/core/control_ids.h"
#include "vomcom/bstr.h"
#include "vomcom/dispatch_sink.h"
#include "vomcom/variant.h"

namespace agentphone {
namespace {

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

HRESULT CreateControl(const char* clsidText, IUnknown* site, vomcom::ComPtr<IDispatch>& out) {
  CLSID clsid{};
  HRESULT hr = VcGuidFromText(clsidText, &clsid);
  if (hr < 0) return hr;
  hr = CoCreateInstance(clsid, nullptr, 1 /* in process */, IID_IDispatch, out.PutVoid());
  if (hr < 0) return hr;
  vomcom::ComPtr<IVcControl> control;
  if (out->QueryInterface(IID_IVcControl, control.PutVoid()) >= 0 && site) {
    hr = control->SetClientSite(site);
  }
  return hr;
}

void Detach(IDispatch* object) {
  if (!object) return;
  vomcom::ComPtr<IVcControl> control;
  if (object->QueryInterface(IID_IVcControl, control.PutVoid()) >= 0) control->SetClientSite(nullptr);
}

// Argument i (declaration order) of an event.
const VARIANT* Arg(const DISPPARAMS& p, UINT i) {
  if (i >= p.cArgs) return nullptr;
  return &p.rgvarg[p.cArgs - 1 - i];
}

int32_t ArgI4(const DISPPARAMS& p, UINT i) {
  const VARIANT* v = Arg(p, i);
  if (!v) return 0;
  return vomcom::Variant(*v).ToI4(0);
}

std::string ArgText(const DISPPARAMS& p, UINT i) {
  const VARIANT* v = Arg(p, i);
  if (!v) return {};
  return vomcom::Variant(*v).ToText();
}

}  // namespace

HRESULT CtiControls::Connect(IDispatch* control, const char* eventsIid, IDispatch* sink,
                             Connection* out) {
  IID iid{};
  HRESULT hr = VcGuidFromText(eventsIid, &iid);
  if (hr < 0) return hr;
  vomcom::ComPtr<IConnectionPointContainer> container;
  hr = control->QueryInterface(IID_IConnectionPointContainer, container.PutVoid());
  if (hr < 0) return hr;
  hr = container->FindConnectionPoint(iid, out->point.Put());
  if (hr < 0) return hr;
  return out->point->Advise(sink, &out->cookie);
}

std::unique_ptr<CtiControls> CtiControls::Create(IUnknown* site, EventHandler onEvent,
                                                 ReadyAgentHandler onReadyAgent,
                                                 std::string* error) {
  std::unique_ptr<CtiControls> c(new CtiControls());
  HRESULT hr = CreateControl(kMainControlClsid, site, c->telx_);
  if (hr < 0) {
    *error = "the main control cannot be created (" + Hex(hr) + ")";
    return nullptr;
  }
  hr = CreateControl(kEventControlClsid, site, c->evt_);
  if (hr < 0) {
    *error = "the event control cannot be created (" + Hex(hr) + ")";
    return nullptr;
  }
  IID eventsIid{}, readyIid{};
  VcGuidFromText(kEventControlEventsIid, &eventsIid);
  VcGuidFromText(kMainControlEventsIid, &readyIid);
  vomcom::ComPtr<vomcom::DispatchSink> eventSink = vomcom::DispatchSink::Create(
      [onEvent](DISPID id, const DISPPARAMS& p) -> HRESULT {
        if (id == telxevt::vomteleventget && onEvent) onEvent(ArgI4(p, 0));
        return S_OK;
      },
      eventsIid);
  vomcom::ComPtr<vomcom::DispatchSink> readySink = vomcom::DispatchSink::Create(
      [onReadyAgent](DISPID id, const DISPPARAMS& p) -> HRESULT {
        if (id == telx::Vomtelreadyagentgetvalue && onReadyAgent) {
          onReadyAgent(ArgText(p, 0), ArgI4(p, 1), ArgI4(p, 2), ArgI4(p, 3));
        }
        return S_OK;
      },
      readyIid);
  c->eventSink_ = vomcom::ComPtr<IDispatch>(eventSink.Get());
  c->readySink_ = vomcom::ComPtr<IDispatch>(readySink.Get());
  hr = Connect(c->evt_.Get(), kEventControlEventsIid, c->eventSink_.Get(), &c->eventConnection_);
  if (hr < 0) {
    *error = "the event control's events cannot be connected (" + Hex(hr) + ")";
    return nullptr;
  }
  hr = Connect(c->telx_.Get(), kMainControlEventsIid, c->readySink_.Get(), &c->readyConnection_);
  if (hr < 0) {
    *error = "the main control's events cannot be connected (" + Hex(hr) + ")";
    return nullptr;
  }
  return c;
}

CtiControls::~CtiControls() {
  for (Connection* c : {&eventConnection_, &readyConnection_}) {
    if (c->point && c->cookie) c->point->Unadvise(c->cookie);
  }
  Detach(evt_.Get());
  Detach(telx_.Get());
}

}  // namespace agentphone
