// Qt's own Korean translation (qtbase_ko.qm of the Qt translations), so that the standard
// buttons of the message boxes read 확인, 예 and 아니요 under the program's Korean texts.
#pragma once

#include <QString>
#include <QTranslator>
#include <memory>

namespace agentphone::ui {

// Loads qtbase_ko from `folder` (empty: Qt's translations folder) and installs it in the running
// application, where it stays as long as the translator lives. Null when the file is missing or
// unreadable: the program runs on with the buttons' English texts.
std::unique_ptr<QTranslator> UseQtKoreanTexts(const QString& folder = {});

}  // namespace agentphone::ui
