#include "agentphone/core/screen_pop/screen_pop_service.h"

#include <utility>

#include "agentphone/core/screen_pop/pop_urls.h"
#include "agentphone/core/text_routines.h"

namespace agentphone {

ScreenPopService::ScreenPopService(SoftPhonePort& phone, Browser& popBrowser,
                                   Browser& pageBrowser, HttpClient& http, TimerService& timers,
                                   ScreenPopSettings settings)
    : phone_(phone),
      popBrowser_(popBrowser),
      pageBrowser_(pageBrowser),
      http_(http),
      timers_(timers),
      settings_(std::move(settings)) {}

void ScreenPopService::Screenpopup(std::string& Regnum, std::string& RecFile,
                                   std::string& CustTel, std::string& ingb) {
  Globals& g = phone_.Vars();
  // at most one inbound pop stays open: the one before goes first
  popBrowser_.End(g.mPOPHWND);
  g.mPOPHWND = 0;
  const std::string url = InboundPopUrl(settings_.customerWeb, Regnum, CustTel, RecFile, ingb);
  g.mPOPHWND = popBrowser_.Open(url);
  phone_.WriteLog(url);
}

void ScreenPopService::OutBoundScreenpopup(std::string& /*Regnum*/, std::string& RecFile,
                                           std::string& CustKey, std::string& CustTel) {
  Globals& g = phone_.Vars();
  if (g.gOUTPOPHWND != 0 && timers_.IsRunning(TimerId::Timer2)) {
    // a later outbound call within the delay: its page takes the place of this one, which
    // would otherwise never be ended
    replacedPages_.push_back(g.gOUTPOPHWND);
  }
  const std::string url = OutboundPageUrl(settings_.customerWeb, CustKey, CustTel, RecFile);
  g.gOUTPOPHWND = pageBrowser_.Open(url);
  phone_.WriteLog(url);
  g.gCUSTKEYSENT = g.gCUSTKEY;
  g.gCUSTKEY.clear();
  timers_.Start(TimerId::Timer2, settings_.recordingLinkDelayMs);
}

void ScreenPopService::CloseBrowserWindow(int64_t handle) {
  if (handle == 0) return;
  if (handle == phone_.Vars().gOUTPOPHWND) {
    for (int64_t earlier : std::exchange(replacedPages_, {})) pageBrowser_.End(earlier);
  }
  popBrowser_.End(handle);
  pageBrowser_.End(handle);
}

void ScreenPopService::NewRecDataSend(std::string& /*v_cnid*/, std::string& v_custno) {
  const Globals& g = phone_.Vars();
  const std::string ext = Trim(phone_.RealDnText());
  Notify(RecordingLinkUrl(RecordingLink{g.gREC, g.gCNID, g.gSTARTYEAR, g.gSTARTMONTH,
                                        g.gSTARTDAY, ext, v_custno}));
}

void ScreenPopService::SetRecordingData(std::string& /*CustNo*/) {
  Notify(CustomerFieldUpdateUrl(settings_.recordingWeb, phone_.Vars().gCNID));
}

void ScreenPopService::Notify(const std::string& url) {
  SoftPhonePort& phone = phone_;
  http_.Get(HttpRequest{url, url}, [&phone, url](const HttpResult& r) {
    if (r.ok) {
      phone.WriteLog("고객Data  전송 :" + url);
    } else {
      phone.WriteLog(r.error);
    }
  });
}

}  // namespace agentphone
