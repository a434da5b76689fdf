#include "agentphone/ui/not_ready_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "agentphone/ui/pictures.h"

namespace agentphone::ui {

NotReadyDialog::NotReadyDialog(int32_t current, QWidget* parent)
    : QDialog(parent), options_(new QButtonGroup(this)), reason_(current) {
  setObjectName(QStringLiteral("frmNotReady"));
  setWindowTitle(QString::fromUtf8("휴식코드"));
  setModal(true);
  setWindowFlag(Qt::WindowStaysOnTopHint, true);

  auto* layout = new QVBoxLayout(this);
  auto* image = new QLabel(this);
  image->setObjectName(QStringLiteral("Image1"));
  image->setPixmap(NamedPicture(QStringLiteral("Image1")));
  layout->addWidget(image);

  const char* words[] = {"휴식", "식사", "교육", "회의"};
  for (int i = 0; i < 4; ++i) {
    auto* option = new QRadioButton(QString::fromUtf8(words[i]), this);
    option->setObjectName(QStringLiteral("Option1_%1").arg(i));
    options_->addButton(option, i);
    layout->addWidget(option);
  }
  options_->button(0)->setChecked(true);

  auto* buttons = new QHBoxLayout();
  auto* ok = new QPushButton(QString::fromUtf8("확인"), this);
  ok->setObjectName(QStringLiteral("cmdok"));
  auto* exit = new QPushButton(QString::fromUtf8("닫기"), this);
  exit->setObjectName(QStringLiteral("cmdExit"));
  buttons->addWidget(ok);
  buttons->addWidget(exit);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, &NotReadyDialog::Ok);
  connect(exit, &QPushButton::clicked, this, &NotReadyDialog::Exit);
}

void NotReadyDialog::Ok() {
  // The first selected option, in index order.
  for (int i = 0; i < 4; ++i) {
    if (options_->button(i)->isChecked()) {
      reason_ = i;
      break;
    }
  }
  accept();
}

void NotReadyDialog::Exit() {
  reason_ = 0;
  reject();
}

}  // namespace agentphone::ui
