// vomcom::ComPtr<T>: owns one reference of an interface pointer.
#pragma once

#include <memory>
#include <utility>

#include "vomcom/automation.h"

namespace vomcom {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a new reference (AddRef); use Attach to adopt one.
  explicit ComPtr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
  ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  ~ComPtr() { Reset(); }
  ComPtr& operator=(const ComPtr& o) {
    if (o.p_) o.p_->AddRef();
    Reset();
    p_ = o.p_;
    return *this;
  }
  ComPtr& operator=(ComPtr&& o) noexcept {
    if (this != std::addressof(o)) {
      Reset();
      p_ = std::exchange(o.p_, nullptr);
    }
    return *this;
  }
  ComPtr& operator=(std::nullptr_t) {
    Reset();
    return *this;
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // Adopts a reference the caller already owns.
  void Attach(T* p) {
    Reset();
    p_ = p;
  }
  // Gives the reference away without Release.
  T* Detach() { return std::exchange(p_, nullptr); }
  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Releases what is held and gives the slot for an out parameter.
  T** Put() {
    Reset();
    return &p_;
  }
  T** operator&() { return Put(); }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  // QueryInterface into another smart pointer.
  template <class U>
  HRESULT As(REFIID iid, ComPtr<U>* out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, out->PutVoid());
  }

 private:
  T* p_ = nullptr;
};

}  // namespace vomcom
