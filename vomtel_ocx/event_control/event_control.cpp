#include "vomtel_ocx/event_control/event_control.h"

#include <array>
#include <cstring>
#include <exception>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "vomtel/vomtel.h"
#include "vomtel_ocx/event_control/event_properties.h"
#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/module/control_factories.h"
#include "vomtel_ocx/module/control_surface.h"
#include "vomtel_ocx/module/module_ids.h"
#include "vomtel_ocx/typelib/type_descriptions.h"

namespace vomtelx {
namespace {

using vomcom::Member;
using vomcom::MemberKind;
using Ctrl = EventControl;

constexpr CLSID kPages[] = {kClsidEventPage};
constexpr size_t kMethodCount = 5;
constexpr size_t kMemberCount = kEventPropertyCount + kMethodCount;

template <size_t... Rows>
std::array<Member<Ctrl>, kMemberCount> MakeMembers(std::index_sequence<Rows...>) {
  return {{
      Member<Ctrl>{static_cast<DISPID>(Rows + 1), "", MemberKind::Property, VT_BSTR, {}, true,
                   nullptr, &Ctrl::GetProperty<Rows>, nullptr}...,
      Member<Ctrl>{85, "starttimer", MemberKind::Method, VT_I4, {}, true, &Ctrl::StartTimer},
      Member<Ctrl>{86, "stoptimer", MemberKind::Method, VT_I4, {}, true, &Ctrl::StopTimer},
      Member<Ctrl>{87, "opengate", MemberKind::Method, VT_EMPTY, {VT_I4}, true, &Ctrl::OpenGate},
      Member<Ctrl>{88, "setdelaytime", MemberKind::Method, VT_EMPTY, {VT_I4}, true,
                   &Ctrl::SetDelayTime},
      // Reachable, but not declared in the type library.
      Member<Ctrl>{DISPID_ABOUTBOX, "AboutBox", MemberKind::Method, VT_EMPTY, {}, false,
                   &Ctrl::AboutBox},
  }};
}

// The property rows give each property member its name and whether a put is taken.
std::array<Member<Ctrl>, kMemberCount> BuildMembers() {
  auto members = MakeMembers(std::make_index_sequence<kEventPropertyCount>());
  const auto rows = EventProperties();
  for (size_t i = 0; i < rows.size(); ++i) {
    members[i].name = rows[i].name;
    if (rows[i].writable) members[i].put = &Ctrl::PutIgnored;
  }
  return members;
}

const vomcom::EventMember kEvents[] = {{EventControl::kEventGet, "vomteleventget", {VT_I4}}};

constexpr VARTYPE kLong = VT_I4;

}  // namespace

const vomcom::ControlClass EventControl::kClass = {
    kClsidEventControl, kIidEventDispatch, kIidEventEvents, kEventDispatchType, kPages, true};

std::span<const Member<EventControl>> EventControl::Members() {
  static const auto members = BuildMembers();
  return members;
}

std::span<const vomcom::EventMember> EventControl::EventMembers() { return kEvents; }

vomcom::ComPtr<IVcTypeInfo> EventControl::DispatchTypeInfo() {
  std::vector<VcMemberInfo> members = Table().Describe();
  // The type library declares TokenId as a long; the dispatch table serves it as a text.
  for (VcMemberInfo& m : members) {
    if (std::strcmp(m.name, "TokenId") != 0) continue;
    if (m.kind == VC_MEMBER_PROPGET) m.resultType = kLong;
    if (m.kind == VC_MEMBER_PROPPUT) m.params = &kLong;
  }
  return vomcom::TypeInfo::Create(kEventDispatchType, std::move(members));
}

EventControl::EventControl(EventControlTimings timings)
    : timings_(std::move(timings)), delayMs_(timings_.defaultDelayMs) {}

HRESULT EventControl::Create(const EventControlTimings& timings, REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  EventControl* control = new (std::nothrow) EventControl(timings);
  if (control == nullptr) return E_OUTOFMEMORY;
  control->AddRef();
  control->ResetState();
  const HRESULT hr = control->QueryInterface(riid, out);
  control->Release();
  return hr;
}

HRESULT EventControl::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  if (WrongThread()) return RPC_E_WRONG_THREAD;
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  vomcom::ComPtr<IVcTypeInfo> info = DispatchTypeInfo();
  if (!info) return E_OUTOFMEMORY;
  *out = reinterpret_cast<ITypeInfo*>(static_cast<IUnknown*>(info.Detach()));
  return S_OK;
}

HRESULT EventControl::GetRow(size_t row, VARIANT* result) {
  if (result == nullptr) return S_OK;
  const std::string text = FormatEventField(EventProperties()[row], record_);
  BSTR value = VcBstrFromNarrow(text.c_str(), text.size());
  if (value == nullptr && !text.empty()) return E_OUTOFMEMORY;
  result->vt = VT_BSTR;
  result->bstrVal = value;
  return S_OK;
}

HRESULT EventControl::PutIgnored(const VARIANT&) {
  SetModified();
  return S_OK;
}

