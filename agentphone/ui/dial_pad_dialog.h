// frmDial, the dial pad "전화걸기": the number box txtNum, the digit keys 0-9, Clear, Send and
// Close as pairs of pictures (picN_off at rest, picN_on highlighted while the pointer is over
// the key; the highlighted one takes the click) and Command1, which sends like the Send key.
// It places no call: after it closed, Number() holds the trimmed number of at least 4
// characters that Send accepted, or the empty text.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <vector>

#include "agentphone/ui/image_button.h"

namespace agentphone::ui {

class MessageBoxes;

class DialPadDialog final : public QDialog {
  Q_OBJECT

 public:
  DialPadDialog(MessageBoxes& boxes, QWidget* parent = nullptr);

  QString Number() const { return number_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Key {
    ImageButton* off;
    ImageButton* on;
  };
  void AddKey(const QString& name, int x, int y, void (DialPadDialog::*action)(const QString&),
              const QString& argument);
  void Append(const QString& digit);
  void Clear(const QString&);
  void Send(const QString& = {});
  void Close(const QString&);
  void RestAll();

  MessageBoxes& boxes_;
  QLineEdit* txtNum_;
  QPushButton* command1_;
  std::vector<Key> keys_;
  QString number_;
};

}  // namespace agentphone::ui
