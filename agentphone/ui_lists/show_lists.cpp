#include "agentphone/ui_lists/show_lists.h"

#include "agentphone/ui_lists/call_back_window.h"
#include "agentphone/ui_lists/drop_call_window.h"

namespace agentphone::ui_lists {

void ShowCallBackList(QWidget* parent, SoftPhonePort& phone, Dialogs& dialogs,
                      lists::Database& callBackDb, const Clock& clock) {
  CallBackWindow window(callBackDb, phone, dialogs, clock, parent);
  window.show();
  window.Load();
  window.exec();
}

void ShowDropCallList(QWidget* parent, SoftPhonePort& phone, Dialogs& dialogs,
                      lists::Database& statisticsDb, const Clock& clock) {
  DropCallWindow window(statisticsDb, phone, dialogs, clock, parent);
  window.show();
  window.Load();
  window.exec();
}

}  // namespace agentphone::ui_lists
