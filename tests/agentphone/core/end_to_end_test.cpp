// The core as the program runs it, without a window: the two real controls created by class ID
// through the component runtime (the module registered into a scratch registry), the real
// libvomtel.so behind them and the CTI server simulator in front, answering the agent-state
// requests with agent-state events. The event control's polling timer runs on a manual site;
// every wait is for a condition, with a generous limit for a busy machine.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "agentphone/core/clock.h"
#include "agentphone/core/cti_controls.h"
#include "agentphone/core/manual_timers.h"
#include "agentphone/core/soft_phone.h"
#include "support/temp_dir.h"
#include "tools/ctisim/call_events.h"
#include "tools/ctisim/flow_parser.h"
#include "tools/ctisim/flow_runner.h"
#include "tools/ctisim/sim_server.h"
#include "vomcom/testing/manual_site.h"

namespace agentphone::test {
namespace {

using namespace std::chrono_literals;

constexpr char kAgentDn[] = "4001";
constexpr std::chrono::milliseconds kLimit = 20s;  // for a condition on a loaded machine

// The server answers each agent-state request with the event of the state asked for.
constexpr char kAgentStateFlow[] =
    "on agent-state mode=login push loggedon\n"
    "on agent-state mode=notready push notready\n"
    "on agent-state mode=ready push ready\n"
    "on agent-state mode=aftercallwork push aftercallwork\n";

class RecordingView final : public MainView {
 public:
  void DisplayChanged(const Display& d) override {
    if (captions.empty() || captions.back() != d.sStatue) captions.push_back(d.sStatue);
  }
  void MoveToTopLeft() override {}
  void ChangeView(const std::string&, bool) override {}
  void SetAlwaysOnTop(bool) override {}
  void FocusAgentId() override {}
  void FocusExtension() override {}
  std::vector<std::string> captions;
};

class RecordingDialogs final : public Dialogs {
 public:
  void ShowMessage(std::string_view text, std::string_view, MessageIcon) override {
    messages.emplace_back(text);
  }
  bool AskYesNo(std::string_view, std::string_view) override { return true; }
  std::string RunDialPad() override { return {}; }
  int32_t RunNotReadyReason(int32_t current) override { return current; }
  std::string RunConsultDial() override { return {}; }
  void RunCallBackList() override {}
  void RunDropCallList() override {}
  std::vector<std::string> messages;
};

// True when `seen` holds `wanted` in that order (other captions may come between).
bool InOrder(const std::vector<std::string>& seen, const std::vector<std::string>& wanted) {
  size_t i = 0;
  for (const std::string& s : seen) {
    if (i < wanted.size() && s == wanted[i]) ++i;
  }
  return i == wanted.size();
}

std::string Joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& t : texts) out += "[" + t + "]";
  return out;
}

class CoreEndToEnd : public ::testing::Test {
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
    // The library writes its own log below the current folder.
    cwd_ = std::make_unique<vomtel::test::CurrentDirectoryScope>(scratch_->Path());
    sim_ = std::make_unique<ctisim::SimServer>();
    ctisim::FlowError error;
    std::optional<ctisim::Flow> flow = ctisim::ParseFlow(kAgentStateFlow, &error);
    ASSERT_TRUE(flow) << error.line << ": " << error.message;
    flow_ = std::make_unique<ctisim::FlowRunner>(*sim_, std::move(*flow),
                                                 ctisim::FlowRunner::Options{});
    flow_->Start();