HRESULT EventControl::StartTimer(const vomcom::Args&, VARIANT* result) {
  LONG r = -1;
  if (gate_ >= 0) {
    running_ = 1;
    KillTimer(kTimerId);
    r = static_cast<LONG>(SetTimer(kTimerId, static_cast<UINT>(delayMs_)));
  }
  if (result != nullptr) {
    result->vt = VT_I4;
    result->lVal = r;
  }
  return S_OK;
}

HRESULT EventControl::StopTimer(const vomcom::Args&, VARIANT* result) {
  running_ = 0;
  const bool killed = KillTimer(kTimerId);
  KillTimer(kFetchTimerId);  // a run under way ends with the event it last fired
  if (result != nullptr) {
    result->vt = VT_I4;
    result->lVal = killed ? 1 : 0;
  }
  return S_OK;
}

HRESULT EventControl::OpenGate(const vomcom::Args& args, VARIANT*) {
  gate_ = args.I4(0);
  return S_OK;
}

HRESULT EventControl::SetDelayTime(const vomcom::Args& args, VARIANT*) {
  delayMs_ = args.I4(0);
  return S_OK;
}

HRESULT EventControl::AboutBox(const vomcom::Args&, VARIANT*) {
  const AboutTexts about = AboutBoxTexts("vomtel_ocxEvt");
  ShowMessage(about.caption, about.line);
  return S_OK;
}

void EventControl::DoPropExchange(vomcom::PropExchange& px) { px.Version(0x00010000); }

void EventControl::OnDraw(const VcSurface& surface) { DrawControlSurface(surface, 2); }

SIZEL EventControl::AdjustExtent(const SIZEL& requested) { return ForcedExtent(requested); }

void EventControl::Pause(std::chrono::milliseconds ms) {
  if (timings_.sleep) {
    timings_.sleep(ms);
  } else if (ms.count() > 0) {
    std::this_thread::sleep_for(ms);
  }
}

void EventControl::OnTimer(UINT_PTR id) {
  if (id == kFetchTimerId) {
    // The pause before a fetch is over; it is a one-shot and logs nothing of its own.
    KillTimer(kFetchTimerId);
    if (firing_) return;
    RunGuarded(&EventControl::FetchOne);
    return;
  }
  TraceLog("test getevent delayTime [%d]", delayMs_);
  TraceLog("event timer id [%u]", static_cast<unsigned>(id));
  if (id != kTimerId) return;
  RunGuarded(&EventControl::OnPollTick);
}

void EventControl::RunGuarded(void (EventControl::*step)()) {
  // Nothing thrown inside a tick may reach the host's loop.
  try {
    (this->*step)();
  } catch (const std::exception& e) {
    RestartAfterFailure(e.what());
  } catch (...) {
    RestartAfterFailure("unknown exception");
  }
}

void EventControl::RestartAfterFailure(const char* what) {
  std::string text = what != nullptr ? what : "";
  if (text.size() > 1023) text.resize(1023);
  TraceLog("OnTimer CException: %s", text.c_str());
  KillTimer(kFetchTimerId);  // the run ends; the next tick starts another
  KillTimer(kTimerId);
  Pause(timings_.restartPause);
  SetTimer(kTimerId, static_cast<UINT>(delayMs_));
  TraceLog("OnTimer.........!");
}

void EventControl::OnPollTick() {
  // A tick let in by a handler's modal loop, or one that comes while a run is under way, only
  // logs: a second run would zero the record under the handler and fetch events out of turn.
  if (firing_ || TimerSet(kFetchTimerId) || running_ == 0) return;
  ScheduleFetch();
}

bool EventControl::ScheduleFetch() {
  return SetTimer(kFetchTimerId, static_cast<UINT>(timings_.fetchPause.count())) != 0;
}

void EventControl::FetchOne() {
  if (running_ == 0) return;
  std::memset(&record_, 0, sizeof record_);
  const int r = vomtelGetEvent(gate_, &record_, 0);
  TraceLog("getevent return [%d]", r);
  if (r != VOMTEL_OK) return;  // the queue is empty: the run ends until the next tick
  TraceLog("startfire ..........! %d", record_.EventKind);
  if (record_.EventKind == VOMTEL_EVENT_SERVER_DOWN) {
    TraceLog("OnTimer orbaEK_CCSEDown ");
    running_ = 0;
  }
  TraceLog("Fireorbaeventget ..........! GateID[%d]", gate_);
  vomcom::Variant kind(static_cast<int32_t>(record_.EventKind));
  {
    struct FiringScope {
      bool& flag;
      explicit FiringScope(bool& f) : flag(f) { flag = true; }
      ~FiringScope() { flag = false; }
    } scope(firing_);
    FireEvent(kEventGet, std::span<vomcom::Variant>(&kind, 1));
  }
  TraceLog("endfire..........!");
  // The flag is read again after the handlers: a stoptimer among them ends the run after this
  // event (and a 999 did), a starttimer keeps it going.
  if (running_ != 0) ScheduleFetch();
}

// The module's seam.
HRESULT CreateEventControl(REFIID riid, void** out) {
  return EventControl::Create(EventControlTimings{}, riid, out);
}

ControlTypes EventControlTypes() {
  return {EventControl::DispatchTypeInfo(),
          vomcom::MakeEventTypeInfo(kEventEventsType, EventControl::EventMembers())};
}

}  // namespace vomtelx
