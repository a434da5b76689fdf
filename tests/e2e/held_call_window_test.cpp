// An inbound call answered, held, retrieved and hung up with the window's buttons: each press
// reaches the switch as its request for the call and the agent's extension, and the window
// follows the switch's events.
#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/window_fixture.h"

namespace desk::test {
namespace {

constexpr char kCaller[] = "0312345678";

TEST_F(WindowTest, AnInboundCallIsAnsweredHeldRetrievedAndHungUpByTheButtons) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn(kReady));
  const std::uint32_t call = server_->PushDelivered(kCaller, MakeUei(12, "8001011234567"), 1105);
  ASSERT_TRUE(Until([&] { return Enabled("ImgAnswer"); })) << Report();

  ASSERT_NO_FATAL_FAILURE(Press("ImgAnswer"));
  const std::optional<ctisim::Request> answer = Request(kAnswerCode);
  ASSERT_TRUE(answer) << Report();
  EXPECT_EQ(FirstParty(*answer).call, call);
  EXPECT_EQ(FirstParty(*answer).device, "4001");
  ASSERT_TRUE(Until([&] { return Caption() == "통화중" && Enabled("ImgHold"); })) << Report();

  ASSERT_NO_FATAL_FAILURE(Press("ImgHold"));
  const std::optional<ctisim::Request> hold = Request(kHoldCode);
  ASSERT_TRUE(hold) << Report();
  EXPECT_EQ(FirstParty(*hold).call, call);
  EXPECT_EQ(FirstParty(*hold).device, "4001");
  ASSERT_TRUE(Until([&] { return Enabled("ImgRetrieve"); })) << Report();
  EXPECT_FALSE(Enabled("ImgHold"));
  EXPECT_FALSE(Enabled("ImgHangUp"));

  ASSERT_NO_FATAL_FAILURE(Press("ImgRetrieve"));
  const std::optional<ctisim::Request> retrieve = Request(kRetrieveCode);
  ASSERT_TRUE(retrieve) << Report();
  EXPECT_EQ(FirstParty(*retrieve).call, call);
  ASSERT_TRUE(Until([&] { return Enabled("ImgHold") && Enabled("ImgHangUp"); })) << Report();
  EXPECT_FALSE(Enabled("ImgRetrieve"));
  EXPECT_EQ(Caption(), "통화중");

  // Hung up: the auto-ready box is not ticked, so after-call work, which the display without
  // the database turns into ready.
  const std::size_t before = server_->AgentStates().size();
  ASSERT_NO_FATAL_FAILURE(Press("ImgHangUp"));
  const std::optional<ctisim::Request> clear = Request(kClearCode);
  ASSERT_TRUE(clear) << Report();
  EXPECT_EQ(FirstParty(*clear).call, call);
  ASSERT_TRUE(Until([&] { return server_->AgentStates().size() >= before + 2; })) << Report();
  EXPECT_EQ(server_->AgentStates()[before].mode, kAfterCallWork);
  EXPECT_EQ(server_->AgentStates()[before + 1].mode, kReady);
  EXPECT_TRUE(Until([&] { return Enabled("ImgNotReady") && !Enabled("ImgHangUp"); })) << Report();
  EXPECT_TRUE(desk_->Log().WaitForText("[EVENT orbaEK_Established]", kWindowWait)) << Report();
  EXPECT_TRUE(boxes_.informed.empty()) << Report();
}

}  // namespace
}  // namespace desk::test