    desk_.WriteFile("SOFTPHONE.ini", std::string("[SOFTPHONE]\r\nLOGIN=1\r\nDB=0\r\nID=agent7\r\n") +
                                         "DN=" + kAgentDn + "\r\nAUTOREADY=1\r\n");
    settings_.Override(kServerKey, "127.0.0.1");
    settings_.Override(kServerPortKey, std::to_string(sim_->Port()));
    phone_ = std::make_unique<SoftPhone>(desk_.Path(), settings_, clock_,
                                         SoftPhoneParts{view_, dialogs_, timers_});
    timers_.SetSink(phone_.get());
    std::string why;
    controls_ = CtiControls::Create(
        site_.Unknown(), [this](int32_t kind) { phone_->TELXEvt1_vomteleventget(kind); },
        [this](std::string_view employee, int32_t device, int32_t blend, int32_t time) {
          phone_->Vomtelreadyagentgetvalue(employee, device, blend, time);
        },
        &why);
    ASSERT_NE(controls_, nullptr) << why;
    phone_->AttachControls(controls_->Telx(), controls_->TelxEvt());
  }

  void TearDown() override {
    if (phone_ && phone_->StatusCaption() != kCaptionLoggedOut) phone_->AgentLogOut();
    if (flow_) flow_->Stop();
    controls_.reset();  // the sinks go and the site's timers with them
    phone_.reset();
    sim_.reset();
    cwd_.reset();
  }

  // Lets the event control's timer tick until `done` holds.
  bool TickUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kLimit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      site_.Advance(1000);
      site_.Pump();
      std::this_thread::yield();
    }
    return true;
  }

  const Display& D() const { return phone_->GetDisplay(); }
  bool Caption(const char* text) const { return D().sStatue == text; }

  // Logged in automatically and ready.
  void StartReady() {
    phone_->Main();
    ASSERT_TRUE(dialogs_.messages.empty()) << Joined(dialogs_.messages);
    ASSERT_TRUE(TickUntil([this] { return Caption("대기"); })) << Joined(view_.captions);
  }

  // Pushes a call event of the agent's extension, in the session's own version.
  void PushCall(uint8_t code, const std::string& other, uint32_t call,
                const ctisim::CallData& data = {}) {
    const uint8_t version = SessionVersion();
    ctisim::EventHead head;
    head.version = version;
    ASSERT_EQ(sim_->PushEvent(code, ctisim::CallEventBody(code, {kAgentDn, other, call, version},
                                                          data),
                              head),
              1);
  }

  uint8_t SessionVersion() const {
    for (const ctisim::Request& r : sim_->Received()) {
      if (r.cls == 0x45 && r.code == 0x46) return r.version;  // the open
    }
    return 0;
  }

  size_t AgentStateRequests() const { return sim_->CountRequests(ctisim::kClassCall, 0xDD); }

  std::string LogText() const { return vomtel::test::ReadFile(phone_->Log().FileFor(clock_.Now()).string()); }

  static inline vomtel::test::TempDir* scratch_ = nullptr;
  static inline void* module_ = nullptr;
  std::unique_ptr<vomtel::test::CurrentDirectoryScope> cwd_;
  std::unique_ptr<ctisim::SimServer> sim_;
  std::unique_ptr<ctisim::FlowRunner> flow_;
  vomtel::test::TempDir desk_;
  ManualClock clock_{{2026, 12, 10, 15, 0, 0}};
  DeskSettings settings_;
  RecordingView view_;
  RecordingDialogs dialogs_;
  ManualTimers timers_;
  vomcom::testing::ManualSite site_;
  std::unique_ptr<SoftPhone> phone_;
  std::unique_ptr<CtiControls> controls_;
};

TEST_F(CoreEndToEnd, TheAutomaticLoginFollowsTheServersAgentStateEvents) {
  StartReady();
  // Logged on, not ready (the login's last request), then ready (sent by the state display
  // without the database) as the server's events arrive.
  EXPECT_TRUE(InOrder(view_.captions, {"로그아웃", "로그인", "휴식", "대기"}))
      << Joined(view_.captions);
  EXPECT_TRUE(D()[Button::ImgNotReady].enabled);
  EXPECT_TRUE(D()[Button::ImgMakeCall].enabled);
  EXPECT_EQ(D()[Button::imgLogIn].picture, Picture::ImgLogOutOn);
  // The open, the monitor and LOGOUT, LOGIN, NOTREADY, READY.
  EXPECT_EQ(AgentStateRequests(), 4u);
  EXPECT_NE(LogText().find("] : SoftPhone Login Start\r\n"), std::string::npos);
}

