// An inbound call through the whole desk: delivered with the customer's UEI and queue,
// established (the screen pop started with the customer page's URL, the customer-field
// notification received by the web server byte for byte), held and retrieved at the phone,
// cleared; then the agent goes back to ready or to after-call work as the auto-ready box says.
#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/harness/desk_events.h"

namespace desk::test {
namespace {

struct AfterCallCase {
  const char* name;
  bool autoReady;
  bool database;
  std::vector<int> modes;  // the agent-state requests that follow the cleared call
};

class InboundCall : public DeskTest, public ::testing::WithParamInterface<AfterCallCase> {};

constexpr char kCaller[] = "0312345678";
constexpr char kRegnum[] = "8001011234567";
constexpr std::uint32_t kCnid = 5150;

TEST_P(InboundCall, PopsTheCustomerNotifiesTheRecorderAndEndsAsTheBoxSays) {
  const AfterCallCase& c = GetParam();
  auto edit = [&](DeskConfig& config) {
    config.autoReady = c.autoReady;
    config.database = c.database;
  };
  if (c.database) {
    // With the database the agent stays not ready after the login.
    ASSERT_NO_FATAL_FAILURE(StartDesk(edit));
    ASSERT_TRUE(server_->WaitForAgentState(kNotReady, kWait)) << Report();
  } else {
    ASSERT_NO_FATAL_FAILURE(StartLoggedIn(edit));
  }
  const std::string web = web_.BaseUrl();
  const std::string uei = MakeUei(12, kRegnum);

  const std::uint32_t call = server_->PushDelivered(kCaller, uei, 1105);
  EXPECT_TRUE(desk_->Log().WaitForText(
      "[EVENT orbaEK_Delivered]" + uei + "-" + std::to_string(call), kWait))
      << Report();

  server_->PushEstablished(kCnid);
  EXPECT_TRUE(desk_->Log().WaitForText(
      "[EVENT orbaEK_Established]" + uei + "-" + std::to_string(call), kWait))
      << Report();

  // The customer-field update: the URL's blanks go as %20 on the request line, and the body
  // is the URL itself as built.
  const std::string update =
      web + "/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID= " + std::to_string(kCnid) +
      "&CUST_ID= ";
  const std::optional<HttpRequest> notice =
      web_.WaitFor([](const HttpRequest& r) { return r.target.rfind("/tpw/", 0) == 0; }, kWait);
  ASSERT_TRUE(notice) << Report();
  EXPECT_EQ(notice->method, "GET");
  EXPECT_EQ(notice->target, "/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID=%20" +
                                std::to_string(kCnid) + "&CUST_ID=%20");
  EXPECT_EQ(notice->body, update);
  EXPECT_TRUE(desk_->Log().WaitForText("고객Data  전송 :" + update, kWait)) << Report();

  // The screen pop: queue 1105 is shown to the customer page as 0006, the caller's number as
  // its digits.
  const std::string pop = web + "/cust/frmPhone.do?reg_no=" + kRegnum + "&tel_no=" + kCaller +
                          "&file_url=" + update + "&inbound_num=0006";
  std::vector<std::vector<std::string>> pops;
  ASSERT_TRUE(PollUntil([&] { return !(pops = desk_->BrowserCalls()).empty(); }, kWait))
      << Report();
  EXPECT_EQ(pops.front(), std::vector<std::string>{pop});
  EXPECT_TRUE(desk_->Log().WaitForText(pop, kWait)) << Report();

  // In the call, a dial request is refused with "03" and nothing is dialled.
  DialClient client;
  ASSERT_TRUE(client.Connect(DialPort(), kWait));
  const std::optional<DialReply> busy = client.Ask(DialRequestText("SP-100", "5678", "K"), kWait);
  ASSERT_TRUE(busy) << Report();
  EXPECT_EQ(ReplyField(busy->text, 2), "03") << busy->text;

  // Held and retrieved at the phone, then cleared on the agent's side.
  server_->Push(CallEvent::Of(kHeld, call).Other(kCaller));
  server_->Push(CallEvent::Of(kRetrieved, call).Other(kCaller));
  const std::size_t mark = AgentStateMark();
  server_->PushCleared();
  for (std::size_t i = 0; i < c.modes.size(); ++i) {
    const std::optional<AgentStateRequest> next = AgentStateAfter(mark + i);
    ASSERT_TRUE(next) << Report();
    EXPECT_EQ(next->mode, c.modes[i]) << "request " << i << " after the cleared call";
  }
  EXPECT_EQ(server_->Sim().CountRequests(0x41, kMakeCallCode), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    AutoReady, InboundCall,
    ::testing::Values(
        AfterCallCase{"ReadyWhenTicked", true, false, {kReady}},
        // Without the database the after-call-work display sends the agent on to ready.
        AfterCallCase{
            "AfterCallWorkThenReadyWithoutDatabase", false, false, {kAfterCallWork, kReady}},
        AfterCallCase{"AfterCallWorkWithDatabase", false, true, {kAfterCallWork}}),
    [](const ::testing::TestParamInfo<AfterCallCase>& info) { return info.param.name; });

}  // namespace
}  // namespace desk::test
