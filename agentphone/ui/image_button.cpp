#include "agentphone/ui/image_button.h"

#include <QMouseEvent>
#include <QPointer>

namespace agentphone::ui {

ImageButton::ImageButton(const QString& objectName, QWidget* parent) : QLabel(parent) {
  setObjectName(objectName);
  setCursor(Qt::PointingHandCursor);
}

void ImageButton::SetPicture(const QPixmap& pixmap, const QString& name) {
  pictureName_ = name;
  setPixmap(pixmap);
  if (!pixmap.isNull()) setFixedSize(pixmap.deviceIndependentSize().toSize());
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QLabel::mousePressEvent(event);
  down_ = true;
  emit pressed();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !down_) return QLabel::mouseReleaseEvent(event);
  down_ = false;
  // The handlers may disable or even delete the button; a click needs it still enabled.
  QPointer<ImageButton> self(this);
  const bool inside = rect().contains(event->position().toPoint());
  emit released();
  if (self && inside && isEnabled()) emit clicked();
}

}  // namespace agentphone::ui
