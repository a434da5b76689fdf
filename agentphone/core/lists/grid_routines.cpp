#include "agentphone/core/lists/grid_routines.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "agentphone/core/text_routines.h"

namespace agentphone::lists {

int Grid::DataRowCnt() const {
  for (int row = MaxRows(); row >= 1; --row) {
    for (int col = 1; col <= MaxCols(); ++col) {
      if (!Text(row, col).empty()) return row;
    }
  }
  return 0;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool ValidDate(int y, int m, int d) {
  static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 100 || m < 1 || m > 12 || d < 1) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return d <= (m == 2 && !leap ? 28 : days[m - 1]);
}

// A date cell's text ("2026-03-01", "2026/03/01", "20260301", with or without a time after
// it) as "YYYYMMDD"; a text that holds no date is returned as it is.
std::string DateAsYmd(const std::string& text) {
  std::vector<std::string> parts;
  std::string cur;
  for (char c : text) {
    if (IsDigit(c)) {
      cur.push_back(c);
    } else if (!cur.empty()) {
      parts.push_back(cur);
      cur.clear();
      if (parts.size() == 3) break;
    }
  }
  if (!cur.empty() && parts.size() < 3) parts.push_back(cur);
  std::string y, m, d;
  if (!parts.empty() && parts[0].size() >= 8) {
    y = parts[0].substr(0, 4), m = parts[0].substr(4, 2), d = parts[0].substr(6, 2);
  } else if (parts.size() >= 3 && parts[0].size() == 4 && parts[1].size() <= 2 &&
             parts[2].size() <= 2) {
    y = parts[0], m = parts[1], d = parts[2];
  } else {
    return text;
  }
  const int yi = std::stoi(y), mi = std::stoi(m), di = std::stoi(d);
  if (!ValidDate(yi, mi, di)) return text;
  // Room for any int: the checks above keep the text at eight digits.
  char out[40];
  std::snprintf(out, sizeof out, "%04d%02d%02d", yi, mi, di);
  return out;
}

std::string NumberText(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", v);
  return buf;
}

}  // namespace

std::string GetCellValue(const Grid& grid, int row, int col) {
  const std::string text = grid.Text(row, col);
  switch (grid.CellTypeOf(row, col)) {
    case kCellDate:
      return Trim(text).empty() ? std::string() : DateAsYmd(Trim(text));
    case kCellFloat:
    case kCellInteger: {
      const auto n = ReadNumber(grid.Value(row, col));
      return n ? NumberText(*n) : "0";
    }
    case kCellCurrency:
    case kCellPercent:
      return Trim(grid.Value(row, col));
    case kCellCombo:
      return Trim(text).empty() ? std::string() : AfterBar(text);
    case kCellCheckBox: {
      const std::string v = Trim(grid.Value(row, col));
      if (v == "0") return "N";
      if (v == "1") return "Y";
      return {};
    }
    default:
      return Trim(text).empty() ? std::string() : text;
  }
}

void SortGrid(Grid& grid, int col) {
  grid.SetReDraw(false);
  int order = grid.SortKeyOrder();
  if (order == kSortNone || order == kSortAscending) {
    order = kSortDescending;
  } else if (order == kSortDescending) {
    order = kSortAscending;
  }
  grid.SetSortKeyOrder(order);

  const int rows = grid.DataRowCnt();
  const int cols = grid.MaxCols();
  if (col >= 1 && col <= cols && rows > 1 &&
      (order == kSortAscending || order == kSortDescending)) {
    std::vector<std::vector<std::string>> block(static_cast<size_t>(rows));
    for (int r = 1; r <= rows; ++r) {
      auto& line = block[static_cast<size_t>(r - 1)];
      for (int c = 1; c <= cols; ++c) line.push_back(grid.Text(r, c));
    }
    const size_t key = static_cast<size_t>(col - 1);
    std::stable_sort(block.begin(), block.end(), [&](const auto& a, const auto& b) {
      return order == kSortAscending ? a[key] < b[key] : b[key] < a[key];
    });
    for (int r = 1; r <= rows; ++r) {
      for (int c = 1; c <= cols; ++c) {
        grid.SetText(r, c, block[static_cast<size_t>(r - 1)][static_cast<size_t>(c - 1)]);
      }
    }
  }
  grid.SetReDraw(true);
}

}  // namespace agentphone::lists
