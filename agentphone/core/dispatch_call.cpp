#include "agentphone/core/dispatch_call.h"

#include <cstdio>

#include "vomcom/bstr.h"

namespace agentphone {
namespace {

VARIANT Blank() {
  VARIANT v;
  VariantInit(&v);
  return v;
}

std::string HexResult(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

}  // namespace

DispatchArgs::~DispatchArgs() {
  for (VARIANT& v : args_) {
    if (!(v.vt & VT_BYREF)) VariantClear(&v);
  }
  for (TextMirror& m : mirrors_) SysFreeString(m.bstr);
}

DispatchArgs& DispatchArgs::I4(int32_t v) {
  VARIANT a = Blank();
  a.vt = VT_I4;
  a.lVal = v;
  args_.push_back(a);
  return *this;
}

DispatchArgs& DispatchArgs::I2(int16_t v) {
  VARIANT a = Blank();
  a.vt = VT_I2;
  a.iVal = v;
  args_.push_back(a);
  return *this;
}

DispatchArgs& DispatchArgs::R8(double v) {
  VARIANT a = Blank();
  a.vt = VT_R8;
  a.dblVal = v;
  args_.push_back(a);
  return *this;
}

DispatchArgs& DispatchArgs::Text(std::string_view utf8) {
  VARIANT a = Blank();
  a.vt = VT_BSTR;
  a.bstrVal = vomcom::Bstr(utf8).Detach();
  args_.push_back(a);
  return *this;
}

DispatchArgs& DispatchArgs::RefI4(int32_t* variable) {
  VARIANT a = Blank();
  a.vt = VT_BYREF | VT_I4;
  a.plVal = variable;
  args_.push_back(a);
  return *this;
}

BSTR* DispatchArgs::MirrorOf(std::string* variable) {
  for (TextMirror& m : mirrors_) {
    if (m.variable == variable) return &m.bstr;
  }
  mirrors_.push_back(TextMirror{variable, vomcom::Bstr(*variable).Detach()});
  return &mirrors_.back().bstr;
}

DispatchArgs& DispatchArgs::RefText(std::string* variable) {
  VARIANT a = Blank();
  a.vt = VT_BYREF | VT_BSTR;
  a.pbstrVal = MirrorOf(variable);
  args_.push_back(a);
  return *this;
}

std::vector<VARIANT> DispatchArgs::Reversed() const {
  return std::vector<VARIANT>(args_.rbegin(), args_.rend());
}

void DispatchArgs::CopyBack() {
  for (TextMirror& m : mirrors_) {
    std::string now = vomcom::Bstr::Copy(m.bstr).Utf8();
    if (now != *m.variable) *m.variable = now;
  }
}

void InvokeMember(IDispatch* object, DISPID id, WORD flags, DispatchArgs& args, VARIANT* result,
                  std::string_view what) {
  if (!object) throw DispatchError(std::string(what) + ": no control", E_POINTER);
  std::vector<VARIANT> reversed = args.Reversed();
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  params.cArgs = static_cast<UINT>(reversed.size());
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
  }
  EXCEPINFO info{};
  UINT argErr = 0;
  HRESULT hr = object->Invoke(id, IID_NULL, 0, flags, &params, result, &info, &argErr);
  std::string description;
  if (info.bstrDescription) description = vomcom::Bstr::Copy(info.bstrDescription).Utf8();
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
  if (hr < 0) {
    std::string text = std::string(what) + " failed (" + HexResult(hr) + ")";
    if (!description.empty()) text += ": " + description;
    throw DispatchError(text, hr);
  }
  args.CopyBack();
}

void PutProperty(IDispatch* object, DISPID id, DispatchArgs& value, std::string_view what) {
  InvokeMember(object, id, DISPATCH_PROPERTYPUT, value, nullptr, what);
}

int32_t GetI4Property(IDispatch* object, DISPID id, std::string_view what) {
  DispatchArgs none;
  VARIANT result = Blank();
  InvokeMember(object, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, none, &result, what);
  VARIANT converted = Blank();
  HRESULT hr = VariantChangeType(&converted, &result, 0, VT_I4);
  VariantClear(&result);
  if (hr < 0) throw DispatchError(std::string(what) + " is not a number", hr);
  return converted.lVal;
}

std::string GetTextProperty(IDispatch* object, DISPID id, std::string_view what) {
  DispatchArgs none;
  VARIANT result = Blank();
  InvokeMember(object, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, none, &result, what);
  VARIANT converted = Blank();
  HRESULT hr = VariantChangeType(&converted, &result, 0, VT_BSTR);
  VariantClear(&result);
  if (hr < 0) throw DispatchError(std::string(what) + " is not a text", hr);
  std::string text = vomcom::Bstr::Attach(converted.bstrVal).Utf8();
  return text;
}

int32_t CallI4Method(IDispatch* object, DISPID id, DispatchArgs& args, std::string_view what) {
  VARIANT result = Blank();
  InvokeMember(object, id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, &result, what);
  if (result.vt == VT_EMPTY) return 0;
  VARIANT converted = Blank();
  HRESULT hr = VariantChangeType(&converted, &result, 0, VT_I4);
  VariantClear(&result);
  if (hr < 0) throw DispatchError(std::string(what) + " gave no number", hr);
  return converted.lVal;
}

}  // namespace agentphone
