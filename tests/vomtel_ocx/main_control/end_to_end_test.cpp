// The main control as a host meets it: the module registered into a scratch registry, the
// control created by its ProgID through the component runtime, the real libvomtel.so behind it
// and the CTI server simulator in front: open, monitor, log in, make a call, ask for the ready
// agents (they arrive as events inside the call), close; and a server that is down.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "tools/ctisim/frame.h"
#include "tools/ctisim/sim_server.h"
#include "vomcom/automation.h"
#include "vomcom/com_ptr.h"
#include "vomcom/dispatch_sink.h"
#include "vomcom/variant.h"

namespace {

using namespace std::chrono_literals;
using vomcom::ComPtr;
using vomcom::Variant;

constexpr char kProgId[] = "vomtel_ocx.vomtel_ocxCtrl.1";
// The main control's event interface.
constexpr char kEventsIid[] = "{3F53B292-706C-4661-9DBB-C4C6C4CAF88B}";

// DISPIDs of the members used (fixed by the type library).
constexpr DISPID kServerName = 2, kLinkMode = 3, kOpenDevice = 4, kOpenPort = 5, kGateId = 6,
                 kLogTrace = 7, kLogPath = 8, kCloseServerHA = 153, kOpenServer = 154,
                 kMonitorStart = 136, kMakeCall = 138, kAgentState = 147, kReadyGet = 150,
                 kSkillMasterGet = 156, kMultiAgentGet = 175;
// Events of the skill-master and multi-agent queries.
constexpr DISPID kSkillMasterEvent = 4, kMultiAgentEvent = 14;

struct Fired {
  DISPID id;
  std::vector<Variant> args;
};

class MainControlEndToEnd : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new vomtel::test::TempDir();
    setenv("VOMTEL_REGISTRY", (*scratch_ / "registry.reg").c_str(), 1);
    setenv("VOMTEL_DRIVE_ROOT", (*scratch_ / "drives").c_str(), 1);
    std::filesystem::create_directories(*scratch_ / "drives/C/softphone");
    module_ = dlopen(VOMTELX_MODULE_PATH, RTLD_NOW);
    ASSERT_NE(module_, nullptr) << dlerror();
    auto reg = reinterpret_cast<VcDllRegisterServerFn>(dlsym(module_, "DllRegisterServer"));
    ASSERT_NE(reg, nullptr);
    ASSERT_EQ(reg(), S_OK);
  }
  static void TearDownTestSuite() {
    if (module_ != nullptr) {
      auto unreg = reinterpret_cast<VcDllRegisterServerFn>(dlsym(module_, "DllUnregisterServer"));
      if (unreg != nullptr) unreg();
      dlclose(module_);
    }
    delete scratch_;
  }

  void SetUp() override {
    // The library writes its own logs below the current folder.
    cwd_ = std::make_unique<vomtel::test::CurrentDirectoryScope>(scratch_->Path());
    CLSID clsid{};
    ASSERT_EQ(VcCLSIDFromProgIDA(kProgId, &clsid), S_OK);
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               control_.PutVoid()),
              S_OK);
    IID events{};
    ASSERT_EQ(VcGuidFromText(kEventsIid, &events), S_OK);
    ComPtr<IConnectionPointContainer> container;
    ASSERT_EQ(control_->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
    ASSERT_EQ(container->FindConnectionPoint(events, point_.Put()), S_OK);
    sink_ = vomcom::DispatchSink::Create(
        [this](DISPID id, const DISPPARAMS& params) {
          Fired f{id, {}};
          for (UINT i = params.cArgs; i-- > 0;) f.args.emplace_back(params.rgvarg[i]);
          fired_.push_back(std::move(f));
          return S_OK;
        },
        events);
    ASSERT_EQ(point_->Advise(sink_.Get(), &cookie_), S_OK);
  }
  void TearDown() override {
    if (point_) point_->Unadvise(cookie_);
    point_ = nullptr;
    control_ = nullptr;
    cwd_.reset();
  }

  void Put(DISPID id, Variant value) {
    ASSERT_EQ(vomcom::Invoke(control_.Get(), id, DISPATCH_PROPERTYPUT, {std::move(value)}, nullptr),
              S_OK);
  }
  std::int32_t GetLong(DISPID id) {
    Variant v;
    EXPECT_EQ(vomcom::Invoke(control_.Get(), id, DISPATCH_PROPERTYGET, {}, v.Put()), S_OK);
    return v.ToI4(-999);
  }
  // A method with the gate and the invoke id by reference, as the agent program passes them.
  std::int32_t Call(DISPID id, std::vector<Variant> operands = {}, bool withGate = true) {
    std::vector<Variant> args;
    if (withGate) {
      gate_ = GetLong(kGateId);
      args.push_back(Variant::ByRef(&gate_));
      args.push_back(Variant::ByRef(&invoke_));
    }
    for (Variant& v : operands) args.push_back(std::move(v));
    Variant result;
    EXPECT_EQ(vomcom::Invoke(control_.Get(), id, DISPATCH_METHOD, std::move(args), result.Put()),
              S_OK);
    ++invoke_;
    return result.ToI4(-999);
  }
  void Connection(int port) {
    Put(kGateId, Variant(std::int16_t{1}));
    Put(kLogTrace, Variant("TRUE"));
    Put(kLogPath, Variant("C:\\softphone"));
    Put(kServerName, Variant("127.0.0.1"));
    Put(kLinkMode, Variant(std::int16_t{4}));
    Put(kOpenPort, Variant(static_cast<double>(port)));
    Put(kOpenDevice, Variant("4001"));
  }

  static inline vomtel::test::TempDir* scratch_ = nullptr;
  static inline void* module_ = nullptr;
  std::unique_ptr<vomtel::test::CurrentDirectoryScope> cwd_;
  ComPtr<IDispatch> control_;
  ComPtr<IConnectionPoint> point_;
  ComPtr<vomcom::DispatchSink> sink_;
  DWORD cookie_ = 0;
  std::vector<Fired> fired_;
  std::int32_t gate_ = 0;
  std::int32_t invoke_ = 0;
};

