#include "agentphone/ui/qt_korean.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace agentphone::ui {

std::unique_ptr<QTranslator> UseQtKoreanTexts(const QString& folder) {
  const QString from =
      folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_ko"), from)) return nullptr;
  if (!QCoreApplication::installTranslator(translator.get())) return nullptr;
  return translator;
}

}  // namespace agentphone::ui
