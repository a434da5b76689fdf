// Late-bound calls of the controls: one IDispatch::Invoke per property get, property put or
// method call, by fixed DISPID, with the arguments as VARIANTs of the types the program passes
// (I4 and I2 and R8 and BSTR by value, I4 and BSTR by reference to the program's variables).
#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "vomcom/automation.h"

namespace agentphone {

// A failed call of a control (the run-time error of the calling procedure).
class DispatchError : public std::runtime_error {
 public:
  DispatchError(const std::string& what, HRESULT hr) : std::runtime_error(what), hr_(hr) {}
  HRESULT Result() const { return hr_; }

 private:
  HRESULT hr_;
};

// The arguments of one call, in declaration order.
class DispatchArgs {
 public:
  DispatchArgs() = default;
  DispatchArgs(const DispatchArgs&) = delete;
  DispatchArgs& operator=(const DispatchArgs&) = delete;
  ~DispatchArgs();

  DispatchArgs& I4(int32_t v);
  DispatchArgs& I2(int16_t v);
  DispatchArgs& R8(double v);
  DispatchArgs& Text(std::string_view utf8);          // a new BSTR, freed after the call
  DispatchArgs& RefI4(int32_t* variable);              // VT_BYREF|VT_I4 to the variable itself
  // VT_BYREF|VT_BSTR: a BSTR mirror of the program's text variable (one mirror per variable,
  // so the same variable always passes the same address); what the callee leaves in it is
  // copied back into the variable after the call.
  DispatchArgs& RefText(std::string* variable);

  size_t Count() const { return args_.size(); }

  // Internal to Invoke.
  std::vector<VARIANT> Reversed() const;
  void CopyBack();

 private:
  struct TextMirror {
    std::string* variable;
    BSTR bstr;
  };
  BSTR* MirrorOf(std::string* variable);

  std::vector<VARIANT> args_;
  std::deque<TextMirror> mirrors_;  // stable addresses
};

// One Invoke. `flags` is DISPATCH_METHOD|DISPATCH_PROPERTYGET for a method or a get (the
// program's calls are made so), DISPATCH_PROPERTYPUT for a put (one argument, named
// DISPID_PROPERTYPUT). A null object or a failing HRESULT throws DispatchError naming `what`
// and, when the control gave one, its description.
void InvokeMember(IDispatch* object, DISPID id, WORD flags, DispatchArgs& args, VARIANT* result,
                  std::string_view what);

// Helpers over InvokeMember.
void PutProperty(IDispatch* object, DISPID id, DispatchArgs& value, std::string_view what);
int32_t GetI4Property(IDispatch* object, DISPID id, std::string_view what);
std::string GetTextProperty(IDispatch* object, DISPID id, std::string_view what);
// A method's result converted to a 32-bit integer (VT_EMPTY reads 0).
int32_t CallI4Method(IDispatch* object, DISPID id, DispatchArgs& args, std::string_view what);

}  // namespace agentphone
