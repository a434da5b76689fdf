// The call-back list window "Call Back DB 조회": the controls by their names, every click and
// row change handed to the list logic.
#pragma once

#include <QDialog>
#include <array>
#include <map>
#include <memory>

#include "agentphone/core/lists/call_back_list.h"
#include "agentphone/ui_lists/table_grid.h"

class QDateEdit;
class QLineEdit;
class QRadioButton;
class QButtonGroup;

namespace agentphone::ui_lists {

class CallBackWindow final : public QDialog, public lists::CallBackView {
 public:
  CallBackWindow(lists::Database& db, SoftPhonePort& phone, Dialogs& dialogs, const Clock& clock,
                 QWidget* parent = nullptr);
  ~CallBackWindow() override;

  // Form_Load: today's requests.
  void Load() { list_->Form_Load(); }

  lists::Grid& spReal() override { return grid_; }
  lists::ListDate DTPicker1() const override;
  lists::ListDate DTPicker2() const override;
  void SetPickers(const lists::ListDate& start, const lists::ListDate& end) override;
  std::string Box(lists::CallBackBox box) const override;
  void SetBox(lists::CallBackBox box, const std::string& text) override;
  int Outcome() const override;
  void SetOutcome(int index) override;

 private:
  QTableWidget* table_;
  TableGrid grid_;
  QDateEdit* picker1_;
  QDateEdit* picker2_;
  std::map<lists::CallBackBox, QLineEdit*> boxes_;
  std::array<QRadioButton*, 4> options_{};
  QButtonGroup* optionGroup_;
  std::unique_ptr<lists::CallBackList> list_;
};

}  // namespace agentphone::ui_lists
