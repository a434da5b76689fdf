// The notifications and the outbound page through the real HTTP client, against a web server
// of the test: what goes on the wire byte for byte, and a server that never answers.
#include "agentphone/net/qt_http_client.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <thread>

#include "agentphone/core/manual_timers.h"
#include "agentphone/core/screen_pop/http_page_browser.h"
#include "agentphone/core/screen_pop/pop_urls.h"
#include "agentphone/core/screen_pop/screen_pop_service.h"
#include "agentphone/dial_server/recording_phone.h"
#include "tests/agentphone/net/capture_http_server.h"
#include "tests/agentphone/net/wait_until.h"

namespace agentphone {
namespace {

using net_testing::CapturedRequest;
using net_testing::CaptureHttpServer;
using net_testing::WaitUntil;

class NoBrowser : public Browser {
 public:
  int64_t Open(const std::string&) override { return 0; }
  void End(int64_t) override {}
};

// A process's first requests through the network stack take seconds under a sanitizer on a
// busy machine: the client's time-out must not end them before they reach the server.
inline constexpr int kPatientTimeoutMs = 20000;

struct NotificationTest : ::testing::Test {
  explicit NotificationTest(CaptureHttpServer::Mode mode = CaptureHttpServer::Mode::kAnswer,
                            int timeoutMs = kPatientTimeoutMs)
      : web(mode), http(timeoutMs) {
    phone.vars.gREC = web.Base() + "/rec/";
    phone.vars.gCNID = "CN1";
    phone.vars.gSTARTYEAR = "2026";
    phone.vars.gSTARTMONTH = "12";
    phone.vars.gSTARTDAY = "10";
  }

  bool Logged(const std::string& line) const {
    return std::count(phone.log.begin(), phone.log.end(), line) == 1;
  }

  CaptureHttpServer web;
  testing::RecordingPhone phone;
  NoBrowser pops;
  ManualTimers timers;
  QtHttpClient http;
  HttpPageBrowser page{http, [this](std::string_view l) { phone.WriteLog(l); }};
  ScreenPopService service{phone, pops, page, http, timers,
                           ScreenPopSettings{web.Base(), web.Base(), 3000}};
};

TEST_F(NotificationTest, RequestsGoOnTheWireAsBuiltWithBlanksAsPercent20) {
  ASSERT_TRUE(web.IsListening());
  const std::string field = CustomerFieldUpdateUrl(web.Base(), "CN1");
  std::string none, cnid = "CN1", key = "K1";
  service.SetRecordingData(none);
  service.NewRecDataSend(cnid, key);
  phone.vars.gCUSTKEY = "KEY1";
  std::string reg, rec = field, custKey = "KEY1", tel = "01012345678";
  service.OutBoundScreenpopup(reg, rec, custKey, tel);
  EXPECT_EQ(http.Pending(), 3) << "nothing waited for";

  ASSERT_TRUE(WaitUntil([&] { return web.Requests().size() == 3 && http.Pending() == 0; }));
  std::map<std::string, CapturedRequest> byLine;
  for (const CapturedRequest& r : web.Requests()) byLine[r.line] = r;
  const std::string link = web.Base() +
                           "/rec/CustIdLinkage.jsp?RCallID=CN1&StartTime=20261210&Ext=3001 "
                           "&CustId=K1";
  const std::map<std::string, std::string> expected = {
      {"GET /tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID=%20CN1&CUST_ID=%20 HTTP/1.1",
       field},
      {"GET /rec/CustIdLinkage.jsp?RCallID=CN1&StartTime=20261210&Ext=3001%20&CustId=K1 HTTP/1.1",
       link},
      {"GET /cust/frmUrlSave.do?reg_no=KEY1&tel_no=01012345678&file_url=" + web.Base() +
           "/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID=%20CN1&CUST_ID=%20 HTTP/1.1",
       ""},
  };
  for (const auto& [line, body] : expected) {
    ASSERT_EQ(byLine.count(line), 1u) << line << "\nreceived:\n"
                                      << web.Requests()[0].line << "\n"
                                      << web.Requests()[1].line << "\n"
                                      << web.Requests()[2].line;
    EXPECT_EQ(byLine[line].body, body) << "the body is the URL as built";
  }
  EXPECT_TRUE(Logged("고객Data  전송 :" + field));
  EXPECT_TRUE(Logged("고객Data  전송 :" + link));
  EXPECT_EQ(phone.log.size(), 3u) << "the page's URL, then the two deliveries";
}

struct SilentServerTest : NotificationTest {
  // the test waits the whole time-out out
  SilentServerTest() : NotificationTest(CaptureHttpServer::Mode::kSilent) {}
};

TEST_F(SilentServerTest, AServerThatNeverAnswersEndsInTheTimeOutWhileTheLoopTicks) {
  // stands in for the event control's poll timer
  int ticks = 0;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&ticks] { ++ticks; });
  poll.start(5);

  std::string none;
  service.SetRecordingData(none);
  EXPECT_TRUE(phone.log.empty());
  EXPECT_EQ(http.Pending(), 1);
  ASSERT_TRUE(WaitUntil([&] { return web.Requests().size() == 1; }));
  const int ticksAtServer = ticks;
  ASSERT_TRUE(WaitUntil([&] { return !phone.log.empty(); }));
  EXPECT_EQ(phone.log, std::vector<std::string>{kHttpTimeoutText});
  EXPECT_GT(ticks, ticksAtServer) << "the loop ran while the server kept silent";
  EXPECT_EQ(http.Pending(), 0);
}

struct HeldWindowTest : NotificationTest {
  // Short enough to be outlasted by a hold, long enough for a warm client's loopback exchange.
  static constexpr int kTimeoutMs = 2000;
  static constexpr std::chrono::milliseconds kHold{kTimeoutMs + 1500};
  HeldWindowTest() : NotificationTest(CaptureHttpServer::Mode::kAnswer, kTimeoutMs) {}
};

TEST_F(HeldWindowTest, ANotificationQueuedJustBeforeTheWindowIsHeldStillGoesOut) {
  // A first exchange brings the client's network thread up; its own result does not matter.
  std::string none;
  service.SetRecordingData(none);
  ASSERT_TRUE(WaitUntil([&] { return http.Pending() == 0; }));
  phone.log.clear();

  // The window's thread is held (a command waiting for the switch, a burst of events) right
  // after the notification was queued, for longer than the client's time-out.
  service.SetRecordingData(none);
  std::this_thread::sleep_for(kHold);
  ASSERT_TRUE(WaitUntil([&] { return http.Pending() == 0; }));

  const std::string url = CustomerFieldUpdateUrl(web.Base(), "CN1");
  EXPECT_EQ(phone.log, std::vector<std::string>{"고객Data  전송 :" + url})
      << "the time-out counts from the transfer, not from the queueing";
  ASSERT_GE(web.Requests().size(), 1u);
  EXPECT_EQ(web.Requests().back().body, url);
}

}  // namespace
}  // namespace agentphone
