// A burst of the switch's events: two thousand delivered calls in one write. The desk handles
// them one by one, every one and in the switch's order, and a desk program's dial requests made
// while it does are answered within what a peer waits, not once the burst is over.
#include <algorithm>
#include <iostream>
#include <string>

#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/event_burst.h"

namespace desk::test {
namespace {

constexpr std::uint32_t kDialEvery = 250;  // events handled between two dial requests
constexpr std::chrono::milliseconds kServed{2000};  // the longest a dial request may wait

TEST_F(DeskTest, DialRequestsAreAnsweredWhileABurstOfEventsIsHandledInOrder) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
  DialClient client;
  ASSERT_TRUE(client.Connect(DialPort(), kWait));
  ASSERT_EQ(server_->PushAll(DeliveredBurst(server_->AgentDn())), 1);

  // A request each time a further share of the burst has been handled, the first right after
  // the first event.
  std::chrono::nanoseconds longest{0};
  int asked = 0;
  for (std::uint32_t handled = 1; handled < kBurst; handled += kDialEvery) {
    ASSERT_TRUE(desk_->Log().WaitForText(DeliveredLine(kFirstBurstCall + handled - 1), kWait))
        << Report();
    const std::string tag = "B" + std::to_string(handled);
    const std::optional<DialReply> reply =
        client.Ask(DialRequestText("SP-100", "02-555-1234", "K" + tag, tag), kWait);
    ASSERT_TRUE(reply) << "no reply to " << tag << "\n" << Report();
    ++asked;
    const std::string code = ReplyField(reply->text, 2);
    EXPECT_TRUE(code == "00" || code == "03") << reply->text;
    EXPECT_LT(reply->elapsed, kServed)
        << tag << " waited "
        << std::chrono::duration_cast<std::chrono::milliseconds>(reply->elapsed).count()
        << " ms";
    longest = std::max(longest, reply->elapsed);
  }
  std::cout << "longest wait of " << asked << " dial requests during the burst: "
            << std::chrono::duration_cast<std::chrono::milliseconds>(longest).count()
            << " ms\n";

  ASSERT_TRUE(desk_->Log().WaitForText(DeliveredLine(kFirstBurstCall + kBurst - 1), kWait))
      << Report();
  EXPECT_EQ(HandledBurstCalls(desk_->Log()), WholeBurst());
}

}  // namespace
}  // namespace desk::test
