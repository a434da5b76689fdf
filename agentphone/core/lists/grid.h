// The spreadsheet grid of the list windows, as the list logic uses it. Rows and columns count
// from 1; row 0 is the header. The window's grid implements it; tests use a grid in memory.
#pragma once

#include <string>

namespace agentphone::lists {

// Cell types as the grid numbers them.
enum CellType : int {
  kCellDate = 0,
  kCellEdit = 1,
  kCellFloat = 2,
  kCellInteger = 3,
  kCellCurrency = 4,
  kCellPercent = 6,
  kCellCombo = 8,
  kCellCheckBox = 10,
};

// Sort orders of the grid's first sort key.
enum SortOrder : int { kSortNone = 0, kSortAscending = 1, kSortDescending = 2 };

class Grid {
 public:
  virtual ~Grid() = default;

  virtual int MaxRows() const = 0;  // rows the grid holds
  virtual int MaxCols() const = 0;
  virtual void SetMaxRows(int rows) = 0;  // 0 empties the grid

  // Rows 1..n that hold at least one non-empty cell, counted up to the last such row.
  virtual int DataRowCnt() const;

  virtual std::string Text(int row, int col) const = 0;
  virtual void SetText(int row, int col, const std::string& text) = 0;
  // The cell's value; a text cell's value is its text.
  virtual std::string Value(int row, int col) const { return Text(row, col); }
  virtual int CellTypeOf(int row, int col) const = 0;

  virtual void SetRowHeight(int row, double height) = 0;
  virtual void SetReDraw(bool on) = 0;

  // The order of the grid's first sort key, as the last sort left it (kSortNone at first).
  virtual int SortKeyOrder() const = 0;
  virtual void SetSortKeyOrder(int order) = 0;
};

}  // namespace agentphone::lists
