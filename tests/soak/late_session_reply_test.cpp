// A session's own requests (device add, monitor start and stop) share the reply queue with
// the request operations. A reply that comes after its request gave up must not be taken as
// the reply of the next request, whichever kind either request is; otherwise every later
// request of the session returns the result of the one before it.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "tests/support/temp_dir.h"
#include "tools/ctisim/sim_server.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/recv_queue.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/session.h"
#include "vomtel/core/socket_service.h"
#include "vomtel/requests/call/answer_clear_hold.h"
#include "vomtel/requests/call/make_call.h"

namespace vomtel::test {
namespace {

using std::chrono::milliseconds;

constexpr std::uint32_t kMakeCallWord = 0x10065;
constexpr std::uint32_t kAnswerWord = 0x10014;

class LateSessionReplyTest : public ::testing::Test {
 protected:
  static Timings ShortWaits() {
    Timings timings;
    timings.sendWait = milliseconds(500);
    timings.connectTimeout = milliseconds(300);
    timings.replyUnit = kReplyUnit;  // a reply wait of three units
    timings.retryPeriod = milliseconds(150);
    return timings;
  }
  // Long enough for a reply to come within its wait on a busy machine.
  static constexpr milliseconds kReplyUnit{400};
  // How much later than the end of its request's wait a late reply comes: more than a
  // waiter that is slow to wake up after its deadline may still see.
  static constexpr milliseconds kLateBy{800};

  void SetUp() override {
    Settings settings;
    settings.logPath = dir_.Path();
    adapter_ = std::make_unique<OrbaAdapter>(settings, ShortWaits());
    adapter_->AddServer(sim_.Address(), sim_.Port(), 0, 1, "1001", "app", 0x50, 0);
    ASSERT_EQ(adapter_->OpenServer(&gate_), kOk);
    session_ = adapter_->Proxy().FindActive(gate_);
    ASSERT_TRUE(session_);
    ctisim::ReplyRule make;
    make.result = kMakeCallWord;
    sim_.SetRule(ctisim::kClassCall, ctisim::kCodeMakeCall, make);
    ctisim::ReplyRule answer;
    answer.result = kAnswerWord;
    sim_.SetRule(ctisim::kClassCall, 0x14, answer);
  }
  void TearDown() override { adapter_->Proxy().CloseAll(); }

  // The next answer of (class, code) comes kLateBy after the request's wait of three units.
  void DelayNext(std::uint8_t cls, std::uint8_t code, std::uint32_t result) {
    ctisim::ReplyRule late;
    late.result = result;
    late.shape.delay = 3 * kReplyUnit + kLateBy;
    sim_.AddOnceRule(cls, code, late);
  }
  // Waits until the late reply has reached the session's reply queue.
  bool LateReplyQueued() {
    const auto deadline = std::chrono::steady_clock::now() + milliseconds(30000);
    while (session_->Socket().RecvQueue().ReplyCount() == 0) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(milliseconds(5));
    }
    return true;
  }
  int MakeOne() { return MakeCall(*adapter_, "1001", "01012345678", "", "", "", "", "", gate_); }
  int AnswerOne() { return AnswerCall(*adapter_, "1001", 7, gate_); }

  TempDir dir_;
  ctisim::SimServer sim_;
  std::unique_ptr<OrbaAdapter> adapter_;
  std::shared_ptr<CSession> session_;
  int gate_ = -1;
};

// A device add gives up; its reply, when it comes, is taken by the make call, whose own
// reply then goes to the answer.
TEST_F(LateSessionReplyTest, LateDeviceReplyIsNotTakenByTheNextRequest) {
  DelayNext(ctisim::kClassSession, ctisim::kCodeAddDevice, 1);
  EXPECT_EQ(adapter_->Proxy().AddDevice("1001", 1, 0, gate_), kTimeout);
  ASSERT_TRUE(LateReplyQueued());
  EXPECT_EQ(MakeOne(), static_cast<int>(kMakeCallWord));
  EXPECT_EQ(AnswerOne(), static_cast<int>(kAnswerWord));
}

// A make call gives up; its reply, when it comes, is taken by the device add, which then
// fails with the make call's result and leaves its own reply to the answer.
TEST_F(LateSessionReplyTest, LateCallReplyIsNotTakenByADeviceAdd) {
  DelayNext(ctisim::kClassCall, ctisim::kCodeMakeCall, kMakeCallWord);
  EXPECT_EQ(MakeOne(), kTimeout);
  ASSERT_TRUE(LateReplyQueued());
  EXPECT_EQ(adapter_->Proxy().AddDevice("1001", 1, 0, gate_), kOk);
  EXPECT_EQ(session_->Devices().size(), 1u);
  EXPECT_EQ(AnswerOne(), static_cast<int>(kAnswerWord));
}

// The same as a request operation sees it: a late reply of a request that gave up is dropped.
TEST_F(LateSessionReplyTest, LateCallReplyIsNotTakenByTheNextCall) {
  DelayNext(ctisim::kClassCall, ctisim::kCodeMakeCall, kMakeCallWord);
  EXPECT_EQ(MakeOne(), kTimeout);
  ASSERT_TRUE(LateReplyQueued());
  EXPECT_EQ(AnswerOne(), static_cast<int>(kAnswerWord));
  EXPECT_EQ(MakeOne(), static_cast<int>(kMakeCallWord));
}

}  // namespace
}  // namespace vomtel::test
