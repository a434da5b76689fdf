#include "agentphone/ui_lists/table_grid.h"

#include <QHeaderView>
#include <cmath>

namespace agentphone::ui_lists {

void TableGrid::SetMaxRows(int rows) { table_->setRowCount(rows < 0 ? 0 : rows); }

std::string TableGrid::Text(int row, int col) const {
  const QTableWidgetItem* item = table_->item(row - 1, col - 1);
  return item ? item->text().toUtf8().toStdString() : std::string();
}

void TableGrid::SetText(int row, int col, const std::string& text) {
  if (row < 1 || row > MaxRows() || col < 1 || col > MaxCols()) return;
  const QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QTableWidgetItem* item = table_->item(row - 1, col - 1);
  if (!item) {
    item = new QTableWidgetItem(t);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    table_->setItem(row - 1, col - 1, item);
  } else {
    item->setText(t);
  }
}

void TableGrid::SetRowHeight(int row, double height) {
  // The height comes in the grid's own unit, text points: in pixels with the cell's margins.
  const int px = static_cast<int>(std::lround(height * table_->logicalDpiY() / 72.0)) + 6;
  table_->setRowHeight(row - 1, px);
}

QTableWidget* MakeListTable(const QStringList& headers, QWidget* parent) {
  auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  table->setObjectName(QStringLiteral("spReal"));
  table->setHorizontalHeaderLabels(headers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->setVisible(false);
  table->horizontalHeader()->setSectionsClickable(true);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

}  // namespace agentphone::ui_lists
