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
  timings.replyUnit = milliseconds(200);  // a reply wait of 600 ms
  OrbaAdapter adapter(settings, timings);
  adapter.AddServer(first.Address(), first.Port(), 0, 0, kAgentDn, "agent", kVersion, 0);
  adapter.AddServer(second.Address(), second.Port(), 0, 0, kAgentDn, "agent", kVersion, 0);
  int gate = -1;
  ASSERT_EQ(adapter.OpenServer(&gate), 1);

  ctisim::ReplyRule late;
  late.result = 41;
  late.shape.delay = milliseconds(300);
  first.SetRule(0x41, 0x5A, late);
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
  ASSERT_TRUE(first.WaitForRequest(0x41, 0x5A, milliseconds(1000)));
  std::thread b([&] { retrieve = RetrieveCall(adapter, kAgentDn, 8, gate); });
  const auto logged = [&] {
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(dir / kLogFolderName)) {
      text += ReadFile(entry.path().string());
    }
    return text.find("vomtelRetrieveCall: gate[") != std::string::npos;
  };
  bool bLogged = false;
  bool switched = false;
  const auto deadline = std::chrono::steady_clock::now() + milliseconds(250);
  while (!switched && std::chrono::steady_clock::now() < deadline) {
    if (!bLogged && (bLogged = logged())) first.PushHaNotice(false);  // the first turns standby
    Stream event;
    adapter.Proxy().Notify(event, gate);  // the event fetch promotes the second
    const auto active = adapter.Proxy().FindActive(gate);
    switched = active && active->SessionId() == 0x222;
    if (!switched) std::this_thread::sleep_for(milliseconds(5));
  }
  const bool switchedInTime = switched && !done;
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
