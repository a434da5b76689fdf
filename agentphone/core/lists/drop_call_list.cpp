#include "agentphone/core/lists/drop_call_list.h"

#include "agentphone/core/lists/call_back_list.h"
#include "agentphone/core/lists/grid_routines.h"
#include "agentphone/core/lists/grid_texts.h"
#include "agentphone/core/lists/list_messages.h"
#include "agentphone/core/lists/list_statements.h"
#include "agentphone/core/text_routines.h"

namespace agentphone::lists {

namespace {
constexpr double kRowHeight = 10.5;
}

void DropCallList::Form_Load() {
  const ListDate today = DateOf(clock_.Now());
  view_.SetPickers(today, today);
  view_.SetCombo1First();
  view_.SetBox(DropCallBox::txtOutDn, {});
  view_.SetBox(DropCallBox::txtindate, {});
  view_.SetBox(DropCallBox::txtDropTime, {});
  view_.spReal().SetMaxRows(0);
  cmdSerch_Click();
}

void DropCallList::cmdSerch_Click() {
  const ListDate start = view_.DTPicker1();
  const ListDate end = view_.DTPicker2();
  if (DaysBetween(start, end) > kDropCallMaxDays) {
    dialogs_.ShowMessage(kMsgWeekLimit, kProgramTitle, MessageIcon::kNone);
    return;
  }
  SerchDropCall(Ymd(start), Ymd(end));
}

void DropCallList::SerchDropCall(const std::string& sDate, const std::string& eDate) {
  Grid& grid = view_.spReal();
  const SqlResult r = db_.Query(DropCallQuery(Trim(view_.Combo1()), sDate, eDate));
  if (!r.ok) {
    phone_.WriteLog(r.error);
    grid.SetReDraw(true);
    dialogs_.ShowMessage(kMsgDbLost, kProgramTitle, MessageIcon::kNone);
    return;
  }
  grid.SetMaxRows(0);
  if (r.rows.empty()) return;
  grid.SetMaxRows(static_cast<int>(r.rows.size()));
  grid.SetReDraw(false);
  for (size_t i = 0; i < r.rows.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    const std::string agent = r.Text(i, "EMPLOYEE_ID");
    grid.SetText(row, 1, FormatDigitMask(r.Text(i, "EVENT_STARTTIME"), "####-##-##  ##:##:##"));
    grid.SetText(row, 2, r.Text(i, "GB"));
    grid.SetText(row, 3, InboundLineCode(r.Text(i, "DNIS")));
    grid.SetText(row, 4, r.Text(i, "ABANDON_TIME") + "초");
    grid.SetText(row, 5, Trim(agent) == "0" ? std::string() : agent);
    grid.SetText(row, 6, FormatPhoneNumber(r.Text(i, "ANI")));
    grid.SetRowHeight(row, kRowHeight);
  }
  grid.SetReDraw(true);
  SortGrid(grid, 1);
}

void DropCallList::spReal_Click(int col, int row) {
  Grid& grid = view_.spReal();
  if (row < 1) {
    if (col >= 1) SortGrid(grid, col);
    return;
  }
  if (row > grid.MaxRows()) return;
  view_.SetBox(DropCallBox::txtindate, GetCellValue(grid, row, 1));
  view_.SetBox(DropCallBox::txtAgent, GetCellValue(grid, row, 5));
  view_.SetBox(DropCallBox::txtgb, GetCellValue(grid, row, 3));
  view_.SetBox(DropCallBox::txtDropTime, GetCellValue(grid, row, 4));
  view_.SetBox(DropCallBox::txtOutDn, GetCellValue(grid, row, 6));
}

void DropCallList::cmdMakeCall_Click() {
  DialFromBox(view_.Box(DropCallBox::txtOutDn), phone_, dialogs_);
}

void DropCallList::cmdHangupCall_Click() { HangupIfInCall(phone_, dialogs_); }

}  // namespace agentphone::lists
