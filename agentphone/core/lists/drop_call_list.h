// The abandoned-call list: calls that callers gave up, from both statistics tables, within a
// week at most, all or one kind of them; the agent calls a caller back or hangs up.
#pragma once

#include <string>

#include "agentphone/core/clock.h"
#include "agentphone/core/dialogs.h"
#include "agentphone/core/lists/database.h"
#include "agentphone/core/lists/grid.h"
#include "agentphone/core/lists/list_date.h"
#include "agentphone/core/soft_phone_port.h"

namespace agentphone::lists {

enum class DropCallBox { txtindate, txtgb, txtDropTime, txtAgent, txtOutDn };

// The longest range searched, in days from the start date to the end date.
inline constexpr long kDropCallMaxDays = 7;

class DropCallView {
 public:
  virtual ~DropCallView() = default;
  virtual Grid& spReal() = 0;
  virtual ListDate DTPicker1() const = 0;
  virtual ListDate DTPicker2() const = 0;
  virtual void SetPickers(const ListDate& start, const ListDate& end) = 0;
  virtual std::string Combo1() const = 0;  // the kind chosen
  virtual void SetCombo1First() = 0;       // "전체"
  virtual std::string Box(DropCallBox box) const = 0;
  virtual void SetBox(DropCallBox box, const std::string& text) = 0;
};

class DropCallList {
 public:
  DropCallList(DropCallView& view, Database& db, SoftPhonePort& phone, Dialogs& dialogs,
               const Clock& clock)
      : view_(view), db_(db), phone_(phone), dialogs_(dialogs), clock_(clock) {}

  void Form_Load();
  void cmdSerch_Click();
  void cmdMakeCall_Click();
  void cmdHangupCall_Click();
  void spReal_Click(int col, int row);
  void spReal_LeaveCell(int newRow) { spReal_Click(0, newRow); }

  // Fills the grid with the abandoned calls from sDate to eDate (eight digits each), then
  // sorts it on the start time, in the reverse order of the grid's previous sort.
  void SerchDropCall(const std::string& sDate, const std::string& eDate);

 private:
  DropCallView& view_;
  Database& db_;
  SoftPhonePort& phone_;
  Dialogs& dialogs_;
  const Clock& clock_;
};

}  // namespace agentphone::lists
