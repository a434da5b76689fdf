#include "agentphone/ui/pictures.h"

#include <QPixmapCache>

namespace agentphone::ui {

QPixmap NamedPicture(const QString& name) {
  const QString path = QStringLiteral(":/pictures/") + name + QStringLiteral(".png");
  QPixmap pixmap;
  if (!QPixmapCache::find(path, &pixmap) && pixmap.load(path)) QPixmapCache::insert(path, pixmap);
  return pixmap;
}

QPixmap HolderPicture(Picture p) {
  const std::string_view name = PictureName(p);
  return NamedPicture(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
}

}  // namespace agentphone::ui
