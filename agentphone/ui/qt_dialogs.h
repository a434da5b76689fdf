// The core's message boxes and modal dialogs on Qt: each opens over the main window, runs its
// own event loop (the window's timers and the controls' ticks go on meanwhile) and hands back
// its one result.
#pragma once

#include <QPointer>
#include <QWidget>
#include <filesystem>

#include "agentphone/core/clock.h"
#include "agentphone/core/dialogs.h"
#include "agentphone/core/lists/database.h"
#include "agentphone/core/soft_phone_port.h"
#include "agentphone/ui/message_boxes.h"

namespace agentphone::ui {

class QtDialogs final : public Dialogs {
 public:
  QtDialogs(MessageBoxes& boxes, std::filesystem::path deskFolder)
      : boxes_(boxes), desk_(std::move(deskFolder)) {}

  // The window the dialogs open over (null: none).
  void SetParent(QWidget* parent) { parent_ = parent; }
  // The core, whose variables the consultation dialog reads and whose commands the lists use.
  void SetPhone(SoftPhonePort* phone) { phone_ = phone; }
  // The lists' databases; without them the list buttons open nothing.
  void SetLists(lists::Database* callBack, lists::Database* statistics, const Clock* clock) {
    callBack_ = callBack;
    statistics_ = statistics;
    clock_ = clock;
  }

  void ShowMessage(std::string_view text, std::string_view title, MessageIcon icon) override;
  bool AskYesNo(std::string_view text, std::string_view title) override;
  std::string RunDialPad() override;
  int32_t RunNotReadyReason(int32_t current) override;
  std::string RunConsultDial() override;
  void RunCallBackList() override;
  void RunDropCallList() override;

 private:
  MessageBoxes& boxes_;
  std::filesystem::path desk_;
  QPointer<QWidget> parent_;
  SoftPhonePort* phone_ = nullptr;
  lists::Database* callBack_ = nullptr;
  lists::Database* statistics_ = nullptr;
  const Clock* clock_ = nullptr;
};

}  // namespace agentphone::ui
