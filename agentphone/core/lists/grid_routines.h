// The two grid routines of the lists: one cell read by its cell type, and the sort of all data
// rows that alternates its order on every call.
#pragma once

#include <string>

#include "agentphone/core/lists/grid.h"

namespace agentphone::lists {

// The value of one cell: a date cell as "YYYYMMDD", a numeric cell's value or "0", a currency
// or percent cell trimmed, a combo cell through AfterBar, a check box as "N" (0), "Y" (1) or
// empty, any other cell its text; a blank cell reads as the empty text.
std::string GetCellValue(const Grid& grid, int row, int col);

// Sorts rows 1..DataRowCnt by the texts of one column, keeping the order of equal rows. The
// order is the reverse of the grid's previous sort, whichever column that was; a grid never
// sorted sorts descending first. Repainting is off while the rows move.
void SortGrid(Grid& grid, int col);

}  // namespace agentphone::lists
