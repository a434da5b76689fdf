#include "agentphone/ui/message_boxes.h"

#include <QMessageBox>

namespace agentphone::ui {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

QString ProgramTitle() { return FromUtf8(kProgramTitle); }

void QtMessageBoxes::Inform(QWidget* parent, const QString& title, const QString& text,
                            MessageIcon icon) {
  QMessageBox box(icon == MessageIcon::kExclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                  title.isEmpty() ? ProgramTitle() : title, text, QMessageBox::Ok, parent);
  box.setObjectName(QStringLiteral("MessageBox"));
  box.exec();
}

bool QtMessageBoxes::Ask(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? ProgramTitle() : title, text,
                  QMessageBox::Yes | QMessageBox::No, parent);
  box.setObjectName(QStringLiteral("QuestionBox"));
  return box.exec() == QMessageBox::Yes;
}

}  // namespace agentphone::ui