ctisim::Bytes ReadyAgent(const char* id, std::uint32_t dn, std::uint16_t time) {
  return ctisim::Frame()
      .PutStr8(id).PutStr8("name").PutU32(100).PutStr8("group").PutU32(0).PutStr8("part")
      .PutU32(dn).PutU8(1).PutU16(time).Take();
}

TEST_F(MainControlEndToEnd, OpenMonitorLoginCallQueryClose) {
  ctisim::SimServer sim;
  ctisim::ReplyRule ready;
  ready.data = ctisim::Frame().PutU16(2).PutBytes(ReadyAgent("e1", 4002, 30))
                   .PutBytes(ReadyAgent("e2", 4003, 45)).Take();
  sim.SetRule(0x45, 0x98, ready);
  Connection(sim.Port());

  ASSERT_EQ(Call(kOpenServer, {}, false), 1);
  const std::int32_t gate = GetLong(kGateId);
  EXPECT_GE(gate, 0);
  EXPECT_EQ(Call(kMonitorStart), 1);
  EXPECT_EQ(Call(kAgentState, {Variant("4001"), Variant(0), Variant("agent7"), Variant("100"),
                               Variant("101"), Variant(0), Variant(0)}),
            1);
  EXPECT_TRUE(sim.WaitForRequestMatching(
      [](const ctisim::Request& r) {
        const std::string body(r.body.begin(), r.body.end());
        return body.find("agent7") != std::string::npos;
      },
      3000ms));

  EXPECT_EQ(Call(kMakeCall, {Variant("4001"), Variant("01012345678"), Variant(""), Variant(""),
                             Variant(""), Variant(""), Variant(""), Variant("")}),
            1);
  const auto make = sim.WaitForRequest(0x41, 0x65, 3000ms);
  ASSERT_TRUE(make.has_value());
  const std::string body(make->body.begin(), make->body.end());
  EXPECT_NE(body.find("01012345678"), std::string::npos);

  fired_.clear();
  EXPECT_EQ(Call(kReadyGet, {Variant(100), Variant(0), Variant(100)}), 2);
  ASSERT_EQ(fired_.size(), 2u);
  EXPECT_EQ(fired_[0].id, 1);
  std::string first;
  ASSERT_EQ(fired_[0].args[0].ToText(&first), S_OK);
  EXPECT_EQ(first, "e1");
  EXPECT_EQ(fired_[0].args[1].ToI4(-1), 4002);
  EXPECT_EQ(fired_[1].args[3].ToI4(-1), 45);

  EXPECT_EQ(Call(kCloseServerHA), 1);

  // The control's trace lines went to the day's file in the mapped "C:\softphone".
  std::string log;
  for (const auto& entry : std::filesystem::directory_iterator(*scratch_ / "drives/C/softphone")) {
    std::ifstream in(entry.path());
    log.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  EXPECT_NE(log.find("<> vomtelMakeCall ..........! "), std::string::npos);
  EXPECT_NE(log.find("<> vomtelagentreadyget ..........! "), std::string::npos);
}

// Skills numbered from 5000, named "s0", "s1", ..., in one reply.
ctisim::Bytes SkillMasters(std::uint16_t n) {
  ctisim::Frame f;
  f.PutU16(n);
  for (std::uint16_t i = 0; i < n; ++i) {
    f.PutU16(static_cast<std::uint16_t>(5000 + i)).PutStr8("s" + std::to_string(i));
  }
  return f.Take();
}

// Agents on devices from 5000, with one-letter ids so that 1,200 fit one reply frame.
ctisim::Bytes MultiAgents(std::uint16_t n) {
  ctisim::Frame f;
  f.PutU16(n);
  for (std::uint16_t i = 0; i < n; ++i) {
    f.PutStr8(std::string(1, static_cast<char>('a' + i % 26))).PutU32(5000u + i);
  }
  return f.Take();
}

// The library fills the control's whole arrays (512 skills, 1,000 agents); a longer answer is
// cut to them. Each query fires one event per entry and returns how many it fired.
TEST_F(MainControlEndToEnd, ListQueriesFireEveryEntryUpToTheirArrays) {
  struct Case {
    const char* name;
    std::uint8_t code;
    ctisim::Bytes reply;
    DISPID method;
    std::vector<Variant> operands;
    DISPID event;
    std::int32_t fired;
  };
  const Case cases[] = {
      {"150 skills", 0xD2, SkillMasters(150), kSkillMasterGet, {Variant(1)}, kSkillMasterEvent,
       150},
      {"600 skills", 0xD2, SkillMasters(600), kSkillMasterGet, {Variant(1)}, kSkillMasterEvent,
       512},
      {"700 agents", 0xE6, MultiAgents(700), kMultiAgentGet, {Variant("4001"), Variant("")},
       kMultiAgentEvent, 700},
      {"1,200 agents", 0xE6, MultiAgents(1200), kMultiAgentGet, {Variant("4001"), Variant("")},
       kMultiAgentEvent, 1000},
  };
  ctisim::SimServer sim;
  Connection(sim.Port());
  ASSERT_EQ(Call(kOpenServer, {}, false), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctisim::ReplyRule rule;
    rule.data = c.reply;
    sim.SetRule(0x45, c.code, rule);
    fired_.clear();
    EXPECT_EQ(Call(c.method, c.operands), c.fired);
    EXPECT_EQ(fired_.size(), static_cast<std::size_t>(c.fired));
    EXPECT_TRUE(std::all_of(fired_.begin(), fired_.end(),
                            [&](const Fired& f) { return f.id == c.event; }));
    if (fired_.empty()) continue;
    // The last event is the last entry filled: its skill id or device number.
    EXPECT_EQ(fired_.back().args[0].ToI4(-1), 5000 + c.fired - 1);
    if (c.event == kSkillMasterEvent) {
      EXPECT_EQ(fired_.front().args[2].ToI4(-1), c.fired);  // entries not yet fired
      EXPECT_EQ(fired_.back().args[2].ToI4(-1), 1);
    }
  }
  EXPECT_EQ(Call(kCloseServerHA), 1);
}

// A Korean UUI (a method argument) and UEI (a record field) reach the server whole under a
// code page of two bytes a syllable and under one of three.
TEST_F(MainControlEndToEnd, KoreanTextsReachTheServerWholeUnderEitherCodePage) {
  struct CodePage {
    const char* name;
    std::string narrow;  // "홍길동" in that code page
  };
  const CodePage pages[] = {{"CP949", "\xC8\xAB\xB1\xE6\xB5\xBF"},
                            {"UTF-8", "홍길동"}};
  ctisim::SimServer sim;
  Connection(sim.Port());
  ASSERT_EQ(Call(kOpenServer, {}, false), 1);
  std::size_t nth = 0;
  for (const CodePage& page : pages) {
    SCOPED_TRACE(page.name);
    ASSERT_EQ(VcSetCodePage(page.name), S_OK);
    EXPECT_EQ(Call(kMakeCall, {Variant("4001"), Variant("01012345678"), Variant("홍길동"),
                               Variant(""), Variant(""), Variant("홍길동"), Variant(""),
                               Variant("")}),
              1);
    const auto make = sim.WaitForRequest(0x41, 0x65, 3000ms, ++nth);
    ASSERT_TRUE(make.has_value());
    const std::string body(make->body.begin(), make->body.end());
    std::size_t whole = 0;
    for (std::size_t at = body.find(page.narrow); at != std::string::npos;
         at = body.find(page.narrow, at + 1))
      ++whole;
    EXPECT_EQ(whole, 2u) << "the UUI and the UEI, each whole";
  }
  ASSERT_EQ(VcSetCodePage("CP949"), S_OK);
  EXPECT_EQ(Call(kCloseServerHA), 1);
}

TEST_F(MainControlEndToEnd, AServerThatIsDownGivesTheLibrarysResult) {
  int port = 0;
  {
    ctisim::SimServer gone;
    port = gone.Port();
  }
  Connection(port);
  EXPECT_EQ(Call(kOpenServer, {}, false), 3014);
}

}  // namespace
