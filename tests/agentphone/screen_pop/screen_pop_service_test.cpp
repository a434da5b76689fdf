#include "agentphone/core/screen_pop/screen_pop_service.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "agentphone/core/manual_timers.h"
#include "agentphone/core/screen_pop/http_page_browser.h"
#include "agentphone/dial_server/recording_phone.h"

namespace agentphone {
namespace {

using testing::RecordingPhone;

// Remembers what it opened; a handle stays open until ended.
class FakeBrowser : public Browser {
 public:
  std::vector<std::string> opened;
  std::map<int64_t, std::string> open;
  std::vector<int64_t> ended;

  int64_t Open(const std::string& url) override {
    opened.push_back(url);
    const int64_t h = NextBrowserHandle();
    open[h] = url;
    return h;
  }
  void End(int64_t handle) override {
    if (open.erase(handle)) ended.push_back(handle);
  }
};

// Keeps every request until the test answers it.
class FakeHttp : public HttpClient {
 public:
  struct Pending {
    HttpRequest request;
    std::function<void(const HttpResult&)> done;
  };
  std::vector<Pending> pending;

  void Get(const HttpRequest& request, std::function<void(const HttpResult&)> done) override {
    pending.push_back({request, std::move(done)});
  }
  void Answer(size_t i, HttpResult r) { pending.at(i).done(r); }
};

// The window's Timer2 handler as the core runs it: stop, close the page, send the link.
class Timer2Handler : public TimerSink {
 public:
  Timer2Handler(ManualTimers& t, RecordingPhone& p, ScreenPops& s) : t_(t), p_(p), s_(s) {}
  void OnTimer(TimerId id) override {
    if (id != TimerId::Timer2) return;
    t_.Stop(TimerId::Timer2);
    s_.CloseBrowserWindow(p_.vars.gOUTPOPHWND);
    std::string cnid = p_.vars.gCNID, key = p_.vars.gCUSTKEYSENT;
    s_.NewRecDataSend(cnid, key);
  }

 private:
  ManualTimers& t_;
  RecordingPhone& p_;
  ScreenPops& s_;
};

class ScreenPopServiceTest : public ::testing::Test {
 protected:
  ScreenPopServiceTest() : handler(timers, phone, service) {
    timers.SetSink(&handler);
    phone.vars.gREC = "http://rec/";
    phone.vars.gCNID = "CN1";
    phone.vars.gSTARTYEAR = "2026";
    phone.vars.gSTARTMONTH = "12";
    phone.vars.gSTARTDAY = "10";
  }

  void Outbound(const std::string& key, const std::string& tel) {
    phone.vars.gCUSTKEY = key;
    std::string reg, rec = "RF", k = key, t = tel;
    service.OutBoundScreenpopup(reg, rec, k, t);
  }

