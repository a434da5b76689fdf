// A clickable picture: it shows one picture at a time and reports the press, the release (to
// the button that took the press, wherever the pointer is then) and the click (a release over
// the button). A disabled button takes no mouse events at all.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>

namespace agentphone::ui {

class ImageButton final : public QLabel {
  Q_OBJECT
  Q_PROPERTY(QString pictureName READ PictureName)

 public:
  explicit ImageButton(const QString& objectName, QWidget* parent = nullptr);

  // Shows the picture and keeps its name; the button takes the picture's size.
  void SetPicture(const QPixmap& pixmap, const QString& name);
  QString PictureName() const { return pictureName_; }

 signals:
  void pressed();
  void released();
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString pictureName_;
  bool down_ = false;
};

}  // namespace agentphone::ui
