// An event control on a manual timer site, fed by the fake library's event queue, with a sink
// whose handler the test sets.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fake_library.h"
#include "vomcom/com_ptr.h"
#include "vomcom/dispatch_sink.h"
#include "vomcom/testing/manual_site.h"
#include "vomcom/variant.h"
#include "vomtel_ocx/event_control/event_control.h"
#include "vomtel_ocx/module/module_ids.h"

namespace vomtelx::test {

class EventControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFake();
    EventControlTimings timings;
    timings.fetchPause = std::chrono::milliseconds(10);
    timings.sleep = [this](std::chrono::milliseconds ms) { sleeps_.push_back(ms.count()); };
    ASSERT_EQ(EventControl::Create(timings, IID_IDispatch, control_.PutVoid()), S_OK);
    ASSERT_EQ(control_.As(IID_IVcControl, std::addressof(site_control_)), S_OK);
    ASSERT_EQ(site_control_->SetClientSite(site_.Unknown()), S_OK);

    sink_ = vomcom::DispatchSink::Create(
        [this](DISPID id, const DISPPARAMS& params) -> HRESULT {
          EXPECT_EQ(id, EventControl::kEventGet);
          EXPECT_EQ(params.cArgs, 1u);
          const int kind = params.cArgs == 1 ? vomcom::Variant(params.rgvarg[0]).ToI4() : -1;
          fired_.push_back(kind);
          if (onEvent_) onEvent_(kind);
          return S_OK;
        },
        kIidEventEvents);
    vomcom::ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(control_.As(IID_IConnectionPointContainer, std::addressof(container)), S_OK);
    ASSERT_EQ(container->FindConnectionPoint(kIidEventEvents, point_.Put()), S_OK);
    ASSERT_EQ(point_->Advise(static_cast<IDispatch*>(sink_.Get()), &cookie_), S_OK);
  }
  void TearDown() override {
    if (point_) point_->Unadvise(cookie_);
    point_ = nullptr;
    if (site_control_) site_control_->SetClientSite(nullptr);
    site_control_ = nullptr;
    control_ = nullptr;
    EXPECT_EQ(site_.ActiveTimerCount(), 0u);
  }

  int32_t Call(DISPID id, std::vector<vomcom::Variant> args = {}) {
    vomcom::Variant result;
    EXPECT_EQ(vomcom::Invoke(control_.Get(), id, DISPATCH_METHOD, std::move(args), result.Put()),
              S_OK);
    return result.ToI4(-12345);
  }
  int32_t StartTimer() { return Call(85); }
  int32_t StopTimer() { return Call(86); }
  void OpenGate(int gate) { Call(87, {vomcom::Variant(int32_t{gate})}); }
  void SetDelay(int ms) { Call(88, {vomcom::Variant(int32_t{ms})}); }

  std::string Get(DISPID id) {
    vomcom::Variant result;
    EXPECT_EQ(vomcom::Invoke(control_.Get(), id, DISPATCH_PROPERTYGET, {}, result.Put()), S_OK)
        << "DISPID " << id;
    EXPECT_EQ(result.Type(), VT_BSTR) << "DISPID " << id;
    return result.ToText();
  }
  HRESULT Put(DISPID id, vomcom::Variant value) {
    return vomcom::Invoke(control_.Get(), id, DISPATCH_PROPERTYPUT, {std::move(value)}, nullptr);
  }

  // One period of the timer passes and its tick is delivered (the count of ticks delivered);
  // then the run of fetches that the tick started goes on to its end, the clock moving a
  // millisecond at a time and the host's loop delivering what comes due.
  size_t Tick(int ms = 800) {
    site_.Advance(static_cast<uint64_t>(ms));
    const size_t ticks = site_.Pump();
    RunFetches();
    return ticks;
  }
  void RunFetches() {
    while (site_.HasTimer(EventControl::kFetchTimerId)) {
      site_.Advance(1);
      site_.Pump();
    }
  }
  // The manual clock at each fetch, from now on.
  void RecordFetchTimes() {
    Fake().onFetch = [this] { fetchTimes_.push_back(site_.NowMs()); };
  }

  vomcom::testing::ManualSite site_;
  vomcom::ComPtr<IDispatch> control_;
  vomcom::ComPtr<IVcControl> site_control_;
  vomcom::ComPtr<vomcom::DispatchSink> sink_;
  vomcom::ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
  std::vector<int> fired_;
  std::function<void(int)> onEvent_;
  std::vector<long> sleeps_;
  std::vector<uint64_t> fetchTimes_;
};

}  // namespace vomtelx::test
