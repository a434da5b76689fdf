// What the main window calls from its two list buttons: each opens its list modally over the
// parent, loads it (today's entries) and returns when the agent closed it.
#pragma once

#include "agentphone/core/clock.h"
#include "agentphone/core/dialogs.h"
#include "agentphone/core/lists/database.h"
#include "agentphone/core/soft_phone_port.h"

class QWidget;

namespace agentphone::ui_lists {

// The call-back list over the call-back connection.
void ShowCallBackList(QWidget* parent, SoftPhonePort& phone, Dialogs& dialogs,
                      lists::Database& callBackDb, const Clock& clock);

// The abandoned-call list over the statistics connection.
void ShowDropCallList(QWidget* parent, SoftPhonePort& phone, Dialogs& dialogs,
                      lists::Database& statisticsDb, const Clock& clock);

}  // namespace agentphone::ui_lists
