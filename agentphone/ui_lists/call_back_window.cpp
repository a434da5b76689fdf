#include "agentphone/ui_lists/call_back_window.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "agentphone/ui_lists/list_widgets.h"

namespace agentphone::ui_lists {

using lists::CallBackBox;

CallBackWindow::CallBackWindow(lists::Database& db, SoftPhonePort& phone, Dialogs& dialogs,
                               const Clock& clock, QWidget* parent)
    : QDialog(parent),
      table_(MakeListTable({Q("인입 일자"), Q("인입구분"), Q("발신자번호"), Q("CallBack 번호"),
                            Q("시도 횟수"), Q("처리 결과"), QString()},
                           this)),
      grid_(table_) {
  setObjectName(QStringLiteral("frmCallBack"));
  setWindowTitle(Q("Call Back DB 조회"));
  setModal(true);

  picker1_ = Picker("DTPicker1", this);
  picker2_ = Picker("DTPicker2", this);
  auto* search = Button("cmdSerch", "조회", this);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(Q("일 자"), this));
  top->addWidget(picker1_);
  top->addWidget(new QLabel(Q("~"), this));
  top->addWidget(picker2_);
  top->addWidget(search);
  top->addStretch();

  boxes_[CallBackBox::txtindate] = ui_lists::Box("txtindate", this);
  boxes_[CallBackBox::txtAniNum] = ui_lists::Box("txtAniNum", this);
  boxes_[CallBackBox::txtCallBacknum] = ui_lists::Box("txtCallBacknum", this);
  boxes_[CallBackBox::txtTryCnt] = ui_lists::Box("txtTryCnt", this);
  boxes_[CallBackBox::txtCallBackCode] = ui_lists::Box("txtCallBackCode", this);
  boxes_[CallBackBox::txtCallBackCode]->setVisible(false);  // the key of the selected row
  // The agent may correct the numbers and the attempts before dialling or saving; the entry
  // time and the key are the row's own.
  for (CallBackBox box : {CallBackBox::txtindate, CallBackBox::txtCallBackCode}) {
    boxes_[box]->setReadOnly(true);
  }
  auto* call1 = Button("cmdMakeCall01", "전화걸기", this);
  auto* call2 = Button("cmdMakeCall02", "전화걸기", this);
  auto* details = new QGridLayout;
  details->addWidget(new QLabel(Q("인입 일시"), this), 0, 0);
  details->addWidget(boxes_[CallBackBox::txtindate], 0, 1);
  details->addWidget(new QLabel(Q("발신자 번호"), this), 1, 0);
  details->addWidget(boxes_[CallBackBox::txtAniNum], 1, 1);
  details->addWidget(call1, 1, 2);
  details->addWidget(new QLabel(Q("Call Back 번호"), this), 2, 0);
  details->addWidget(boxes_[CallBackBox::txtCallBacknum], 2, 1);
  details->addWidget(call2, 2, 2);
  details->addWidget(new QLabel(Q("시도 횟수"), this), 3, 0);
  details->addWidget(boxes_[CallBackBox::txtTryCnt], 3, 1);

  auto* outcome = new QGroupBox(Q("전화 결과"), this);
  auto* outcomeRow = new QHBoxLayout(outcome);
  optionGroup_ = new QButtonGroup(this);
  const char* captions[] = {"성 공", "결 번", "통 화 중", "부 재 중"};
  for (int i = 0; i < 4; ++i) {
    options_[static_cast<size_t>(i)] = new QRadioButton(Q(captions[i]), outcome);
    options_[static_cast<size_t>(i)]->setObjectName(QStringLiteral("SSOption1_%1").arg(i));
    optionGroup_->addButton(options_[static_cast<size_t>(i)], i);
    outcomeRow->addWidget(options_[static_cast<size_t>(i)]);
  }
  details->addWidget(outcome, 4, 0, 1, 3);

  auto* save = Button("cmdCallBackSave", "결과 저장", this);
  auto* hangup = Button("cmdHangupCall", "전화끊기", this);
  auto* exit = Button("cmdExit", "종료", this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(WaitNote(this));
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(hangup);
  buttons->addWidget(exit);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(table_, 1);
  layout->addLayout(details);
  layout->addWidget(boxes_[CallBackBox::txtCallBackCode]);
  layout->addLayout(buttons);
  resize(760, 560);

  list_ = std::make_unique<lists::CallBackList>(*this, db, phone, dialogs, clock);
  lists::CallBackList* list = list_.get();
  connect(search, &QPushButton::clicked, this, [list] { list->cmdSerch_Click(); });
  connect(call1, &QPushButton::clicked, this, [list] { list->cmdMakeCall01_Click(); });
  connect(call2, &QPushButton::clicked, this, [list] { list->cmdMakeCall02_Click(); });
  connect(save, &QPushButton::clicked, this, [list] { list->cmdCallBackSave_Click(); });
  connect(hangup, &QPushButton::clicked, this, [list] { list->cmdHangupCall_Click(); });
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  ConnectTable(table_, list);
}

CallBackWindow::~CallBackWindow() = default;

lists::ListDate CallBackWindow::DTPicker1() const { return DateOf(picker1_); }
lists::ListDate CallBackWindow::DTPicker2() const { return DateOf(picker2_); }

void CallBackWindow::SetPickers(const lists::ListDate& start, const lists::ListDate& end) {
  SetDate(picker1_, start);
  SetDate(picker2_, end);
}

std::string CallBackWindow::Box(CallBackBox box) const { return S(boxes_.at(box)->text()); }

void CallBackWindow::SetBox(CallBackBox box, const std::string& text) {
  boxes_.at(box)->setText(Q(text));
}

int CallBackWindow::Outcome() const {
  for (int i = 0; i < 4; ++i) {
    if (options_[static_cast<size_t>(i)]->isChecked()) return i;
  }
  return lists::kNoOutcome;
}

void CallBackWindow::SetOutcome(int index) {
  // An exclusive group cannot show "none": it is lifted while the options are cleared.
  optionGroup_->setExclusive(false);
  for (int i = 0; i < 4; ++i) options_[static_cast<size_t>(i)]->setChecked(i == index);
  optionGroup_->setExclusive(true);
}

}  // namespace agentphone::ui_lists
