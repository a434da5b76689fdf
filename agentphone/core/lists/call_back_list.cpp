#include "agentphone/core/lists/call_back_list.h"

#include <cmath>
#include <cstdio>

#include "agentphone/core/lists/grid_routines.h"
#include "agentphone/core/lists/grid_texts.h"
#include "agentphone/core/lists/list_messages.h"
#include "agentphone/core/lists/list_statements.h"
#include "agentphone/core/lists/run_sql.h"
#include "agentphone/core/text_routines.h"

namespace agentphone::lists {

namespace {
constexpr double kRowHeight = 10.5;

// The attempts after one more: the number in the box plus one, without fraction; a box that
// is not a number counts as 0.
std::string NextAttempts(const std::string& box) {
  double n = ReadNumber(Trim(box)).value_or(0.0);
  if (!std::isfinite(n) || std::fabs(n) > 1e15) n = 0.0;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.0f", std::round(n + 1.0));
  return buf;
}
}  // namespace

size_t CharCount(std::string_view text) {
  size_t n = 0;
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

void DialFromBox(const std::string& boxText, SoftPhonePort& phone, Dialogs& dialogs) {
  std::string number = Trim(boxText);
  if (CharCount(number) < kMinDialLength) {
    dialogs.ShowMessage(kMsgWrongNumber, kProgramTitle, MessageIcon::kNone);
    return;
  }
  phone.GfMakeCall(number);
}

void HangupIfInCall(SoftPhonePort& phone, Dialogs& dialogs) {
  if (phone.StatusCaption() != kCaptionInCall) {
    dialogs.ShowMessage(kMsgNotInCall, kProgramTitle, MessageIcon::kNone);
    return;
  }
  phone.GfHangupCall();
}

void CallBackList::Message(std::string_view text) {
  dialogs_.ShowMessage(text, kProgramTitle, MessageIcon::kNone);
}

void CallBackList::ClearDetails() {
  for (CallBackBox b : {CallBackBox::txtindate, CallBackBox::txtAniNum,
                        CallBackBox::txtCallBacknum, CallBackBox::txtTryCnt,
                        CallBackBox::txtCallBackCode}) {
    view_.SetBox(b, {});
  }
  view_.SetOutcome(kNoOutcome);
}

void CallBackList::Form_Load() {
  const ListDate today = DateOf(clock_.Now());
  view_.SetPickers(today, today);
  view_.spReal().SetMaxRows(0);
  cmdSerch_Click();
}

void CallBackList::cmdSerch_Click() {
  // The key goes with the other boxes: a save needs a row selected from the list shown.
  ClearDetails();
  GetCallBackData(Ymd(view_.DTPicker1()), Ymd(view_.DTPicker2()));
}

void CallBackList::GetCallBackData(const std::string& sDate, const std::string& eDate) {
  Grid& grid = view_.spReal();
  const SqlResult r = db_.Query(CallBackQuery(sDate, eDate));
  if (!r.ok) {
    phone_.WriteLog(r.error);
    grid.SetReDraw(true);
    Message(kMsgDbLost);
    return;
  }
  grid.SetMaxRows(0);
  if (r.rows.empty()) return;
  grid.SetMaxRows(static_cast<int>(r.rows.size()));
  grid.SetReDraw(false);
  for (size_t i = 0; i < r.rows.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    const std::string attempts = Trim(r.Text(i, "CallBack_Data01"));
    grid.SetText(row, 1,
                 FormatDigitMask(r.Text(i, "Entered_Date"), "####-##-##") + " " +
                     FormatDigitMask(r.Text(i, "Entered_Time"), "##:##:##"));
    grid.SetText(row, 2, FormatPhoneNumber(r.Text(i, "CallBack_Data03")));
    grid.SetText(row, 3, FormatPhoneNumber(r.Text(i, "Ani")));
    grid.SetText(row, 4, FormatPhoneNumber(r.Text(i, "Reservation_num")));
    grid.SetText(row, 5, attempts.empty() ? "0" : r.Text(i, "CallBack_Data01"));
    grid.SetText(row, 6, r.Text(i, "CallBack_Data02"));
    grid.SetText(row, 7, r.Text(i, "CallBack_Code"));
    grid.SetRowHeight(row, kRowHeight);
  }
  grid.SetReDraw(true);
}

void CallBackList::spReal_Click(int col, int row) {
  Grid& grid = view_.spReal();
  if (row < 1) {
    if (col >= 1) SortGrid(grid, col);
    return;
  }
  if (row > grid.MaxRows()) return;
  view_.SetBox(CallBackBox::txtindate, GetCellValue(grid, row, 1));
  view_.SetBox(CallBackBox::txtAniNum, GetCellValue(grid, row, 3));
  view_.SetBox(CallBackBox::txtCallBacknum, GetCellValue(grid, row, 4));
  view_.SetBox(CallBackBox::txtTryCnt, GetCellValue(grid, row, 5));
  const std::string outcome = GetCellValue(grid, row, 6);
  view_.SetBox(CallBackBox::txtCallBackCode, Trim(GetCellValue(grid, row, 7)));
  view_.SetOutcome(kNoOutcome);
  for (int i = 0; i < 4; ++i) {
    if (outcome == kCallBackOutcomes[i]) view_.SetOutcome(i);
  }
}

void CallBackList::Dial(CallBackBox box) { DialFromBox(view_.Box(box), phone_, dialogs_); }

void CallBackList::cmdHangupCall_Click() { HangupIfInCall(phone_, dialogs_); }

void CallBackList::cmdCallBackSave_Click() {
  const std::string key = Trim(view_.Box(CallBackBox::txtCallBackCode));
  if (key.empty()) {
    Message(kMsgNoRequestSelected);
    return;
  }
  const std::string attempts = NextAttempts(view_.Box(CallBackBox::txtTryCnt));
  const int option = view_.Outcome();
  const std::string outcome =
      option >= 0 && option < 4 ? std::string(kCallBackOutcomes[option]) : std::string();
  SqlResult r;
  if (!RunSql(db_, CallBackUpdate(Trim(outcome), attempts, key), 2, dialogs_, &r)) {
    // Nothing was written: the request, the attempts and the outcome stay as the agent left
    // them, to be saved again once the database is back.
    phone_.WriteLog(std::string(kLogSaveFailed) + key + " : " + r.error);
    return;
  }
  cmdSerch_Click();
}

}  // namespace agentphone::lists
