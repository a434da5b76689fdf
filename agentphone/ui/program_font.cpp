#include "agentphone/ui/program_font.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace agentphone::ui {

bool UseProgramFont() {
  const QString family = QStringLiteral("NanumGothic");
  if (!QFontDatabase::families().contains(family)) return false;
  QFont font(family);
  font.setPointSize(9);
  QApplication::setFont(font);
  return true;
}

}  // namespace agentphone::ui