  RecordingPhone phone;
  FakeBrowser pops, pages;
  FakeHttp http;
  ManualTimers timers;
  ScreenPopService service{phone, pops, pages, http, timers, {"http://crm", "http://recweb", 3000}};
  Timer2Handler handler;
};

TEST_F(ScreenPopServiceTest, InboundPopEndsThePreviousOne) {
  std::string reg = "R1", rec = "RF", tel = "0212345678", ingb = "0006";
  service.Screenpopup(reg, rec, tel, ingb);
  const std::string first = "http://crm/cust/frmPhone.do?reg_no=R1&tel_no=0212345678&file_url=RF&inbound_num=0006";
  EXPECT_EQ(pops.opened, std::vector<std::string>{first});
  EXPECT_TRUE(pops.ended.empty());  // the first pop closes nothing
  const int64_t firstHandle = phone.vars.mPOPHWND;
  EXPECT_NE(firstHandle, 0);
  EXPECT_EQ(phone.log, std::vector<std::string>{first});

  reg = "R2";
  service.Screenpopup(reg, rec, tel, ingb);
  EXPECT_EQ(pops.ended, std::vector<int64_t>{firstHandle});
  ASSERT_EQ(pops.open.size(), 1u);
  EXPECT_EQ(pops.open.begin()->first, phone.vars.mPOPHWND);
  EXPECT_TRUE(pages.opened.empty());
  EXPECT_TRUE(http.pending.empty());
}

TEST_F(ScreenPopServiceTest, OutboundPageThenTimer2ThenRecordingLink) {
  Outbound("KEY1", "01012345678");
  const std::string page = "http://crm/cust/frmUrlSave.do?reg_no=KEY1&tel_no=01012345678&file_url=RF";
  EXPECT_EQ(pages.opened, std::vector<std::string>{page});
  EXPECT_EQ(phone.vars.gCUSTKEY, "");
  EXPECT_EQ(phone.vars.gCUSTKEYSENT, "KEY1");
  EXPECT_EQ(phone.log, std::vector<std::string>{page});
  EXPECT_TRUE(timers.IsRunning(TimerId::Timer2));
  EXPECT_EQ(timers.Interval(TimerId::Timer2), 3000);

  timers.Advance(2999);
  EXPECT_TRUE(http.pending.empty());
  EXPECT_EQ(pages.open.size(), 1u);
  timers.Advance(1);
  EXPECT_FALSE(timers.IsRunning(TimerId::Timer2));
  EXPECT_TRUE(pages.open.empty());
  ASSERT_EQ(http.pending.size(), 1u);
  const std::string link =
      "http://rec/CustIdLinkage.jsp?RCallID=CN1&StartTime=20261210&Ext=3001 &CustId=KEY1";
  EXPECT_EQ(http.pending[0].request.url, link);
  EXPECT_EQ(http.pending[0].request.body, link);
  EXPECT_EQ(phone.log.size(), 1u);  // logged when the answer comes
  http.Answer(0, {true, {}});
  EXPECT_EQ(phone.log.back(), "고객Data  전송 :" + link);

  timers.Advance(10000);  // once per start
  EXPECT_EQ(http.pending.size(), 1u);
}

TEST_F(ScreenPopServiceTest, SecondOutboundCallWithinTheDelayReplacesTheFirst) {
  Outbound("KEY1", "01011111111");
  timers.Advance(2000);
  Outbound("KEY2", "01022222222");
  EXPECT_EQ(pages.open.size(), 2u);
  timers.Advance(2999);  // the first call's 3 s are over, but Timer2 was restarted
  EXPECT_TRUE(http.pending.empty());
  timers.Advance(1);
  // only the later customer is told; both pages end (the earlier would otherwise stay)
  ASSERT_EQ(http.pending.size(), 1u);
  EXPECT_NE(http.pending[0].request.url.find("&CustId=KEY2"), std::string::npos);
  EXPECT_TRUE(pages.open.empty());
}

TEST_F(ScreenPopServiceTest, CustomerFieldUpdateAndFailuresAreLogged) {
  std::string none;
  service.SetRecordingData(none);
  phone.vars.gCNID = "CN2";
  service.SetRecordingData(none);
  ASSERT_EQ(http.pending.size(), 2u);
  const std::string url1 = "http://recweb/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID= CN1&CUST_ID= ";
  EXPECT_EQ(http.pending[0].request.url, url1);
  EXPECT_EQ(http.pending[0].request.body, url1);
  // answers come in any order; each logs its own URL or its error
  http.Answer(1, {false, kHttpTimeoutText});
  http.Answer(0, {true, {}});
  EXPECT_EQ(phone.log, (std::vector<std::string>{kHttpTimeoutText, "고객Data  전송 :" + url1}));
}

TEST(HttpPageBrowser, CallsThePageWithoutBodyAndLogsFailure) {
  FakeHttp http;
  std::vector<std::string> log;
  HttpPageBrowser page(http, [&log](std::string_view l) { log.emplace_back(l); });
  EXPECT_EQ(page.Open("http://crm/p?a= b"), 0);  // nothing stays open
  ASSERT_EQ(http.pending.size(), 1u);
  EXPECT_EQ(http.pending[0].request.url, "http://crm/p?a= b");
  EXPECT_EQ(http.pending[0].request.body, "");
  http.Answer(0, {false, "Connection refused"});
  EXPECT_EQ(log, std::vector<std::string>{"Connection refused"});
}

}  // namespace
}  // namespace agentphone
