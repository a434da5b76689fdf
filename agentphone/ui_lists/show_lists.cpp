#include "agentphone/ui_lists/show_lists.h"

#include "agentphone/ui_lists/call_back_window.h"
#include "agentphone/ui_lists/drop_call_window.h"
#include "agentphone/ui_lists/list_widgets.h"

namespace agentphone::ui_lists {
namespace {

// The list window shows it while its database keeps it waiting, for as long as it is open.
class WaitShown {
 public:
  WaitShown(lists::Database& db, QWidget* window) : db_(db) {
    db_.SetWaitNotice([window](bool waiting) { ShowWaiting(window, waiting); });
  }
  ~WaitShown() { db_.SetWaitNotice({}); }
  WaitShown(const WaitShown&) = delete;
  WaitShown& operator=(const WaitShown&) = delete;

 private:
  lists::Database& db_;
};

}  // namespace

void ShowCallBackList(QWidget* parent, SoftPhonePort& phone, Dialogs& dialogs,
                      lists::Database& callBackDb, const Clock& clock) {
  CallBackWindow window(callBackDb, phone, dialogs, clock, parent);
  WaitShown waiting(callBackDb, &window);
  window.show();
  window.Load();
  window.exec();
}

void ShowDropCallList(QWidget* parent, SoftPhonePort& phone, Dialogs& dialogs,
                      lists::Database& statisticsDb, const Clock& clock) {
  DropCallWindow window(statisticsDb, phone, dialogs, clock, parent);
  WaitShown waiting(statisticsDb, &window);
  window.show();
  window.Load();
  window.exec();
}

}  // namespace agentphone::ui_lists
