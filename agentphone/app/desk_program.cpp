#include "agentphone/app/desk_program.h"

#include <QString>
#include <cstdio>
#include <functional>

#include "agentphone/app/phone_relay.h"
#include "agentphone/app/setting_number.h"
#include "agentphone/core/cti_controls.h"
#include "agentphone/core/dial_server/dial_request_handler.h"
#include "agentphone/core/screen_pop/browser_command.h"
#include "agentphone/core/screen_pop/http_page_browser.h"
#include "agentphone/core/screen_pop/screen_pop_service.h"
#include "agentphone/core/soft_phone.h"
#include "agentphone/db/background_check.h"
#include "agentphone/db/db_connections.h"
#include "agentphone/net/dial_request_server.h"
#include "agentphone/net/process_browser.h"
#include "agentphone/net/qt_http_client.h"
#include "agentphone/ui/message_boxes.h"
#include "agentphone/ui/qt_client_site.h"
#include "agentphone/ui/qt_dialogs.h"
#include "agentphone/ui/qt_window_timers.h"
#include "agentphone/ui/soft_phone_window.h"

namespace agentphone::app {
namespace {

using LogSink = std::function<void(std::string_view)>;

constexpr const char* kNoControlsText = "CTI 컨트롤을 만들 수 없습니다.";

db::DbTimeouts TimeoutsOf(const DeskSettings& settings) {
  return db::DbTimeouts{app::SettingNumber(settings.Get(kLoginTimeoutKey), 0, 3600,
                                           lists::kDefaultLoginTimeoutSeconds),
                        app::SettingNumber(settings.Get(kQueryTimeoutKey), 0, 3600,
                                           lists::kDefaultQueryTimeoutSeconds)};
}

TimerIntervals IntervalsOf(const DeskSettings& settings) {
  TimerIntervals intervals;
  intervals.timer4 = app::SettingNumber(settings.Get(kDbCheckKey), 100, 86400000, intervals.timer4);
  return intervals;
}

// The outbound page: a plain HTTP request, or the configured command.
std::unique_ptr<Browser> PageBrowserOf(const DeskSettings& settings, HttpClient& http,
                                       const LogSink& log) {
  if (const std::string command = settings.Get(kPageBrowserKey); !command.empty()) {
    return std::make_unique<ProcessBrowser>(
        ChooseBrowserCommand(command, [](std::string_view) { return false; }, {}), log);
  }
  return std::make_unique<HttpPageBrowser>(http, log);
}

}  // namespace

// The parts in the order they are made; they go in the reverse order.
struct DeskProgram::Parts {
  Parts(ui::MessageBoxes& boxes, const DeskStart& desk)
      : settings(desk.settings),
        window(),
        dialogs(boxes, desk.folder),
        site(boxes),
        databases(settings.Get(kCallbackDbKey), settings.Get(kStatsDbKey), desk.folder, clock,
                  TimeoutsOf(settings)),
        databaseCheck(databases.Statistics(), databases.CallBack(), log),
        http(std::make_unique<QtHttpClient>(app::SettingNumber(
            settings.Get(kHttpTimeoutKey), 1, 600000, QtHttpClient::kDefaultTimeoutMs))),
        popBrowser(ChooseBrowserCommand(
                       settings.Get(kBrowserKey),
                       [](std::string_view program) { return IsOnPath(program); },
                       (desk.folder / "browser-profile").string()),
                   log),
        pageBrowser(PageBrowserOf(settings, *http, log)),
        screenPops(relay, popBrowser, *pageBrowser, *http, timers,
                   ScreenPopSettings{settings.Get(kCustomerWebKey), settings.Get(kRecordingWebKey)}),
        dialHandler(relay),
        dialServer(dialHandler, log, QString::fromStdString(settings.Get(kDialBindKey))),
        phone(desk.folder, settings, clock,
              SoftPhoneParts{window, dialogs, timers, &screenPops, &databaseCheck, &dialServer},
              IntervalsOf(settings)) {
    dialogs.SetParent(&window);
    dialogs.SetPhone(&relay);
    site.SetWindow(&window);
    dialogs.SetLists(&databases.CallBack(), &databases.Statistics(), &clock);
    relay.Attach(&phone);
    timers.SetSink(&phone);
    window.Attach(&phone);
  }

  ~Parts() {
    // The controls go first (their timers die with the site's detach), then the HTTP client,
    // so that no answer reaches a screen-pop service that is gone.
    phone.AttachControls(nullptr, nullptr);
    controls.reset();
    http.reset();
  }

  const DeskSettings& settings;
  SystemClock clock;
  PhoneRelay relay;
  LogSink log = [this](std::string_view text) { relay.WriteLog(text); };
  ui::SoftPhoneWindow window;
  ui::QtDialogs dialogs;
  ui::QtWindowTimers timers;
  ui::QtClientSite site;
  db::DbConnections databases;
  db::BackgroundCheck databaseCheck;
  std::unique_ptr<QtHttpClient> http;
  ProcessBrowser popBrowser;
  std::unique_ptr<Browser> pageBrowser;
  ScreenPopService screenPops;
  DialRequestHandler dialHandler;
  DialRequestServer dialServer;
  SoftPhone phone;
  std::unique_ptr<CtiControls> controls;
};

DeskProgram::DeskProgram(ui::MessageBoxes& boxes) : boxes_(boxes) {}

DeskProgram::~DeskProgram() = default;

ui::SoftPhoneWindow* DeskProgram::Window() { return parts_ ? &parts_->window : nullptr; }

void DeskProgram::EndSession(std::string_view cause) {
  if (!parts_) return;
  parts_->phone.WriteLog("[SESSION END] " + std::string(cause));
  parts_->phone.AgentLogOut();
}

std::optional<int> DeskProgram::Start(const std::vector<std::string>& args) {
  std::string error;
  {
    ui::QtDialogs startDialogs(boxes_, {});
    switch (StartDesk(args, startDialogs, &desk_, &error)) {
      case StartResult::kStarted: break;
      case StartResult::kAlreadyRunning: return 1;
      case StartResult::kFolderNotWritable:
      case StartResult::kBadCommandLine:
      case StartResult::kNoDeskFolder:
        std::fprintf(stderr, "agentphone: %s\n", error.c_str());
        return 2;
    }
  }
  parts_ = std::make_unique<Parts>(boxes_, desk_);
  Parts& p = *parts_;
  p.controls = CtiControls::Create(
      p.site.Unknown(), [&p](int32_t kind) { p.phone.TELXEvt1_vomteleventget(kind); },
      [&p](std::string_view employeeId, int32_t device, int32_t blendmode,
           int32_t continuetime) {
        p.phone.Vomtelreadyagentgetvalue(employeeId, device, blendmode, continuetime);
      },
      &error);
  if (!p.controls) {
    std::fprintf(stderr, "agentphone: %s\n", error.c_str());
    boxes_.Inform(nullptr, ui::ProgramTitle(),
                  QString::fromUtf8(kNoControlsText) + QStringLiteral("\n") +
                      QString::fromStdString(error),
                  MessageIcon::kExclamation);
    parts_.reset();
    return 1;
  }
  p.phone.AttachControls(p.controls->Telx(), p.controls->TelxEvt());

  p.window.show();
  p.phone.Main();
  if (p.phone.Vars().gDBFLAG) p.databases.OpenAll(p.log);
  return std::nullopt;
}

}  // namespace agentphone::app
