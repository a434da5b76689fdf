// A small control over the framework, shared by the tests of dispatch and of the control base.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "vomcom/control_base.h"

namespace sample {

// {9767D0AF-7F61-4AA7-99F6-348A55DAD1B5}
inline constexpr CLSID kClsid = {0x9767D0AF, 0x7F61, 0x4AA7,
                                 {0x99, 0xF6, 0x34, 0x8A, 0x55, 0xDA, 0xD1, 0xB5}};
inline constexpr IID kDispIid = {0x84D1100B, 0x72A6, 0x4363,
                                 {0xB8, 0xAD, 0xC9, 0x26, 0xF0, 0x69, 0x7F, 0x3E}};
inline constexpr IID kEventsIid = {0x89D8C1D6, 0xDF90, 0x45C7,
                                   {0xBA, 0xCF, 0x5F, 0xED, 0xE4, 0x55, 0x1A, 0x7D}};
inline constexpr CLSID kPage = {0xCA953A99, 0x6A9D, 0x43F0,
                                {0xBE, 0xDB, 0xD5, 0xEC, 0x25, 0x65, 0x7A, 0xF7}};

class Control : public vomcom::ControlBase<Control> {
 public:
  static const vomcom::ControlClass kClass;
  static const vomcom::Member<Control> kMembers[7];

  HRESULT GetName(VARIANT* r) {
    r->vt = VT_BSTR;
    r->bstrVal = vomcom::Bstr::FromNarrow(name.c_str(), name.size()).Detach();
    return S_OK;
  }
  HRESULT PutName(const VARIANT& v) {
    name = vomcom::Bstr::Copy(v.bstrVal).ToNarrow();
    SetModified();
    return S_OK;
  }
  HRESULT GetCount(VARIANT* r) {
    r->vt = VT_I4;
    r->lVal = count;
    return S_OK;
  }
  HRESULT PutCount(const VARIANT& v) {
    count = v.lVal;
    return S_OK;
  }
  HRESULT GetVersion(VARIANT* r) {
    r->vt = VT_I4;
    r->lVal = 3;
    return S_OK;
  }
  // Subtract(a, b) = a - b: shows the argument order.
  HRESULT Subtract(const vomcom::Args& a, VARIANT* r) {
    r->vt = VT_I4;
    r->lVal = a.I4(0) - a.I4(1);
    return S_OK;
  }
  // Fill(long*, BSTR*): writes through its references.
  HRESULT Fill(const vomcom::Args& a, VARIANT*) {
    *a.Ref(0)->plVal = 99;
    BSTR* text = a.Ref(1)->pbstrVal;
    SysFreeString(*text);
    *text = SysAllocString(u"filled");
    return S_OK;
  }
  HRESULT Fail(const vomcom::Args&, VARIANT*) { throw std::runtime_error("the handler failed"); }
  HRESULT Fire(const vomcom::Args& a, VARIANT*) {
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[0].vt = VT_I4;
    args[0].lVal = a.I4(0);
    args[1].vt = VT_I4;
    args[1].lVal = a.I4(0) * 10;
    return FireEvent(1, std::span<VARIANT>(args, 2));
  }

  void DoPropExchange(vomcom::PropExchange& px) {
    px.Version(0x00010000);
    BaseExchange(px);
    px.Text("Name", name, "default");
    px.Long("Count", count, 5);
  }

  // Exposed for the tests.
  using ControlBase::FireEvent;
  using ControlBase::KillTimer;
  using ControlBase::SetTimer;
  using ControlBase::ShowMessage;
  using ControlBase::TimerCount;

  std::function<void(UINT_PTR)> onTimer;
  std::string name;
  int32_t count = 0;

 protected:
  void OnTimer(UINT_PTR id) override {
    if (onTimer) onTimer(id);
  }
  SIZEL AdjustExtent(const SIZEL& requested) override {
    return {requested.cx > 1000 ? 1000 : requested.cx, requested.cy};
  }
};

inline const CLSID kPages[] = {kPage};

inline const vomcom::ControlClass Control::kClass = {
    kClsid,
    kDispIid,
    kEventsIid,
    {"_DSample", "Dispatch interface for the sample", kDispIid, VC_TYPE_DISPATCH,
     VC_TYPEFLAG_HIDDEN, 0, nullptr},
    kPages,
    true};

using K = vomcom::MemberKind;
inline const vomcom::Member<Control> Control::kMembers[7] = {
    {1, "Name", K::Property, VT_BSTR, {}, true, nullptr, &Control::GetName, &Control::PutName},
    {2, "Count", K::Property, VT_I4, {}, false, nullptr, &Control::GetCount, &Control::PutCount},
    {3, "Version", K::Property, VT_I4, {}, true, nullptr, &Control::GetVersion, nullptr},
    {4, "Subtract", K::Method, VT_I4, {VT_I4, VT_I4}, true, &Control::Subtract},
    {5, "Fill", K::Method, VT_EMPTY, {VT_I4 | VT_BYREF, VT_BSTR | VT_BYREF}, true, &Control::Fill},
    {6, "Fail", K::Method, VT_EMPTY, {}, true, &Control::Fail},
    {7, "Fire", K::Method, VT_EMPTY, {VT_I4}, true, &Control::Fire},
};

// A new control as a host gets it from the class factory.
inline vomcom::ComPtr<IDispatch> Create() {
  vomcom::ComPtr<IDispatch> d;
  vomcom::ClassFactory<Control>::Instance().CreateInstance(nullptr, IID_IDispatch, d.PutVoid());
  return d;
}

inline Control* Of(IDispatch* d) { return static_cast<Control*>(d); }

}  // namespace sample
