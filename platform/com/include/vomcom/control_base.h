// vomcom::ControlBase<T>: the framework of a control, and vomcom::ClassFactory<T>.
//
// A control derives from ControlBase<Self> and provides:
//   static const vomcom::ControlClass kClass;        // identities, pages, object safety
//   static const vomcom::Member<Self> kMembers[N];   // the member table (declare it with its
//                                                    // size, or give static Members() instead)
//   void DoPropExchange(vomcom::PropExchange& px);   // optional: Version, BaseExchange, props
// and may override the hooks OnTimer, OnDraw, AdjustExtent, and any interface method.
//
// The control serves IUnknown, IDispatch (also under kClass.dispatchIid) over its table,
// GetTypeInfo from the same table, IConnectionPointContainer with one connection point for
// kClass.eventsIid, IPersistPropertyBag, IVcControl and, when kClass.objectSafety, IObjectSafety.
// Every HRESULT method called from a thread other than the creator's returns
// RPC_E_WRONG_THREAD. The control's timers are killed when its site is detached or replaced and
// when it is destroyed; it holds itself alive while it fires an event, runs a tick, shows a
// message or runs Invoke. Header-only: the code lives in the module and counts there for
// DllCanUnloadNow (vomcom::Module).
#pragma once

#include <atomic>
#include <exception>
#include <new>
#include <set>
#include <span>
#include <thread>
#include <vector>

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"
#include "vomcom/connection_point.h"
#include "vomcom/dispatch_table.h"
#include "vomcom/module.h"
#include "vomcom/prop_exchange.h"
#include "vomcom/type_info.h"
#include "vomcom/variant.h"

