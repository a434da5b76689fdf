// What the main control's methods share: their arguments as texts, their 32-bit result, and
// the exception rule (a method with a handler turns an escaping exception into the result 0
// after its exception line; a method without one lets it reach the dispatch layer).
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "vomcom/automation.h"
#include "vomcom/dispatch_table.h"
#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/main_control/narrow_text.h"

namespace vomtelx {

// The host's text of argument i (a null BSTR is the empty text).
inline std::u16string_view TextArg(const vomcom::Args& a, std::size_t i) {
  BSTR b = a.Bstr(i);
  return {b ? b : u"", SysStringLen(b)};
}

// The narrow text of argument i, whole, for an export's text argument.
inline std::string NarrowArg(const vomcom::Args& a, std::size_t i) {
  return NarrowText(TextArg(a, i));
}

inline HRESULT ReturnLong(VARIANT* result, std::int32_t value) {
  if (result != nullptr) {
    result->vt = VT_I4;
    result->lVal = value;
  }
  return S_OK;
}

// The line a method logs when it catches an exception: its text, followed by the exception's
// message (at most 1,023 characters) when withMessage is set; no line when text is null.
struct ExceptionLine {
  const char* text = nullptr;
  bool withMessage = false;
};

// Runs body (which returns the method's result) under the method's exception handler.
template <class Body>
HRESULT Caught(VARIANT* result, ExceptionLine line, Body&& body) {
  std::int32_t value = 0;
  try {
    value = body();
  } catch (const std::exception& e) {
    if (line.text != nullptr) {
      if (line.withMessage) {
        TraceLog("%s%.1023s", line.text, e.what());
      } else {
        TraceLog("%s", line.text);
      }
    }
    value = 0;
  }
  return ReturnLong(result, value);
}

// A method without an exception handler.
template <class Body>
HRESULT Uncaught(VARIANT* result, Body&& body) {
  return ReturnLong(result, body());
}

}  // namespace vomtelx
