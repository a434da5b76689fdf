// A burst of the switch's events: two thousand delivered calls in one write. The desk handles
// them one by one, every one and in the switch's order, and a desk program's dial requests made
// while it does are answered within what a peer waits, not once the burst is over.
#include <algorithm>
#include <charconv>
#include <iostream>
#include <string>
#include <vector>

#include "tests/e2e/desk_fixture.h"
#include "tests/e2e/harness/desk_events.h"

namespace desk::test {
namespace {

constexpr std::uint32_t kBurst = 2000;
constexpr std::uint32_t kFirstCall = 50001;  // the burst's call ids, apart from the switch's own
constexpr std::uint32_t kDialEvery = 250;    // events handled between two dial requests
constexpr std::chrono::milliseconds kServed{2000};  // the longest a dial request may wait
constexpr char kDelivered[] = "[EVENT orbaEK_Delivered]-";

std::string DeliveredLine(std::uint32_t call) { return kDelivered + std::to_string(call); }

// The burst's calls in the order the desk logged them as delivered.
std::vector<std::uint32_t> HandledCalls(const DeskLog& log) {
  std::vector<std::uint32_t> calls;
  for (const LogLine& line : log.Matching(kDelivered)) {
    const std::string id = line.text.substr(line.text.find(kDelivered) + sizeof kDelivered - 1);
    std::uint32_t call = 0;
    const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), call);
    if (ec == std::errc() && end == id.data() + id.size() && call >= kFirstCall &&
        call < kFirstCall + kBurst) {
      calls.push_back(call);
    }
  }
  return calls;
}

TEST_F(DeskTest, DialRequestsAreAnsweredWhileABurstOfEventsIsHandledInOrder) {
  ASSERT_NO_FATAL_FAILURE(StartLoggedIn());
  DialClient client;
  ASSERT_TRUE(client.Connect(DialPort(), kWait));

  std::vector<CallEvent> burst;
  for (std::uint32_t i = 0; i < kBurst; ++i) {
    burst.push_back(CallEvent::Of(desk::kDelivered, kFirstCall + i).Other("0212345678").Called("4001"));
  }
  ASSERT_EQ(server_->PushAll(burst), 1);

  // A request each time a further share of the burst has been handled, the first right after
  // the first event.
  std::chrono::nanoseconds longest{0};
  int asked = 0;
  for (std::uint32_t handled = 1; handled < kBurst; handled += kDialEvery) {
    ASSERT_TRUE(desk_->Log().WaitForText(DeliveredLine(kFirstCall + handled - 1), kWait))
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

  ASSERT_TRUE(desk_->Log().WaitForText(DeliveredLine(kFirstCall + kBurst - 1), kWait))
      << Report();
  std::vector<std::uint32_t> expected(kBurst);
  for (std::uint32_t i = 0; i < kBurst; ++i) expected[i] = kFirstCall + i;
  EXPECT_EQ(HandledCalls(desk_->Log()), expected);
}

}  // namespace
}  // namespace desk::test