namespace vomcom {

struct ControlClass {
  CLSID clsid;
  IID dispatchIid;
  IID eventsIid;            // IID_NULL: no connection point
  VcInterfaceInfo dispatchType;  // name, doc string, guid and flags of the type-info view
  std::span<const CLSID> pages;  // property pages, in order
  bool objectSafety;
};

template <class T>
class ControlBase : public IDispatch,
                    public IConnectionPointContainer,
                    public IPersistPropertyBag,
                    public IVcControl,
                    public IObjectSafety {
 public:
  ControlBase()
      : thread_(std::this_thread::get_id()),
        events_(static_cast<IDispatch*>(this), T::kClass.eventsIid),
        timerSink_(new TimerSink(this)) {}
  ControlBase(const ControlBase&) = delete;
  ControlBase& operator=(const ControlBase&) = delete;

  static const DispatchTable<T>& Table() {
    static const DispatchTable<T> table(MemberSpan());
    return table;
  }

  // --- IUnknown -----------------------------------------------------------------------------
  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    IUnknown* p = nullptr;
    if (IsEqualIID(iid, IID_IUnknown))
      p = static_cast<IDispatch*>(this);
    else if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, T::kClass.dispatchIid))
      p = static_cast<IDispatch*>(this);
    else if (IsEqualIID(iid, IID_IConnectionPointContainer))
      p = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(iid, IID_IPersistPropertyBag))
      p = static_cast<IPersistPropertyBag*>(this);
    else if (IsEqualIID(iid, IID_IVcControl))
      p = static_cast<IVcControl*>(this);
    else if (T::kClass.objectSafety && IsEqualIID(iid, IID_IObjectSafety))
      p = static_cast<IObjectSafety*>(this);
    else
      p = QueryExtraInterface(iid);
    if (!p) return E_NOINTERFACE;
    p->AddRef();
    *out = p;
    return S_OK;
  }
  ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }
  ULONG Release() override {
    ULONG n = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (n == 0) delete static_cast<T*>(this);
    return n;
  }

  // --- IDispatch ----------------------------------------------------------------------------
  HRESULT GetTypeInfoCount(UINT* count) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ComPtr<IVcTypeInfo> info = Table().MakeTypeInfo(T::kClass.dispatchType);
    if (!info) return E_OUTOFMEMORY;
    // The object behind ITypeInfo is an IUnknown that answers IID_IVcTypeInfo.
    *out = reinterpret_cast<ITypeInfo*>(static_cast<IUnknown*>(info.Detach()));
    return S_OK;
  }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    return Table().GetIDsOfNames(names, count, ids);
  }
  HRESULT Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excepInfo, UINT* argErr) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<IDispatch> alive(static_cast<IDispatch*>(this));
    return Table().Invoke(Self(), id, flags, params, result, excepInfo, argErr);
  }

  // --- IConnectionPointContainer ------------------------------------------------------------
  HRESULT EnumConnectionPoints(IEnumConnectionPoints** out) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    IConnectionPoint* points[1] = {&events_};
    return ConnectionPointContainer::Enumerate(
        std::span<IConnectionPoint* const>(points, HasEvents() ? 1 : 0), out);
  }
  HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** out) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!HasEvents() || !IsEqualIID(iid, T::kClass.eventsIid)) return CONNECT_E_NOCONNECTION;
    events_.AddRef();
    *out = &events_;
    return S_OK;
  }

  // --- IPersistPropertyBag ------------------------------------------------------------------
  HRESULT GetClassID(CLSID* out) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!out) return E_POINTER;
    *out = T::kClass.clsid;
    return S_OK;
  }
  HRESULT InitNew() override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    ResetState();
    return S_OK;
  }
  HRESULT Load(IPropertyBag* bag, IErrorLog*) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!bag) return E_POINTER;
    PropExchange px(PropExchange::Mode::Load, bag);
    HRESULT hr = RunExchange(px);
    dirty_ = false;
    return hr;
  }
  HRESULT Save(IPropertyBag* bag, BOOL clearDirty, BOOL) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!bag) return E_POINTER;
    PropExchange px(PropExchange::Mode::Save, bag);
    HRESULT hr = RunExchange(px);
    if (SUCCEEDED(hr) && clearDirty) dirty_ = false;
    return hr;
  }
  HRESULT IsDirty() override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    return dirty_ ? S_OK : S_FALSE;
  }

  // --- IVcControl ---------------------------------------------------------------------------
  HRESULT SetClientSite(IUnknown* site) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (site == site_.Get()) return S_OK;
    KillAllTimers();
    ComPtr<IUnknown> keep(site);
    site_ = keep;
    timers_ = nullptr;
    ui_ = nullptr;
    if (site) {
      site->QueryInterface(IID_IVcTimerService, timers_.PutVoid());
      site->QueryInterface(IID_IVcUserInterface, ui_.PutVoid());
    }
    return S_OK;
  }
  HRESULT GetClientSite(IUnknown** out) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!out) return E_POINTER;
    *out = ComPtr<IUnknown>(site_).Detach();
    return S_OK;
  }
  HRESULT SetExtent(const SIZEL* size) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!size) return E_POINTER;
    extent_ = AdjustExtent(*size);
    return S_OK;
  }
  HRESULT GetExtent(SIZEL* out) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!out) return E_POINTER;
    *out = extent_;
    return S_OK;
  }
  HRESULT Draw(VcSurface* surface) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!surface) return E_POINTER;
    if (surface->width < 0 || surface->height < 0 ||
        (surface->width > 0 && surface->height > 0 &&
         (!surface->rgba || surface->stride < surface->width * 4)))
      return E_INVALIDARG;
    OnDraw(*surface);
    return S_OK;
  }
  HRESULT GetPages(CLSID* out, ULONG capacity, ULONG* count) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!count || (capacity > 0 && !out)) return E_POINTER;
    std::span<const CLSID> pages = T::kClass.pages;
    *count = static_cast<ULONG>(pages.size());
    for (size_t i = 0; i < pages.size() && i < capacity; ++i) out[i] = pages[i];
    return S_OK;
  }

  // --- IObjectSafety (served only when kClass.objectSafety) ----------------------------------
  // Both options are always on: Get reports 3 and 3 (E_NOINTERFACE for an interface the control
  // does not offer); Set accepts a mask within the two options when every bit of it is enabled.
  HRESULT GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!supported || !enabled) return E_POINTER;
    constexpr DWORD kBoth = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
    *supported = kBoth;
    *enabled = kBoth;
    return Offers(iid) ? S_OK : E_NOINTERFACE;
  }
  HRESULT SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override {
    if (WrongThread()) return RPC_E_WRONG_THREAD;
    if (!Offers(iid)) return E_NOINTERFACE;
    constexpr DWORD kBoth = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
    if (mask & ~kBoth) return E_FAIL;
    return (enabled & mask) == mask ? S_OK : E_FAIL;
  }

 protected:
  virtual ~ControlBase() {
    KillAllTimers();
    timerSink_->Detach();
    events_.DisconnectAll();
  }

  // --- hooks --------------------------------------------------------------------------------
  virtual void OnTimer(UINT_PTR /*id*/) {}
  virtual void OnDraw(const VcSurface& /*surface*/) {}
  // The extent that a request (or a load) results in; the default takes it as asked.
  virtual SIZEL AdjustExtent(const SIZEL& requested) { return requested; }
  // Further interfaces of the control (AddRef is done by the caller); null when none.
  virtual IUnknown* QueryExtraInterface(REFIID) { return nullptr; }

  // The default exchange: the version 1.0 and the base state.
  void DoPropExchange(PropExchange& px) {
    px.Version(0x00010000);
    BaseExchange(px);
  }
  // The framework's own state: the extent.
  void BaseExchange(PropExchange& px) {
    SIZEL e = extent_;
    px.Long("_ExtentX", e.cx, extent_.cx);
    px.Long("_ExtentY", e.cy, extent_.cy);
    if (px.IsLoading()) extent_ = AdjustExtent(e);
  }

  // --- services for the control -------------------------------------------------------------
  // Runs the exchange with defaults (a new control); done by ClassFactory and InitNew.
  void ResetState() {
    PropExchange px(PropExchange::Mode::Reset, nullptr);
    RunExchange(px);
    dirty_ = false;
  }
  void SetModified(bool modified = true) { dirty_ = modified; }
  bool IsModified() const { return dirty_; }

  // Starts or replaces a periodic timer through the site; returns id, or 0 without a site.
  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) {
    if (!timers_) return 0;
    UINT_PTR r = timers_->SetTimer(timerSink_.Get(), id, elapseMs);
    if (r != 0) timerIds_.insert(r);
    return r;
  }
  // Whether the timer existed.
  bool KillTimer(UINT_PTR id) {
    timerIds_.erase(id);
    return timers_ && timers_->KillTimer(timerSink_.Get(), id) != FALSE;
  }
  size_t TimerCount() const { return timerIds_.size(); }
  // Whether the control's timer `id` is set (killed timers and those of a former site are not).
  bool TimerSet(UINT_PTR id) const { return timerIds_.count(id) != 0; }

  // A modal message through the site's user interface; S_FALSE and nothing shown without one.
  HRESULT ShowMessage(const char* captionUtf8, const char* textUtf8) {
    if (!ui_) return S_FALSE;
    ComPtr<IDispatch> alive(static_cast<IDispatch*>(this));
    ComPtr<IVcUserInterface> ui = ui_;
    return ui->ShowMessage(captionUtf8, textUtf8);
  }

  // Fires one event to every sink, the control kept alive meanwhile.
  HRESULT FireEvent(DISPID id, std::span<VARIANT> args) {
    ComPtr<IDispatch> alive(static_cast<IDispatch*>(this));
    return events_.Fire(id, args);
  }
  HRESULT FireEvent(DISPID id, std::span<Variant> args) {
    ComPtr<IDispatch> alive(static_cast<IDispatch*>(this));
    return events_.Fire(id, args);
  }
  HRESULT FireEvent(DISPID id) { return FireEvent(id, std::span<VARIANT>()); }

  IUnknown* ClientSite() const { return site_.Get(); }
  ConnectionPoint& Events() { return events_; }
  bool WrongThread() const { return std::this_thread::get_id() != thread_; }
  const SIZEL& Extent() const { return extent_; }

 private:
  template <class>
  friend class ClassFactory;

  // The timer sink given to the site: a small object of its own, so the site's references keep
  // it and not the control; it forwards ticks only while the control lives.
  class TimerSink final : public IVcTimerSink {
   public:
    explicit TimerSink(ControlBase* owner) : owner_(owner) {}
    void Detach() { owner_ = nullptr; }
    HRESULT QueryInterface(REFIID iid, void** out) override {
      if (!out) return E_POINTER;
      if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IVcTimerSink)) {
        *out = static_cast<IVcTimerSink*>(this);
        AddRef();
        return S_OK;
      }
      *out = nullptr;
      return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
      ULONG n = --refs_;
      if (n == 0) delete this;
      return n;
    }
    void OnTimer(UINT_PTR id) override {
      if (!owner_) return;
      ComPtr<IDispatch> alive(static_cast<IDispatch*>(owner_));
      owner_->OnTimer(id);
    }

   private:
    ~TimerSink() = default;
    ModuleLock lock_;
    std::atomic<ULONG> refs_{0};
    ControlBase* owner_;
  };

  static std::span<const Member<T>> MemberSpan() {
    if constexpr (requires { T::Members(); })
      return T::Members();
    else
      return std::span<const Member<T>>(T::kMembers);
  }
  static bool HasEvents() { return !IsEqualIID(T::kClass.eventsIid, IID_NULL); }
  T& Self() { return static_cast<T&>(*this); }
  HRESULT RunExchange(PropExchange& px) {
    try {
      Self().DoPropExchange(px);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_FAIL;
    }
    return px.Result();
  }
  bool Offers(REFIID iid) {
    ComPtr<IUnknown> p;
    return SUCCEEDED(QueryInterface(iid, p.PutVoid()));
  }
  void KillAllTimers() {
    if (timers_) {
      for (UINT_PTR id : timerIds_) timers_->KillTimer(timerSink_.Get(), id);
    }
    timerIds_.clear();
  }

  ModuleLock lock_;
  std::atomic<ULONG> refs_{0};
  std::thread::id thread_;
  ConnectionPoint events_;
  ComPtr<TimerSink> timerSink_;
  ComPtr<IUnknown> site_;
  ComPtr<IVcTimerService> timers_;
  ComPtr<IVcUserInterface> ui_;
  std::set<UINT_PTR> timerIds_;
  SIZEL extent_{2540, 2540};
  bool dirty_ = false;
};

// The class factory of T: one static object per class; its references and LockServer count for
// the module. A new object is reset to its defaults before it is handed out.
template <class T>
class ClassFactory final : public IClassFactory {
 public:
  static ClassFactory& Instance() {
    static ClassFactory factory;
    return factory;
  }
  // For DllGetClassObject: the factory under iid.
  static HRESULT GetClassObject(REFIID iid, void** out) {
    return Instance().QueryInterface(iid, out);
  }

  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override {
    Module::Lock();
    return 2;
  }
  ULONG Release() override {
    Module::Unlock();
    return 1;
  }
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    T* object = nullptr;
    try {
      object = new T();
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_FAIL;
    }
    object->AddRef();
    if constexpr (requires { object->ResetState(); }) object->ResetState();
    HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
  }
  HRESULT LockServer(BOOL lock) override {
    if (lock)
      Module::Lock();
    else
      Module::Unlock();
    return S_OK;
  }

 private:
  ClassFactory() = default;
};

}  // namespace vomcom
