#include "agentphone/ui_lists/drop_call_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "agentphone/core/lists/list_statements.h"
#include "agentphone/ui_lists/list_widgets.h"

namespace agentphone::ui_lists {

using lists::DropCallBox;

DropCallWindow::DropCallWindow(lists::Database& db, SoftPhonePort& phone, Dialogs& dialogs,
                               const Clock& clock, QWidget* parent)
    : QDialog(parent),
      table_(MakeListTable({Q("인입 일시"), Q("포기호구분"), Q("인입구분"), Q("대기시간"),
                            Q("연결상담원"), Q("발신자번호")},
                           this)),
      grid_(table_) {
  setObjectName(QStringLiteral("frmDropCall"));
  setWindowTitle(Q("포기호 DB 조회"));
  setModal(true);

  picker1_ = Picker("DTPicker1", this);
  picker2_ = Picker("DTPicker2", this);
  combo_ = new QComboBox(this);
  combo_->setObjectName(QStringLiteral("Combo1"));
  combo_->addItems({Q(lists::kDropAll), Q(lists::kDropQueue), Q(lists::kDropDistributed)});
  auto* search = Button("cmdSerch", "조회", this);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(Q("일 자"), this));
  top->addWidget(picker1_);
  top->addWidget(new QLabel(Q("~"), this));
  top->addWidget(picker2_);
  top->addWidget(new QLabel(Q("포기호"), this));
  top->addWidget(combo_);
  top->addWidget(search);
  top->addStretch();

  struct Field {
    DropCallBox box;
    const char* name;
    const char* label;
  } fields[] = {{DropCallBox::txtindate, "txtindate", "인입 일시"},
                {DropCallBox::txtgb, "txtgb", "인입 구분"},
                {DropCallBox::txtDropTime, "txtDropTime", "대기시간"},
                {DropCallBox::txtAgent, "txtAgent", "연결상담원"},
                {DropCallBox::txtOutDn, "txtOutDn", "발신자 번호"}};
  auto* details = new QGridLayout;
  int row = 0;
  for (const Field& f : fields) {
    QLineEdit* edit = ui_lists::Box(f.name, this);
    edit->setReadOnly(f.box != DropCallBox::txtOutDn);
    boxes_[f.box] = edit;
    details->addWidget(new QLabel(Q(f.label), this), row, 0);
    details->addWidget(edit, row, 1);
    ++row;
  }
  auto* call = Button("cmdMakeCall", "전화걸기", this);
  details->addWidget(call, row - 1, 2);

  auto* hangup = Button("cmdHangupCall", "전화 끊기", this);
  auto* exit = Button("scmdExit", "종료", this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(WaitNote(this));
  buttons->addStretch();
  buttons->addWidget(hangup);
  buttons->addWidget(exit);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(table_, 1);
  layout->addLayout(details);
  layout->addLayout(buttons);
  resize(760, 560);

  list_ = std::make_unique<lists::DropCallList>(*this, db, phone, dialogs, clock);
  lists::DropCallList* list = list_.get();
  connect(search, &QPushButton::clicked, this, [list] { list->cmdSerch_Click(); });
  connect(call, &QPushButton::clicked, this, [list] { list->cmdMakeCall_Click(); });
  connect(hangup, &QPushButton::clicked, this, [list] { list->cmdHangupCall_Click(); });
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  ConnectTable(table_, list);
}

DropCallWindow::~DropCallWindow() = default;

lists::ListDate DropCallWindow::DTPicker1() const { return DateOf(picker1_); }
lists::ListDate DropCallWindow::DTPicker2() const { return DateOf(picker2_); }

void DropCallWindow::SetPickers(const lists::ListDate& start, const lists::ListDate& end) {
  SetDate(picker1_, start);
  SetDate(picker2_, end);
}

std::string DropCallWindow::Combo1() const { return S(combo_->currentText()); }
void DropCallWindow::SetCombo1First() { combo_->setCurrentIndex(0); }

std::string DropCallWindow::Box(DropCallBox box) const { return S(boxes_.at(box)->text()); }

void DropCallWindow::SetBox(DropCallBox box, const std::string& text) {
  boxes_.at(box)->setText(Q(text));
}

}  // namespace agentphone::ui_lists
