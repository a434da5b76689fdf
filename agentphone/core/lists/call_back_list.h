// The call-back list: call-back requests of a range of entry dates, dialled from the window,
// with the outcome of each attempt written back. The window shows the controls and forwards
// every click here; the logic reaches the telephony only through the main window's port.
#pragma once

#include <string>

#include "agentphone/core/clock.h"
#include "agentphone/core/dialogs.h"
#include "agentphone/core/lists/database.h"
#include "agentphone/core/lists/grid.h"
#include "agentphone/core/lists/list_date.h"
#include "agentphone/core/soft_phone_port.h"

namespace agentphone::lists {

// Text boxes of the window.
enum class CallBackBox { txtindate, txtAniNum, txtCallBacknum, txtTryCnt, txtCallBackCode };

// Outcome words as stored, by option index 0-3.
inline constexpr std::string_view kCallBackOutcomes[] = {"성공", "결번", "통화중", "부재중"};
inline constexpr int kNoOutcome = -1;

class CallBackView {
 public:
  virtual ~CallBackView() = default;
  virtual Grid& spReal() = 0;
  virtual ListDate DTPicker1() const = 0;
  virtual ListDate DTPicker2() const = 0;
  virtual void SetPickers(const ListDate& start, const ListDate& end) = 0;
  virtual std::string Box(CallBackBox box) const = 0;
  virtual void SetBox(CallBackBox box, const std::string& text) = 0;
  // The first selected outcome option (0-3), or kNoOutcome; SetOutcome(kNoOutcome) clears all.
  virtual int Outcome() const = 0;
  virtual void SetOutcome(int index) = 0;
};

class CallBackList {
 public:
  CallBackList(CallBackView& view, Database& db, SoftPhonePort& phone, Dialogs& dialogs,
               const Clock& clock)
      : view_(view), db_(db), phone_(phone), dialogs_(dialogs), clock_(clock) {}

  void Form_Load();
  void cmdSerch_Click();
  void cmdMakeCall01_Click() { Dial(CallBackBox::txtAniNum); }
  void cmdMakeCall02_Click() { Dial(CallBackBox::txtCallBacknum); }
  void cmdHangupCall_Click();
  void cmdCallBackSave_Click();
  // A click on a cell (row >= 1) or on a header (row 0, which sorts).
  void spReal_Click(int col, int row);
  // The selection moved to another row.
  void spReal_LeaveCell(int newRow) { spReal_Click(0, newRow); }

  // Fills the grid with the requests entered from sDate to eDate (eight digits each).
  void GetCallBackData(const std::string& sDate, const std::string& eDate);

 private:
  void Dial(CallBackBox box);
  void ClearDetails();
  void Message(std::string_view text);

  CallBackView& view_;
  Database& db_;
  SoftPhonePort& phone_;
  Dialogs& dialogs_;
  const Clock& clock_;
};

// Shared by both lists.
void DialFromBox(const std::string& boxText, SoftPhonePort& phone, Dialogs& dialogs);
void HangupIfInCall(SoftPhonePort& phone, Dialogs& dialogs);

// Number of characters (not bytes) of a UTF-8 text.
size_t CharCount(std::string_view text);

}  // namespace agentphone::lists
