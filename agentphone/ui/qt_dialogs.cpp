#include "agentphone/ui/qt_dialogs.h"

#include "agentphone/ui/consult_dial_dialog.h"
#include "agentphone/ui/dial_pad_dialog.h"
#include "agentphone/ui/not_ready_dialog.h"
#include "agentphone/ui_lists/show_lists.h"

namespace agentphone::ui {

void QtDialogs::ShowMessage(std::string_view text, std::string_view title, MessageIcon icon) {
  boxes_.Inform(parent_, FromUtf8(title), FromUtf8(text), icon);
}

bool QtDialogs::AskYesNo(std::string_view text, std::string_view title) {
  return boxes_.Ask(parent_, FromUtf8(title), FromUtf8(text));
}

std::string QtDialogs::RunDialPad() {
  DialPadDialog dialog(boxes_, parent_);
  dialog.exec();
  return ToUtf8(dialog.Number());
}

int32_t QtDialogs::RunNotReadyReason(int32_t current) {
  NotReadyDialog dialog(current, parent_);
  dialog.exec();
  return dialog.Reason();
}

std::string QtDialogs::RunConsultDial() {
  if (!phone_) return {};
  ConsultDialDialog dialog(boxes_, phone_->Vars(), desk_, parent_);
  dialog.exec();
  return ToUtf8(dialog.Number());
}

void QtDialogs::RunCallBackList() {
  if (phone_ && callBack_ && clock_) {
    ui_lists::ShowCallBackList(parent_, *phone_, *this, *callBack_, *clock_);
  }
}

void QtDialogs::RunDropCallList() {
  if (phone_ && statistics_ && clock_) {
    ui_lists::ShowDropCallList(parent_, *phone_, *this, *statistics_, *clock_);
  }
}

}  // namespace agentphone::ui
