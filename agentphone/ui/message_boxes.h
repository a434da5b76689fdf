// The message boxes of the window and its dialogs, behind an interface so that tests answer
// them. The Qt implementation shows a modal QMessageBox and returns when it is closed.
#pragma once

#include <QString>

#include "agentphone/core/dialogs.h"

class QWidget;

namespace agentphone::ui {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A message with an OK button.
  virtual void Inform(QWidget* parent, const QString& title, const QString& text,
                      MessageIcon icon) = 0;
  // A question with Yes and No buttons, no icon; true for Yes.
  virtual bool Ask(QWidget* parent, const QString& title, const QString& text) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
 public:
  void Inform(QWidget* parent, const QString& title, const QString& text,
              MessageIcon icon) override;
  bool Ask(QWidget* parent, const QString& title, const QString& text) override;
};

// The program's own title, for boxes that name none of their own.
QString ProgramTitle();

QString FromUtf8(std::string_view text);
std::string ToUtf8(const QString& text);

}  // namespace agentphone::ui
