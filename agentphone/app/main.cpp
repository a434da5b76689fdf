// The agent program: the desk folder and its one-instance lock, the settings, the two CTI
// controls on the window's client site, the main window with its dialogs and timers, the
// dial-request listener, the screen pops and the lists' databases; then the event loop.
#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "agentphone/app/phone_relay.h"
#include "agentphone/app/setting_number.h"
#include "agentphone/core/cti_controls.h"
#include "agentphone/core/desk_start.h"
#include "agentphone/core/dial_server/dial_request_handler.h"
#include "agentphone/core/lists/database_check.h"
#include "agentphone/core/screen_pop/browser_command.h"
#include "agentphone/core/screen_pop/http_page_browser.h"
#include "agentphone/core/screen_pop/screen_pop_service.h"
#include "agentphone/core/soft_phone.h"
#include "agentphone/db/db_connections.h"
#include "agentphone/net/dial_request_server.h"
#include "agentphone/net/process_browser.h"
#include "agentphone/net/qt_http_client.h"
#include "agentphone/ui/message_boxes.h"
#include "agentphone/ui/program_font.h"
#include "agentphone/ui/qt_client_site.h"
#include "agentphone/ui/qt_dialogs.h"
#include "agentphone/ui/qt_window_timers.h"
#include "agentphone/ui/soft_phone_window.h"

namespace agentphone {
namespace {

constexpr const char* kNoControlsText = "CTI 컨트롤을 만들 수 없습니다.";

int Run(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::UseProgramFont();
  ui::QtMessageBoxes boxes;

  std::vector<std::string> args(argv + 1, argv + argc);
  DeskStart desk;
  std::string error;
  {
    ui::QtDialogs startDialogs(boxes, {});
    switch (StartDesk(args, startDialogs, &desk, &error)) {
      case StartResult::kStarted: break;
      case StartResult::kAlreadyRunning: return 1;
      case StartResult::kBadCommandLine:
      case StartResult::kNoDeskFolder:
        std::fprintf(stderr, "agentphone: %s\n", error.c_str());
        return 2;
    }
  }
  const DeskSettings& settings = desk.settings;
  SystemClock clock;
  app::PhoneRelay relay;
  auto log = [&relay](std::string_view text) { relay.WriteLog(text); };

  ui::SoftPhoneWindow window;
  ui::QtDialogs dialogs(boxes, desk.folder);
  dialogs.SetParent(&window);
  dialogs.SetPhone(&relay);
  ui::QtWindowTimers timers;
  ui::QtClientSite site(boxes);
  site.SetWindow(&window);

  const db::DbTimeouts dbTimeouts{
      app::SettingNumber(settings.Get(kLoginTimeoutKey), 0, 3600,
                         lists::kDefaultLoginTimeoutSeconds),
      app::SettingNumber(settings.Get(kQueryTimeoutKey), 0, 3600,
                         lists::kDefaultQueryTimeoutSeconds)};
  db::DbConnections databases(settings.Get(kCallbackDbKey), settings.Get(kStatsDbKey),
                              desk.folder, clock, dbTimeouts);
  lists::ConnectionCheck databaseCheck(databases.Statistics(), databases.CallBack(), log);
  dialogs.SetLists(&databases.CallBack(), &databases.Statistics(), &clock);

  auto http = std::make_unique<QtHttpClient>(app::SettingNumber(
      settings.Get(kHttpTimeoutKey), 1, 600000, QtHttpClient::kDefaultTimeoutMs));
  ProcessBrowser popBrowser(
      ChooseBrowserCommand(settings.Get(kBrowserKey),
                           [](std::string_view program) { return IsOnPath(program); },
                           (desk.folder / "browser-profile").string()),
      log);
  // The outbound page: a plain HTTP request, or the configured command.
  std::unique_ptr<Browser> pageBrowser;
  if (const std::string command = settings.Get(kPageBrowserKey); command.empty()) {
    pageBrowser = std::make_unique<HttpPageBrowser>(*http, log);
  } else {
    pageBrowser = std::make_unique<ProcessBrowser>(
        ChooseBrowserCommand(command, [](std::string_view) { return false; }, {}), log);
  }
  ScreenPopService screenPops(relay, popBrowser, *pageBrowser, *http, timers,
                              ScreenPopSettings{settings.Get(kCustomerWebKey),
                                                settings.Get(kRecordingWebKey)});
  DialRequestHandler dialHandler(relay);
  DialRequestServer dialServer(dialHandler, log,
                               QString::fromStdString(settings.Get(kDialBindKey)));

  SoftPhone phone(desk.folder, settings, clock,
                  SoftPhoneParts{window, dialogs, timers, &screenPops, &databaseCheck, &dialServer});
  relay.Attach(&phone);
  timers.SetSink(&phone);
  window.Attach(&phone);

  std::unique_ptr<CtiControls> controls = CtiControls::Create(
      site.Unknown(), [&phone](int32_t kind) { phone.TELXEvt1_vomteleventget(kind); },
      [&phone](std::string_view employeeId, int32_t device, int32_t blendmode,
               int32_t continuetime) {
        phone.Vomtelreadyagentgetvalue(employeeId, device, blendmode, continuetime);
      },
      &error);
  if (!controls) {
    std::fprintf(stderr, "agentphone: %s\n", error.c_str());
    boxes.Inform(nullptr, ui::ProgramTitle(),
                 QString::fromUtf8(kNoControlsText) + QStringLiteral("\n") +
                     QString::fromStdString(error),
                 MessageIcon::kExclamation);
    return 1;
  }
  phone.AttachControls(controls->Telx(), controls->TelxEvt());

  window.show();
  phone.Main();
  if (phone.Vars().gDBFLAG) databases.OpenAll(log);
  const int rc = app.exec();

  // The controls go first (their timers die with the site's detach), then the HTTP client, so
  // that no answer reaches a screen-pop service that is gone.
  phone.AttachControls(nullptr, nullptr);
  controls.reset();
  http.reset();
  return rc;
}

}  // namespace
}  // namespace agentphone

int main(int argc, char** argv) { return agentphone::Run(argc, argv); }
