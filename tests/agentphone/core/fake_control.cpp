#include "fake_control.h"

#include <cstring>

#include "vomcom/bstr.h"

namespace agentphone::test {

std::vector<RecordedCall> FakeControl::CallsOf(DISPID id) const {
  std::vector<RecordedCall> out;
  for (const RecordedCall& c : calls) {
    if (c.id == id) out.push_back(c);
  }
  return out;
}

HRESULT FakeControl::QueryInterface(REFIID iid, void** out) {
  if (std::memcmp(&iid, &IID_IUnknown, sizeof(IID)) == 0 ||
      std::memcmp(&iid, &IID_IDispatch, sizeof(IID)) == 0) {
    *out = static_cast<IDispatch*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT FakeControl::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT FakeControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                            VARIANT* result, EXCEPINFO*, UINT*) {
  RecordedCall call;
  call.id = id;
  call.flags = flags;
  for (UINT i = params ? params->cArgs : 0; i > 0; --i) {
    const VARIANT& v = params->rgvarg[i - 1];
    RecordedArg a;
    a.vt = v.vt;
    switch (v.vt) {
      case VT_I4: a.i4 = v.lVal; break;
      case VT_I2: a.i4 = v.iVal; break;
      case VT_R8: a.r8 = v.dblVal; break;
      case VT_BSTR: a.text = vomcom::Bstr::Copy(v.bstrVal).Utf8(); break;
      case VT_BYREF | VT_I4: a.ref = v.plVal; a.i4 = *v.plVal; break;
      case VT_BYREF | VT_BSTR: a.ref = v.pbstrVal; a.text = vomcom::Bstr::Copy(*v.pbstrVal).Utf8(); break;
      default: break;
    }
    call.args.push_back(a);
  }
  calls.push_back(call);
  if (auto f = failures.find(id); f != failures.end()) return f->second;

  if (flags & DISPATCH_PROPERTYPUT) {
    if (!call.args.empty()) {
      const RecordedArg& a = call.args.back();
      if (a.vt == VT_BSTR) texts[id] = a.text;
      else if (a.vt == VT_R8) numbers[id] = static_cast<int32_t>(a.r8);
      else numbers[id] = a.i4;
    }
    return S_OK;
  }
  if (params && params->cArgs == 0 && (numbers.count(id) || texts.count(id))) {
    if (result) {
      if (auto n = numbers.find(id); n != numbers.end()) {
        result->vt = VT_I4;
        result->lVal = n->second;
      } else {
        result->vt = VT_BSTR;
        result->bstrVal = vomcom::Bstr(texts[id]).Detach();
      }
    }
    return S_OK;
  }
  if (onCall) onCall(id);
  int32_t r = 1;
  if (auto q = results.find(id); q != results.end() && !q->second.empty()) {
    r = q->second.front();
    q->second.pop_front();
  }
  if (result) {
    result->vt = VT_I4;
    result->lVal = r;
  }
  return S_OK;
}

}  // namespace agentphone::test
