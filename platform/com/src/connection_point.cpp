// Connection points: advise by cookie, fire to a snapshot of the sinks.
#include "vomcom/connection_point.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <new>

namespace vomcom {
namespace {

// Enumerators over a copy of the items taken when the enumerator is made.
class ConnectionsEnum final : public IEnumConnections {
 public:
  explicit ConnectionsEnum(std::vector<CONNECTDATA> items) : items_(std::move(items)) {
    for (auto& c : items_) c.pUnk->AddRef();
  }
  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumConnections)) {
      *out = static_cast<IEnumConnections*>(this);
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
  HRESULT Next(ULONG count, CONNECTDATA* out, ULONG* fetched) override {
    if (!out && count > 0) return E_POINTER;
    ULONG n = 0;
    for (; n < count && pos_ < items_.size(); ++n, ++pos_) {
      out[n] = items_[pos_];
      out[n].pUnk->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    size_t left = items_.size() - pos_;
    pos_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    pos_ = 0;
    return S_OK;
  }
  HRESULT Clone(IEnumConnections** out) override {
    if (!out) return E_POINTER;
    auto* c = new (std::nothrow) ConnectionsEnum(items_);
    if (!c) return E_OUTOFMEMORY;
    c->pos_ = pos_;
    c->AddRef();
    *out = c;
    return S_OK;
  }

 private:
  ~ConnectionsEnum() {
    for (auto& c : items_) c.pUnk->Release();
  }
  std::atomic<ULONG> refs_{0};
  std::vector<CONNECTDATA> items_;
  size_t pos_ = 0;
};

class PointsEnum final : public IEnumConnectionPoints {
 public:
  explicit PointsEnum(std::vector<IConnectionPoint*> items) : items_(std::move(items)) {
    for (auto* p : items_) p->AddRef();
  }
  HRESULT QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumConnectionPoints)) {
      *out = static_cast<IEnumConnectionPoints*>(this);
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
  HRESULT Next(ULONG count, IConnectionPoint** out, ULONG* fetched) override {
    if (!out && count > 0) return E_POINTER;
    ULONG n = 0;
    for (; n < count && pos_ < items_.size(); ++n, ++pos_) {
      out[n] = items_[pos_];
      out[n]->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    size_t left = items_.size() - pos_;
    pos_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    pos_ = 0;
    return S_OK;
  }
  HRESULT Clone(IEnumConnectionPoints** out) override {
    if (!out) return E_POINTER;
    auto* c = new (std::nothrow) PointsEnum(items_);
    if (!c) return E_OUTOFMEMORY;
    c->pos_ = pos_;
    c->AddRef();
    *out = c;
    return S_OK;
  }

 private:
  ~PointsEnum() {
    for (auto* p : items_) p->Release();
  }
  std::atomic<ULONG> refs_{0};
  std::vector<IConnectionPoint*> items_;
  size_t pos_ = 0;
};

void LogSinkFailure(DISPID id, DWORD cookie, const char* what, HRESULT hr) {
  char line[512];
  if (what)
    std::snprintf(line, sizeof line, "event %d: sink %u threw: %s", id, cookie, what);
  else
    std::snprintf(line, sizeof line, "event %d: sink %u failed: 0x%08X", id, cookie,
                  static_cast<unsigned>(hr));
  VcLogWrite(line);
}

}  // namespace

ConnectionPoint::ConnectionPoint(IUnknown* owner, const IID& iid)
    : owner_(owner), iid_(iid), thread_(std::this_thread::get_id()) {}

ConnectionPoint::~ConnectionPoint() { DisconnectAll(); }

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG ConnectionPoint::AddRef() { return owner_->AddRef(); }
ULONG ConnectionPoint::Release() { return owner_->Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID* out) {
  if (!out) return E_POINTER;
  *out = iid_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  if (!out) return E_POINTER;
  return owner_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(out));
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (WrongThread()) return RPC_E_WRONG_THREAD;
  if (!cookie) return E_POINTER;
  *cookie = 0;
  if (!sink) return E_POINTER;
  ComPtr<IDispatch> d;
  if (FAILED(sink->QueryInterface(iid_, d.PutVoid())) &&
      FAILED(sink->QueryInterface(IID_IDispatch, d.PutVoid())))
    return CONNECT_E_CANNOTCONNECT;
  std::lock_guard<std::mutex> lock(mu_);
  if (nextCookie_ == 0) return CONNECT_E_ADVISELIMIT;
  DWORD c = nextCookie_++;
  sinks_.push_back({c, std::move(d)});
  *cookie = c;
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  if (WrongThread()) return RPC_E_WRONG_THREAD;
  ComPtr<IDispatch> released;  // released after the lock
  std::lock_guard<std::mutex> lock(mu_);
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->cookie == cookie) {
      released = std::move(it->sink);
      sinks_.erase(it);
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (WrongThread()) return RPC_E_WRONG_THREAD;
  if (!out) return E_POINTER;
  *out = nullptr;
  std::vector<CONNECTDATA> items;
  {
    std::lock_guard<std::mutex> lock(mu_);
    for (const auto& c : sinks_) items.push_back({c.sink.Get(), c.cookie});
  }
  auto* e = new (std::nothrow) ConnectionsEnum(std::move(items));
  if (!e) return E_OUTOFMEMORY;
  e->AddRef();
  *out = e;
  return S_OK;
}

