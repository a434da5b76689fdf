// One pass of a property exchange over an IPropertyBag.
#include "vomcom/prop_exchange.h"

#include "vomcom/bstr.h"

namespace vomcom {

bool PropExchange::ReadValue(const char* name, VARTYPE vt, VARIANT* out) {
  VariantInit(out);
  if (mode_ != Mode::Load || !bag_) return false;
  out->vt = vt;  // asks the bag for this type
  Bstr n(name);
  HRESULT hr = bag_->Read(n.Get() ? n.Get() : u"", out, nullptr);
  if (FAILED(hr)) {
    VariantClear(out);
    return false;
  }
  if (out->vt != vt) {
    HRESULT c = VariantChangeType(out, out, 0, vt);
    if (FAILED(c)) {
      VariantClear(out);
      return false;
    }
  }
  return true;
}

void PropExchange::WriteValue(const char* name, VARIANT* value) {
  if (!bag_) return;
  Bstr n(name);
  HRESULT hr = bag_->Write(n.Get() ? n.Get() : u"", value);
  if (FAILED(hr) && SUCCEEDED(result_)) result_ = hr;
}

void PropExchange::Version(uint32_t version) {
  int32_t v = static_cast<int32_t>(version);
  Long("_Version", v, static_cast<int32_t>(version));
  loadedVersion_ = static_cast<uint32_t>(v);
}

void PropExchange::Long(const char* name, int32_t& value, int32_t defaultValue) {
  VARIANT v;
  switch (mode_) {
    case Mode::Reset:
      value = defaultValue;
      break;
    case Mode::Load:
      value = ReadValue(name, VT_I4, &v) ? v.lVal : defaultValue;
      break;
    case Mode::Save:
      VariantInit(&v);
      v.vt = VT_I4;
      v.lVal = value;
      WriteValue(name, &v);
      break;
  }
}

void PropExchange::Short(const char* name, int16_t& value, int16_t defaultValue) {
  VARIANT v;
  switch (mode_) {
    case Mode::Reset:
      value = defaultValue;
      break;
    case Mode::Load:
      value = ReadValue(name, VT_I2, &v) ? v.iVal : defaultValue;
      break;
    case Mode::Save:
      VariantInit(&v);
      v.vt = VT_I2;
      v.iVal = value;
      WriteValue(name, &v);
      break;
  }
}

void PropExchange::Bool(const char* name, bool& value, bool defaultValue) {
  VARIANT v;
  switch (mode_) {
    case Mode::Reset:
      value = defaultValue;
      break;
    case Mode::Load:
      value = ReadValue(name, VT_BOOL, &v) ? v.boolVal != 0 : defaultValue;
      break;
    case Mode::Save:
      VariantInit(&v);
      v.vt = VT_BOOL;
      v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
      WriteValue(name, &v);
      break;
  }
}

void PropExchange::Bool(const char* name, int32_t& value, bool defaultValue) {
  bool b = value != 0;
  Bool(name, b, defaultValue);
  if (IsLoading()) value = b ? 1 : 0;
}

void PropExchange::Text(const char* name, std::string& narrowValue,
                        std::string_view narrowDefault) {
  VARIANT v;
  switch (mode_) {
    case Mode::Reset:
      narrowValue.assign(narrowDefault);
      break;
    case Mode::Load:
      if (ReadValue(name, VT_BSTR, &v)) {
        narrowValue = Bstr::Attach(v.bstrVal).ToNarrow();
      } else {
        narrowValue.assign(narrowDefault);
      }
      break;
    case Mode::Save: {
      Bstr b = Bstr::FromNarrow(narrowValue.c_str(), narrowValue.size());
      VariantInit(&v);
      v.vt = VT_BSTR;
      v.bstrVal = b.Get();
      WriteValue(name, &v);
      break;
    }
  }
}

void PropExchange::TextNoDefault(const char* name, std::string& narrowValue) {
  VARIANT v;
  switch (mode_) {
    case Mode::Reset:
      break;
    case Mode::Load:
      if (ReadValue(name, VT_BSTR, &v)) narrowValue = Bstr::Attach(v.bstrVal).ToNarrow();
      break;
    case Mode::Save:
      Text(name, narrowValue, {});
      break;
  }
}

}  // namespace vomcom