TEST_F(CoreEndToEnd, AnInboundCallDeliveredEstablishedAndClearedReturnsToReady) {
  StartReady();
  const size_t before = AgentStateRequests();
  ctisim::CallData delivered;
  delivered.uei = "a^b";
  delivered.cnid = 9001;
  delivered.queue = 1107;
  PushCall(ctisim::kEventDelivered, "0212345678", 5001, delivered);
  ASSERT_TRUE(TickUntil([this] { return D()[Button::ImgAnswer].enabled; }))
      << Joined(view_.captions);
  EXPECT_EQ(D().sStatue, "통화중");
  EXPECT_EQ(phone_->Vars().gCALLID, 5001);
  EXPECT_EQ(phone_->Vars().gUEI, "a^b");
  EXPECT_EQ(phone_->Vars().gQUEUECODE, "0776");

  phone_->ImgAnswer_MouseDown();
  EXPECT_TRUE(sim_->WaitForRequest(ctisim::kClassCall, 0x14, kLimit));
  EXPECT_TRUE(dialogs_.messages.empty()) << Joined(dialogs_.messages);

  ctisim::CallData established;
  established.cnid = 9001;
  PushCall(ctisim::kEventEstablished, "0212345678", 5001, established);
  ASSERT_TRUE(TickUntil([this] { return D()[Button::ImgHold].enabled; }))
      << Joined(view_.captions);
  EXPECT_EQ(D().sAninum, "02-1234-5678");
  EXPECT_EQ(phone_->Vars().gCNID, "9001");

  // The agent's own connection cleared: automatic ready, confirmed by the server's event.
  PushCall(ctisim::kEventConnectionCleared, kAgentDn, 5001);
  ASSERT_TRUE(TickUntil([this, before] { return Caption("대기") && AgentStateRequests() > before; }))
      << Joined(view_.captions);
  EXPECT_EQ(AgentStateRequests(), before + 1);
  EXPECT_TRUE(D()[Button::ImgMakeCall].enabled);
  EXPECT_FALSE(D()[Button::ImgHangUp].enabled);
  const std::string log = LogText();
  EXPECT_NE(log.find("[EVENT orbaEK_Delivered]a^b-5001\r\n"), std::string::npos);
  EXPECT_NE(log.find("[EVENT orbaEK_Established]a^b-5001\r\n"), std::string::npos);
}

TEST_F(CoreEndToEnd, AServerThatGoesDownShowsTheLoggedOutState) {
  StartReady();
  // Down: no connection left and none taken (the library's reconnection attempts fail).
  sim_->StopListening();
  sim_->DropConnections();
  ASSERT_TRUE(TickUntil([this] { return Caption("로그아웃"); })) << Joined(view_.captions);
  EXPECT_TRUE(D()[Button::imgLogIn].enabled);
  EXPECT_EQ(D()[Button::imgLogIn].picture, Picture::ImgLogInOn);
  EXPECT_FALSE(D()[Button::ImgReady].enabled);
  EXPECT_FALSE(D()[Button::ImgMakeCall].enabled);
  EXPECT_NE(LogText().find("[EVENT orbaEK_CCSEDown]"), std::string::npos);

  // The login button opens a new gate on the server that is back.
  ASSERT_TRUE(sim_->ResumeListening());
  phone_->imgLogIn_MouseDown();
  EXPECT_TRUE(dialogs_.messages.empty()) << Joined(dialogs_.messages);
  ASSERT_TRUE(TickUntil([this] { return Caption("대기"); })) << Joined(view_.captions);
}

}  // namespace
}  // namespace agentphone::test