HRESULT ConnectionPoint::Fire(DISPID id, std::span<VARIANT> args) {
  std::vector<Connection> snapshot;
  {
    std::lock_guard<std::mutex> lock(mu_);
    snapshot = sinks_;
  }
  if (snapshot.empty()) return S_OK;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  for (const Connection& c : snapshot) {
    DISPPARAMS dp{reversed.empty() ? nullptr : reversed.data(), nullptr,
                  static_cast<UINT>(reversed.size()), 0};
    try {
      HRESULT hr = c.sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &dp, nullptr, nullptr,
                                  nullptr);
      if (FAILED(hr)) LogSinkFailure(id, c.cookie, nullptr, hr);
    } catch (const std::exception& e) {
      LogSinkFailure(id, c.cookie, e.what(), E_FAIL);
    } catch (...) {
      LogSinkFailure(id, c.cookie, "unknown exception", E_FAIL);
    }
  }
  return S_OK;
}

HRESULT ConnectionPoint::Fire(DISPID id, std::span<Variant> args) {
  // A shallow view: the values stay owned by args; BYREF pointers reach the caller's storage.
  std::vector<VARIANT> view;
  view.reserve(args.size());
  for (Variant& v : args) view.push_back(*v.Get());
  return Fire(id, std::span<VARIANT>(view));
}

size_t ConnectionPoint::SinkCount() const {
  std::lock_guard<std::mutex> lock(mu_);
  return sinks_.size();
}

void ConnectionPoint::DisconnectAll() {
  std::vector<Connection> gone;
  {
    std::lock_guard<std::mutex> lock(mu_);
    gone.swap(sinks_);
  }
}

HRESULT ConnectionPointContainer::QueryInterface(REFIID iid, void** out) {
  return owner_->QueryInterface(iid, out);
}

HRESULT ConnectionPointContainer::EnumConnectionPoints(IEnumConnectionPoints** out) {
  std::vector<IConnectionPoint*> points(points_.begin(), points_.end());
  return Enumerate(points, out);
}

HRESULT ConnectionPointContainer::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  for (ConnectionPoint* p : points_) {
    if (IsEqualIID(p->Iid(), iid)) {
      p->AddRef();
      *out = p;
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

HRESULT ConnectionPointContainer::Enumerate(std::span<IConnectionPoint* const> points,
                                            IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  auto* e = new (std::nothrow) PointsEnum(std::vector<IConnectionPoint*>(points.begin(), points.end()));
  if (!e) return E_OUTOFMEMORY;
  e->AddRef();
  *out = e;
  return S_OK;
}

}  // namespace vomcom
