// A main control made by its class factory and driven through IDispatch as a host drives it,
// an event sink written as a host writes one, the trace log's lines, and the recording fake of
// the library's exports.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake_exports.h"
#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"
#include "vomcom/control_base.h"
#include "vomcom/dispatch_sink.h"
#include "vomcom/variant.h"
#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/log/trace_log_hooks.h"
#include "vomtel_ocx/main_control/main_control.h"
#include "vomtel_ocx/module/module_ids.h"

namespace vomtelx::test {

using vomcom::Variant;

struct FiredEvent {
  DISPID id;
  std::vector<Variant> args;  // in declaration order
  bool duringCall;            // fired while the method call was running
};

// The text of a VARIANT in UTF-8 ("" for a non-text).
inline std::string TextOf(const Variant& v) {
  std::string text;
  return SUCCEEDED(v.ToText(&text)) ? text : std::string("<not text>");
}

class MainControlTest : public ::testing::Test {
 public:
  void SetUp() override {
    fake::Exports::Get().Reset();
    SetTraceLogEnabled(1);
    SetTraceLogDirectory(nullptr);
    SetTraceLogSink([this](const char* piece) {
      // Three pieces a line: the stamp, the message, the line end.
      if (piece_++ % 3 == 1) lines_.emplace_back(piece);
    });
    ASSERT_EQ(vomcom::ClassFactory<Cvomtel_ocxCtrl>::Instance().CreateInstance(
                  nullptr, IID_IDispatch, control_.PutVoid()),
              S_OK);
    vomcom::ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(control_->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
    ASSERT_EQ(container->FindConnectionPoint(kIidMainEvents, point_.Put()), S_OK);
    sink_ = vomcom::DispatchSink::Create(
        [this](DISPID id, const DISPPARAMS& params) {
          FiredEvent e{id, {}, inCall_};
          for (UINT i = params.cArgs; i-- > 0;) e.args.emplace_back(params.rgvarg[i]);
          events_.push_back(std::move(e));
          return S_OK;
        },
        kIidMainEvents);
    ASSERT_EQ(point_->Advise(sink_.Get(), &cookie_), S_OK);
    lines_.clear();
  }

  void TearDown() override {
    if (point_) point_->Unadvise(cookie_);
    point_ = nullptr;
    control_ = nullptr;
    SetTraceLogSink(nullptr);
    SetTraceLogEnabled(0);
  }

  // A method call with its arguments in declaration order; the HRESULT of Invoke.
  HRESULT Call(DISPID id, std::vector<Variant> args, Variant* result = nullptr) {
    Variant ignored;
    Variant& out = result ? *result : ignored;
    EXCEPINFO excep{};
    inCall_ = true;
    const HRESULT hr =
        vomcom::Invoke(control_.Get(), id, DISPATCH_METHOD, std::move(args), out.Put(), &excep);
    inCall_ = false;
    lastException_ = excep.bstrDescription
                         ? vomcom::Bstr::Copy(excep.bstrDescription).Utf8()
                         : std::string();
    vomcom::ClearExcepInfo(&excep);
    return hr;
  }

  HRESULT CallFor(DISPID id, const std::vector<Variant>& args, Variant* result) {
    return Call(id, args, result);
  }

  // A method call that must succeed; its 32-bit result.
  std::int32_t CallLong(DISPID id, std::vector<Variant> args) {
    Variant result;
    EXPECT_EQ(Call(id, std::move(args), &result), S_OK);
    return result.ToI4(-999999);
  }

  HRESULT Put(DISPID id, Variant value) {
    return vomcom::Invoke(control_.Get(), id, DISPATCH_PROPERTYPUT, {std::move(value)}, nullptr);
  }
  Variant Get(DISPID id) {
    Variant result;
    EXPECT_EQ(vomcom::Invoke(control_.Get(), id, DISPATCH_PROPERTYGET, {}, result.Put()), S_OK);
    return result;
  }

  const Cvomtel_ocxCtrl& Control() const {
    return *static_cast<const Cvomtel_ocxCtrl*>(control_.Get());
  }
  const std::vector<fake::Call>& Calls() const { return fake::Exports::Get().Calls(); }
  void Script(const std::string& name, fake::Script s) {
    fake::Exports::Get().SetScript(name, std::move(s));
  }

  vomcom::ComPtr<IDispatch> control_;
  vomcom::ComPtr<IConnectionPoint> point_;
  vomcom::ComPtr<vomcom::DispatchSink> sink_;
  DWORD cookie_ = 0;
  bool inCall_ = false;
  std::vector<FiredEvent> events_;
  std::vector<std::string> lines_;
  std::string lastException_;
  std::size_t piece_ = 0;
};

inline fake::Script Result(int result) {
  fake::Script s;
  s.result = result;
  return s;
}

inline fake::Script Throws(const std::string& message) {
  fake::Script s;
  s.throwMessage = message;
  return s;
}

}  // namespace vomtelx::test
