#include "agentphone/ui/consult_dial_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "agentphone/core/desk_settings.h"
#include "agentphone/core/lists/grid_routines.h"
#include "agentphone/core/text_routines.h"
#include "agentphone/ui/dial_entry.h"
#include "agentphone/ui/message_boxes.h"
#include "agentphone/ui/ready_agent_rows.h"

namespace agentphone::ui {

ConsultDialDialog::ConsultDialDialog(MessageBoxes& boxes, const Globals& g,
                                     const std::filesystem::path& deskFolder, QWidget* parent)
    : QDialog(parent), boxes_(boxes) {
  setObjectName(QStringLiteral("frm_Dial_Con"));
  setWindowTitle(QString::fromUtf8("호전환 연결"));
  setModal(true);
  setWindowFlag(Qt::WindowStaysOnTopHint, true);

  auto* layout = new QVBoxLayout(this);
  ss2_ = ui_lists::MakeListTable(
      {QString::fromUtf8("성명"), QString::fromUtf8("내선"), QString::fromUtf8("모드"),
       QString::fromUtf8("시간")},
      this);
  ss2_->setObjectName(QStringLiteral("SS2"));
  ss2_->setMinimumSize(300, 180);
  grid_ = std::make_unique<ui_lists::TableGrid>(ss2_);
  layout->addWidget(ss2_);

  auto* entry = new QHBoxLayout();
  auto* label = new QLabel(QString::fromUtf8("전환번호"), this);
  label->setObjectName(QStringLiteral("Label1"));
  txtNum_ = new QLineEdit(this);
  txtNum_->setObjectName(QStringLiteral("txtNum"));
  txtNum_->installEventFilter(new DialKeyFilter(boxes_, this));
  entry->addWidget(label);
  entry->addWidget(txtNum_, 1);
  layout->addLayout(entry);

  auto* buttons = new QHBoxLayout();
  auto* makeCall = new QPushButton(QString::fromUtf8("호 전환"), this);
  makeCall->setObjectName(QStringLiteral("cmdMakeCall"));
  makeCall->setAutoDefault(false);
  auto* exit = new QPushButton(QString::fromUtf8("종 료"), this);
  exit->setObjectName(QStringLiteral("cmdExit"));
  exit->setAutoDefault(false);
  buttons->addStretch(1);
  buttons->addWidget(makeCall);
  buttons->addWidget(exit);
  layout->addLayout(buttons);

  connect(makeCall, &QPushButton::clicked, this, &ConsultDialDialog::MakeCall);
  connect(txtNum_, &QLineEdit::returnPressed, this, &ConsultDialDialog::MakeCall);
  connect(exit, &QPushButton::clicked, this, &QDialog::reject);
  connect(ss2_, &QTableWidget::cellClicked, this,
          [this](int row, int col) { SS2_Click(col + 1, row + 1); });
  connect(ss2_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int col) { SS2_Click(col + 1, 0); });
  connect(ss2_, &QTableWidget::currentCellChanged, this,
          [this](int row, int, int previousRow, int) {
            if (row >= 0 && row != previousRow) SS2_Click(0, row + 1);
          });

  Fill(g, deskFolder);
}

void ConsultDialDialog::Fill(const Globals& g, const std::filesystem::path& deskFolder) {
  if (g.gDIALMODE == 1) {
    ss2_->hide();
    return;
  }
  grid_->SetMaxRows(0);
  ss2_->show();
  const auto rows = ReadyAgentRows(g.gREADYLIST, g.gREADYCOUNT, [&](std::string_view device) {
    return GetIniValue(deskFolder, kSettingsFile, "DNINFO", device);
  });
  for (const ReadyAgentRow& r : rows) {
    const int row = grid_->MaxRows() + 1;
    grid_->SetMaxRows(row);
    grid_->SetText(row, 1, r.name);
    grid_->SetText(row, 2, r.device);
    grid_->SetText(row, 3, r.blendmode);
    grid_->SetText(row, 4, r.continuetime);
  }
}

void ConsultDialDialog::SS2_Click(int col, int row) {
  if (row >= 1) {
    txtNum_->setText(QString::fromStdString(lists::GetCellValue(*grid_, row, 2)));
    return;
  }
  lists::SortGrid(*grid_, col);
}

void ConsultDialDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  number_.clear();
  txtNum_->setFocus();
}

void ConsultDialDialog::MakeCall() {
  const QString number = DialNumber(txtNum_->text());
  if (number.isEmpty()) {
    boxes_.Inform(this, ProgramTitle(), QString::fromUtf8(kWrongNumberText), MessageIcon::kNone);
    return;
  }
  number_ = number;
  accept();
}

}  // namespace agentphone::ui
