// The lists' grid on a Qt table widget: rows and columns from 1, row 0 the header; every cell
// a read-only text cell.
#pragma once

#include <QTableWidget>

#include "agentphone/core/lists/grid.h"

namespace agentphone::ui_lists {

class TableGrid final : public lists::Grid {
 public:
  explicit TableGrid(QTableWidget* table) : table_(table) {}

  int MaxRows() const override { return table_->rowCount(); }
  int MaxCols() const override { return table_->columnCount(); }
  void SetMaxRows(int rows) override;
  std::string Text(int row, int col) const override;
  void SetText(int row, int col, const std::string& text) override;
  int CellTypeOf(int, int) const override { return lists::kCellEdit; }
  void SetRowHeight(int row, double height) override;
  void SetReDraw(bool on) override { table_->setUpdatesEnabled(on); }
  int SortKeyOrder() const override { return sortOrder_; }
  void SetSortKeyOrder(int order) override { sortOrder_ = order; }

 private:
  QTableWidget* table_;
  int sortOrder_ = lists::kSortNone;
};

// A table for a list: the headers given, whole rows selected, nothing editable.
QTableWidget* MakeListTable(const QStringList& headers, QWidget* parent);

}  // namespace agentphone::ui_lists
