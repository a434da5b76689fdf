#include "agentphone/ui/dial_pad_dialog.h"

#include <QEvent>

#include "agentphone/ui/dial_entry.h"
#include "agentphone/ui/message_boxes.h"
#include "agentphone/ui/pictures.h"

namespace agentphone::ui {
namespace {

constexpr int kMargin = 10, kKeyW = 46, kKeyH = 34, kGap = 6;
constexpr int kColumn[3] = {kMargin, kMargin + kKeyW + kGap, kMargin + 2 * (kKeyW + kGap)};
constexpr int kBoxH = 26, kFirstRow = kMargin + kBoxH + 8;
constexpr int Row(int n) { return kFirstRow + n * (kKeyH + kGap); }

}  // namespace

DialPadDialog::DialPadDialog(MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), boxes_(boxes) {
  setObjectName(QStringLiteral("frmDial"));
  setWindowTitle(QString::fromUtf8("전화걸기"));
  setModal(true);
  setWindowFlag(Qt::WindowStaysOnTopHint, true);
  setMouseTracking(true);
  const int width = kColumn[2] + kKeyW + kMargin;

  txtNum_ = new QLineEdit(this);
  txtNum_->setObjectName(QStringLiteral("txtNum"));
  txtNum_->setGeometry(kMargin, kMargin, width - 2 * kMargin, kBoxH);
  txtNum_->installEventFilter(new DialKeyFilter(boxes_, this));
  connect(txtNum_, &QLineEdit::returnPressed, this, [this] { Send(); });

  const char* digits = "123456789";
  for (int i = 0; i < 9; ++i) {
    const QString d(QChar::fromLatin1(digits[i]));
    AddKey(d, kColumn[i % 3], Row(i / 3), &DialPadDialog::Append, d);
  }
  AddKey(QStringLiteral("Clear"), kColumn[0], Row(3), &DialPadDialog::Clear, {});
  AddKey(QStringLiteral("0"), kColumn[1], Row(3), &DialPadDialog::Append, QStringLiteral("0"));
  AddKey(QStringLiteral("Send"), kColumn[2], Row(3), &DialPadDialog::Send, {});
  AddKey(QStringLiteral("Close"), kColumn[0], Row(4), &DialPadDialog::Close, {});

  command1_ = new QPushButton(QString::fromUtf8("전화걸기"), this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command1_->setAutoDefault(false);
  command1_->setGeometry(kColumn[1], Row(4), kColumn[2] + kKeyW - kColumn[1], kKeyH);
  connect(command1_, &QPushButton::clicked, this, [this] { Send(); });

  setFixedSize(width, Row(4) + kKeyH + kMargin);
}

void DialPadDialog::AddKey(const QString& name, int x, int y,
                           void (DialPadDialog::*action)(const QString&), const QString& argument) {
  const QString off = QStringLiteral("pic") + name + QStringLiteral("_off");
  const QString on = QStringLiteral("pic") + name + QStringLiteral("_on");
  Key key{new ImageButton(off, this), new ImageButton(on, this)};
  key.off->SetPicture(NamedPicture(off), off);
  key.on->SetPicture(NamedPicture(on), on);
  key.off->move(x, y);
  key.on->move(x, y);
  key.on->hide();
  key.off->setMouseTracking(true);
  key.off->installEventFilter(this);
  connect(key.on, &ImageButton::clicked, this, [this, action, argument] { (this->*action)(argument); });
  keys_.push_back(key);
}

bool DialPadDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
    for (const Key& k : keys_) {
      if (k.off == watched) {
        k.off->hide();
        k.on->show();
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void DialPadDialog::mouseMoveEvent(QMouseEvent* event) {
  RestAll();
  QDialog::mouseMoveEvent(event);
}

void DialPadDialog::RestAll() {
  for (const Key& k : keys_) {
    k.on->hide();
    k.off->show();
  }
}

void DialPadDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  number_.clear();
  txtNum_->setFocus();
}

void DialPadDialog::Append(const QString& digit) { txtNum_->setText(txtNum_->text() + digit); }

void DialPadDialog::Clear(const QString&) { txtNum_->clear(); }

void DialPadDialog::Send(const QString&) {
  const QString number = DialNumber(txtNum_->text());
  if (number.isEmpty()) {
    boxes_.Inform(this, ProgramTitle(), QString::fromUtf8(kWrongNumberText), MessageIcon::kNone);
    return;
  }
  number_ = number;
  accept();
}

void DialPadDialog::Close(const QString&) {
  number_.clear();
  reject();
}

}  // namespace agentphone::ui
