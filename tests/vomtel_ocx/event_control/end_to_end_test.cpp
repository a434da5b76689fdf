// The event control as the agent program meets it: the module registered into a scratch
// registry, the main and event controls created by ProgID through the component runtime, the
// real libvomtel.so behind them and the CTI server simulator in front. The main control opens
// the gate and starts the monitor; the event control polls it on a manual timer site; the
// server's call events arrive as vomteleventget with their fields readable inside the handler,
// and the server going away gives 999 and ends the polling.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tools/ctisim/call_events.h"
#include "tools/ctisim/sim_server.h"
#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"
#include "vomcom/dispatch_sink.h"
#include "vomcom/testing/manual_site.h"
#include "vomcom/variant.h"

namespace {

using namespace std::chrono_literals;
using vomcom::ComPtr;
using vomcom::Variant;

constexpr char kMainProgId[] = "vomtel_ocx.vomtel_ocxCtrl.1";
constexpr char kEventProgId[] = "vomtel_ocx.vomtel_ocxEvtCtrl.1";
constexpr char kEventEventsIid[] = "{EC6B518F-66E2-4379-A34A-EA24FB42E486}";

// Main control members.
constexpr DISPID kServerName = 2, kLinkMode = 3, kOpenDevice = 4, kOpenPort = 5, kGateId = 6,
                 kLogTrace = 7, kLogPath = 8, kOpenServer = 154, kMonitorStart = 136;
// Event control members.
constexpr DISPID kEventKind = 1, kCallRefId = 2, kMonitorParty = 13, kOtherParty = 21,
                 kCnid = 75, kStartTimer = 85, kOpenGate = 87;
constexpr DISPID kEventGet = 1;
constexpr int kDelayMs = 800;  // the control's default period

// What a handler read of one event through the control's properties.
struct Seen {
  int kind;
  std::string eventKind, callRefId, monitorParty, otherParty, cnid;
};

class EventControlEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new vomtel::test::TempDir();
    setenv("VOMTEL_REGISTRY", (*scratch_ / "registry.reg").c_str(), 1);
    setenv("VOMTEL_DRIVE_ROOT", (*scratch_ / "drives").c_str(), 1);
    std::filesystem::create_directories(*scratch_ / "drives/C/softphone");
    void* module = dlopen(VOMTELX_MODULE_PATH, RTLD_NOW);
    ASSERT_NE(module, nullptr) << dlerror();
    auto reg = reinterpret_cast<VcDllRegisterServerFn>(dlsym(module, "DllRegisterServer"));
    ASSERT_NE(reg, nullptr);
    ASSERT_EQ(reg(), S_OK);
    dlclose(module);  // from here on the runtime loads it through the registry
  }
  static void TearDownTestSuite() {
    delete scratch_;
    scratch_ = nullptr;
  }

  void SetUp() override {
    cwd_ = std::make_unique<vomtel::test::CurrentDirectoryScope>(scratch_->Path());
    main_ = Create(kMainProgId);
    events_ = Create(kEventProgId);
    ASSERT_TRUE(main_ && events_);
    ASSERT_EQ(events_->QueryInterface(IID_IVcControl, eventSite_.PutVoid()), S_OK);
    ASSERT_EQ(eventSite_->SetClientSite(site_.Unknown()), S_OK);

    IID iid{};
    ASSERT_EQ(VcGuidFromText(kEventEventsIid, &iid), S_OK);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(events_->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
    ASSERT_EQ(container->FindConnectionPoint(iid, point_.Put()), S_OK);
    sink_ = vomcom::DispatchSink::Create(
        [this](DISPID id, const DISPPARAMS& params) -> HRESULT {
          EXPECT_EQ(id, kEventGet);
          EXPECT_EQ(params.cArgs, 1u);
          if (params.cArgs != 1) return S_OK;
          // Read inside the handler: the properties show this event only.
          seen_.push_back({Variant(params.rgvarg[0]).ToI4(-1), Text(kEventKind),
                           Text(kCallRefId), Text(kMonitorParty), Text(kOtherParty),
                           Text(kCnid)});
          return S_OK;
        },
        iid);
    ASSERT_EQ(point_->Advise(sink_.Get(), &cookie_), S_OK);
  }
  void TearDown() override {
    if (point_) point_->Unadvise(cookie_);
    point_ = nullptr;
    if (eventSite_) eventSite_->SetClientSite(nullptr);
    eventSite_ = nullptr;
    events_ = nullptr;
    main_ = nullptr;
    EXPECT_EQ(site_.ActiveTimerCount(), 0u);
    cwd_.reset();
  }

  static ComPtr<IDispatch> Create(const char* progId) {
    ComPtr<IDispatch> d;
    CLSID clsid{};
    EXPECT_EQ(VcCLSIDFromProgIDA(progId, &clsid), S_OK);
    EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.PutVoid()),
              S_OK);
    return d;
  }

  std::string Text(DISPID id) {
    Variant v;
    EXPECT_EQ(vomcom::Invoke(events_.Get(), id, DISPATCH_PROPERTYGET, {}, v.Put()), S_OK) << id;
    return v.ToText();
  }
  void PutMain(DISPID id, Variant value) {
    ASSERT_EQ(vomcom::Invoke(main_.Get(), id, DISPATCH_PROPERTYPUT, {std::move(value)}, nullptr),
              S_OK);
  }
  int32_t MainLong(DISPID id) {
    Variant v;
    EXPECT_EQ(vomcom::Invoke(main_.Get(), id, DISPATCH_PROPERTYGET, {}, v.Put()), S_OK);
    return v.ToI4(-999);
  }
  int32_t CallMain(DISPID id, bool withGate = true) {
    std::vector<Variant> args;
    if (withGate) {
      gate_ = MainLong(kGateId);
      args.push_back(Variant::ByRef(&gate_));
      args.push_back(Variant::ByRef(&invoke_));
    }
    Variant result;
    EXPECT_EQ(vomcom::Invoke(main_.Get(), id, DISPATCH_METHOD, std::move(args), result.Put()),
              S_OK);
    ++invoke_;
    return result.ToI4(-999);
  }
  int32_t CallEvents(DISPID id, std::vector<Variant> args = {}) {
    Variant result;
    EXPECT_EQ(vomcom::Invoke(events_.Get(), id, DISPATCH_METHOD, std::move(args), result.Put()),
              S_OK);
    return result.ToI4(-999);
  }

  // As the agent program does after its log-in steps: open, monitor, hand the gate over.
  void OpenAndStartPolling(int port) {
    PutMain(kLogTrace, Variant("TRUE"));
    PutMain(kLogPath, Variant("C:\\softphone"));
    PutMain(kServerName, Variant("127.0.0.1"));
    PutMain(kLinkMode, Variant(std::int16_t{4}));
    PutMain(kOpenPort, Variant(static_cast<double>(port)));
    PutMain(kOpenDevice, Variant("4001"));
    ASSERT_EQ(CallMain(kOpenServer, false), 1);
    ASSERT_EQ(CallMain(kMonitorStart), 1);
    const int32_t gate = MainLong(kGateId);
    ASSERT_GE(gate, 0);
    CallEvents(kOpenGate, {Variant(gate)});
    ASSERT_EQ(CallEvents(kStartTimer), 3333);
  }

  // Periods of the timer pass, each tick delivered, until `done` or a generous limit (the
  // library's threads queue the server's frames in their own time).
  bool TickUntil(const std::function<bool()>& done, std::chrono::seconds limit = 30s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      site_.Advance(kDelayMs);
      site_.Pump();
    }
    return true;
  }

  // The fetches still scheduled after the last event run (each a pause after the one before)
  // until the one that finds the queue empty; then only the polling timer is left.
  void FinishRun() {
    while (site_.ActiveTimerCount() > 1) {
      site_.Advance(10);
      site_.Pump();
    }
  }

  static size_t FetchLines() {
    std::string log;
    for (const auto& e : std::filesystem::directory_iterator(*scratch_ / "drives/C/softphone")) {
      std::ifstream in(e.path());
      log.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    size_t n = 0;
    for (size_t at = log.find("getevent return ["); at != std::string::npos;
         at = log.find("getevent return [", at + 1)) {
      ++n;
    }
    return n;
  }

  static inline vomtel::test::TempDir* scratch_ = nullptr;
  std::unique_ptr<vomtel::test::CurrentDirectoryScope> cwd_;
  vomcom::testing::ManualSite site_;  // outlives the controls
  ComPtr<IDispatch> main_;
  ComPtr<IDispatch> events_;
  ComPtr<IVcControl> eventSite_;
  ComPtr<IConnectionPoint> point_;
  ComPtr<vomcom::DispatchSink> sink_;
  DWORD cookie_ = 0;
  std::vector<Seen> seen_;
  std::int32_t gate_ = 0;
  std::int32_t invoke_ = 0;
};

