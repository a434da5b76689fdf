// The abandoned-call list window "포기호 DB 조회".
#pragma once

#include <QDialog>
#include <map>
#include <memory>

#include "agentphone/core/lists/drop_call_list.h"
#include "agentphone/ui_lists/table_grid.h"

class QComboBox;
class QDateEdit;
class QLineEdit;

namespace agentphone::ui_lists {

class DropCallWindow final : public QDialog, public lists::DropCallView {
 public:
  DropCallWindow(lists::Database& db, SoftPhonePort& phone, Dialogs& dialogs, const Clock& clock,
                 QWidget* parent = nullptr);
  ~DropCallWindow() override;

  void Load() { list_->Form_Load(); }

  lists::Grid& spReal() override { return grid_; }
  lists::ListDate DTPicker1() const override;
  lists::ListDate DTPicker2() const override;
  void SetPickers(const lists::ListDate& start, const lists::ListDate& end) override;
  std::string Combo1() const override;
  void SetCombo1First() override;
  std::string Box(lists::DropCallBox box) const override;
  void SetBox(lists::DropCallBox box, const std::string& text) override;

 private:
  QTableWidget* table_;
  TableGrid grid_;
  QDateEdit* picker1_;
  QDateEdit* picker2_;
  QComboBox* combo_;
  std::map<lists::DropCallBox, QLineEdit*> boxes_;
  std::unique_ptr<lists::DropCallList> list_;
};

}  // namespace agentphone::ui_lists
