// One request stays on the session it found: a fail-over while it waits for its reply neither
// moves its wait to the other session nor sends one session's id on the other.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "call_gate.h"
#include "vomtel/core/session.h"
#include "vomtel/requests/call/answer_clear_hold.h"

namespace vomtel::test {
namespace {

TEST(OneSessionPerRequest, FailOverDuringARequestKeepsItOnItsSession) {
  ctisim::SimServer first(SimAt("127.0.0.1", 1, 0x111));
  ctisim::SimServer second(SimAt("127.0.0.2", 0, 0x222));
  TempDir dir;
  Settings settings;
  settings.logPath = dir.Path();
  Timings timings = CallTimings();
  timings.replyUnit = kPatience;  // the hold's reply comes when the test sends it
  OrbaAdapter adapter(settings, timings);
  adapter.AddServer(first.Address(), first.Port(), 0, 0, kAgentDn, "agent", kVersion, 0);
  adapter.AddServer(second.Address(), second.Port(), 0, 0, kAgentDn, "agent", kVersion, 0);
  int gate = -1;
  ASSERT_EQ(adapter.OpenServer(&gate), 1);

  ctisim::ReplyRule withheld;
  withheld.withhold = true;
  first.SetRule(0x41, 0x5A, withheld);
  ctisim::ReplyRule retrieved;
  retrieved.result = 42;
  first.SetRule(0x41, 0x78, retrieved);

  // A holds the first session's exchange while it waits; B has found the first session and
  // queues behind A. The fail-over happens while both are under way.
  std::atomic<bool> done{false};
  int held = 0;
  int retrieve = 0;
  std::thread a([&] {
    held = HoldCall(adapter, kAgentDn, 7, gate);
    done = true;
  });
  const auto hold = first.WaitForRequest(0x41, 0x5A, kPatience);
  ASSERT_TRUE(hold);
  std::thread b([&] { retrieve = RetrieveCall(adapter, kAgentDn, 8, gate); });
  const auto logged = [&] {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(dir / kLogFolderName)) {
      text += ReadFile(entry.path().string());
    }
    return text.find("vomtelRetrieveCall: gate[") != std::string::npos;
  };
  bool bLogged = false;
  const bool switched = WaitUntil([&] {
    if (!bLogged && (bLogged = logged())) first.PushHaNotice(false);  // the first turns standby
    Stream event;
    adapter.Proxy().Notify(event, gate);  // the event fetch promotes the second
    const auto active = adapter.Proxy().FindActive(gate);
    return active && active->SessionId() == 0x222;
  });
  const bool switchedInTime = switched && !done;
  // A's reply, on the connection its request came on.
  first.Send(ctisim::ReplyFrame({hold->cls, hold->code, hold->version, hold->word}, 41,
                                hold->number),
             hold->connection);
  a.join();
  b.join();
  ASSERT_TRUE(switchedInTime);

  // Both replies come from the session their requests went out on, and nothing carrying the
  // first session's id reached the second server.
  EXPECT_EQ(held, 41);
  EXPECT_EQ(retrieve, 42);
  const auto onFirst = first.WaitForRequest(0x41, 0x78, milliseconds(100));
  ASSERT_TRUE(onFirst);
  EXPECT_EQ(onFirst->session_id, 0x111u);
  for (const ctisim::Request& request : second.Received()) EXPECT_NE(request.session_id, 0x111u);

  // The next request goes to the new active session, with that session's id.
  EXPECT_EQ(RetrieveCall(adapter, kAgentDn, 9, gate), 1);
  const auto onSecond = second.WaitForRequest(0x41, 0x78, milliseconds(1000));
  ASSERT_TRUE(onSecond);
  EXPECT_EQ(onSecond->session_id, 0x222u);
  adapter.Proxy().CloseAll();
}

}  // namespace
}  // namespace vomtel::test
