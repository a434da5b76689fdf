// vomcom::ConnectionPoint: the connection point of one outgoing (event) interface whose sinks
// are IDispatch; vomcom::ConnectionPointContainer over a set of them.
//
// Both live inside their owner object: their AddRef/Release go to the owner. Fire calls every
// sink of a snapshot taken when the event starts, so a sink may advise or unadvise (itself or
// another) while an event fires; a sink's failing HRESULT or escaping exception is logged
// through the runtime log (VcLogWrite) and the next sink is called.
#pragma once

#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"
#include "vomcom/variant.h"

namespace vomcom {

class VOMCOM_API ConnectionPoint final : public IConnectionPoint {
 public:
  // owner: the container object (QueryInterface to IID_IConnectionPointContainer); calls from
  // a thread other than the one that made the point give RPC_E_WRONG_THREAD.
  ConnectionPoint(IUnknown* owner, const IID& iid);
  ~ConnectionPoint();
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetConnectionInterface(IID* out) override;
  HRESULT GetConnectionPointContainer(IConnectionPointContainer** out) override;
  // The sink is asked for the outgoing IID, else IID_IDispatch (CONNECT_E_CANNOTCONNECT).
  HRESULT Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT Unadvise(DWORD cookie) override;  // CONNECT_E_NOCONNECTION for an unknown cookie
  HRESULT EnumConnections(IEnumConnections** out) override;

  // Calls Invoke(id, DISPATCH_METHOD) on each sink with the arguments reversed as the platform
  // passes them. S_OK, also when a sink failed.
  HRESULT Fire(DISPID id, std::span<VARIANT> argsInDeclarationOrder);
  HRESULT Fire(DISPID id, std::span<Variant> argsInDeclarationOrder);
  const IID& Iid() const { return iid_; }
  size_t SinkCount() const;
  void DisconnectAll();  // releases every sink

 private:
  struct Connection {
    DWORD cookie;
    ComPtr<IDispatch> sink;
  };
  bool WrongThread() const { return std::this_thread::get_id() != thread_; }

  IUnknown* owner_;
  IID iid_;
  std::thread::id thread_;
  mutable std::mutex mu_;
  std::vector<Connection> sinks_;
  DWORD nextCookie_ = 1;
};

class VOMCOM_API ConnectionPointContainer final : public IConnectionPointContainer {
 public:
  explicit ConnectionPointContainer(IUnknown* owner) : owner_(owner) {}
  void Add(ConnectionPoint* point) { points_.push_back(point); }

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return owner_->AddRef(); }
  ULONG Release() override { return owner_->Release(); }
  HRESULT EnumConnectionPoints(IEnumConnectionPoints** out) override;
  // CONNECT_E_NOCONNECTION and *out null for an IID without a point.
  HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** out) override;

  // Shared with controls that implement IConnectionPointContainer themselves.
  static HRESULT Enumerate(std::span<IConnectionPoint* const> points,
                           IEnumConnectionPoints** out);

 private:
  IUnknown* owner_;
  std::vector<ConnectionPoint*> points_;
};

}  // namespace vomcom
