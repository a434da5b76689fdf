// The screen pops and notifications of the main window: the inbound pop in a browser window
// (the one before it ended first), the outbound page without a visible window followed, on
// Timer2, by the recording link, and the customer-field update. Runs on the user-interface
// thread; the notifications are asynchronous and log their outcome when it comes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "agentphone/core/outside_ports.h"
#include "agentphone/core/screen_pop/browser.h"
#include "agentphone/core/screen_pop/http_client.h"
#include "agentphone/core/soft_phone_port.h"
#include "agentphone/core/timers.h"

namespace agentphone {

struct ScreenPopSettings {
  std::string customerWeb;    // scheme and host of the customer web server
  std::string recordingWeb;   // scheme and host of the recording web server
  int32_t recordingLinkDelayMs = 3000;  // Timer2's interval after an outbound page
};

class ScreenPopService final : public ScreenPops {
 public:
  // popBrowser opens the inbound pops, pageBrowser calls the outbound page. All references
  // must outlive the service; the HTTP client must be destroyed before it (so that no answer
  // arrives for a service that is gone).
  ScreenPopService(SoftPhonePort& phone, Browser& popBrowser, Browser& pageBrowser,
                   HttpClient& http, TimerService& timers, ScreenPopSettings settings);

  void Screenpopup(std::string& Regnum, std::string& RecFile, std::string& CustTel,
                   std::string& ingb) override;
  void OutBoundScreenpopup(std::string& Regnum, std::string& RecFile, std::string& CustKey,
                           std::string& CustTel) override;
  void NewRecDataSend(std::string& v_cnid, std::string& v_custno) override;
  void SetRecordingData(std::string& CustNo) override;
  void CloseBrowserWindow(int64_t handle) override;

 private:
  void Notify(const std::string& url);

  SoftPhonePort& phone_;
  Browser& popBrowser_;
  Browser& pageBrowser_;
  HttpClient& http_;
  TimerService& timers_;
  ScreenPopSettings settings_;
  // Outbound pages replaced by a later one before their Timer2: ended with the later page.
  std::vector<int64_t> replacedPages_;
};

}  // namespace agentphone