ctisim::Bytes CallEvent(std::uint8_t code, std::uint32_t call, std::uint32_t cnid) {
  ctisim::CallParties parties;
  parties.monitored = "4001";
  parties.other = "0212345678";
  parties.call_id = call;
  ctisim::CallData data;
  data.cnid = cnid;
  return ctisim::CallEventBody(code, parties, data);
}

TEST_F(EventControlEndToEnd, CallEventsArriveWithTheirFieldsAndServerDownEndsThePolling) {
  ctisim::SimOptions options;
  options.open.version = 0;  // the call bodies below are laid out for version 0
  ctisim::SimServer sim(options);
  OpenAndStartPolling(sim.Port());

  ASSERT_EQ(sim.PushEvent(ctisim::kEventDelivered, CallEvent(ctisim::kEventDelivered, 5001, 77)),
            1);
  ASSERT_EQ(
      sim.PushEvent(ctisim::kEventEstablished, CallEvent(ctisim::kEventEstablished, 5002, 78)),
      1);
  ASSERT_TRUE(TickUntil([&] { return seen_.size() >= 2; }));
  ASSERT_EQ(seen_.size(), 2u);
  EXPECT_EQ(seen_[0].kind, 4);
  EXPECT_EQ(seen_[0].eventKind, "4");
  EXPECT_EQ(seen_[0].callRefId, "5001");
  EXPECT_EQ(seen_[0].monitorParty, "4001");
  EXPECT_EQ(seen_[0].otherParty, "0212345678");
  EXPECT_EQ(seen_[0].cnid, "77");
  EXPECT_EQ(seen_[1].kind, 6);
  EXPECT_EQ(seen_[1].eventKind, "6");
  EXPECT_EQ(seen_[1].callRefId, "5002");
  EXPECT_EQ(seen_[1].otherParty, "0212345678");
  EXPECT_EQ(seen_[1].cnid, "78");
  // Once the run of fetches has ended, the record is that of the last fetch, which found
  // nothing.
  FinishRun();
  EXPECT_EQ(Text(kCallRefId), "0");

  // The server goes away and stays away: once the library gives the gate up, 999 is fired.
  sim.Stop();
  ASSERT_TRUE(TickUntil([&] { return !seen_.empty() && seen_.back().kind == 999; }));
  ASSERT_EQ(seen_.size(), 3u);
  EXPECT_EQ(seen_[2].eventKind, "999");
  EXPECT_EQ(seen_[2].callRefId, "0");

  // The timer keeps ticking, but no tick fetches any more.
  const size_t fetches = FetchLines();
  EXPECT_EQ(site_.ActiveTimerCount(), 1u);
  for (int i = 0; i < 3; ++i) {
    site_.Advance(kDelayMs);
    EXPECT_EQ(site_.Pump(), 1u);
  }
  EXPECT_EQ(FetchLines(), fetches);
  EXPECT_EQ(seen_.size(), 3u);

  // Started again, it polls again: the closed gate answers 999 at once.
  EXPECT_EQ(CallEvents(kStartTimer), 3333);
  ASSERT_TRUE(TickUntil([&] { return seen_.size() == 4; }));
  EXPECT_EQ(seen_[3].kind, 999);
  EXPECT_GT(FetchLines(), fetches);
}

}  // namespace
