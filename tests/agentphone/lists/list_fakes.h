// Stand-ins for the list windows' surroundings: a grid and the two windows' controls in
// memory, the main window's port and the message boxes, and a database that answers from a
// script.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "agentphone/core/dialogs.h"
#include "agentphone/core/lists/call_back_list.h"
#include "agentphone/core/lists/database.h"
#include "agentphone/core/lists/drop_call_list.h"
#include "agentphone/core/lists/grid.h"
#include "agentphone/core/lists/list_statements.h"
#include "agentphone/core/soft_phone_port.h"

namespace agentphone::lists::testing {

class MemoryGrid final : public Grid {
 public:
  explicit MemoryGrid(int cols) : cols_(cols) {}
  int MaxRows() const override { return static_cast<int>(cells_.size()); }
  int MaxCols() const override { return cols_; }
  void SetMaxRows(int rows) override {
    cells_.resize(static_cast<size_t>(rows), std::vector<std::string>(static_cast<size_t>(cols_)));
  }
  std::string Text(int row, int col) const override {
    if (row < 1 || row > MaxRows() || col < 1 || col > cols_) return {};
    return cells_[static_cast<size_t>(row - 1)][static_cast<size_t>(col - 1)];
  }
  void SetText(int row, int col, const std::string& text) override {
    if (row < 1 || row > MaxRows() || col < 1 || col > cols_) return;
    cells_[static_cast<size_t>(row - 1)][static_cast<size_t>(col - 1)] = text;
  }
  std::string Value(int row, int col) const override {
    auto it = values_.find({row, col});
    return it != values_.end() ? it->second : Text(row, col);
  }
  int CellTypeOf(int row, int col) const override {
    auto it = types_.find({row, col});
    return it != types_.end() ? it->second : kCellEdit;
  }
  void SetRowHeight(int row, double height) override { heights_[row] = height; }
  void SetReDraw(bool on) override { redraw = on; }
  int SortKeyOrder() const override { return sortOrder; }
  void SetSortKeyOrder(int order) override { sortOrder = order; }

  void SetCell(int row, int col, int type, std::string text, std::string value) {
    types_[{row, col}] = type;
    SetText(row, col, std::move(text));
    values_[{row, col}] = std::move(value);
  }
  std::vector<std::string> Column(int col) const {
    std::vector<std::string> out;
    for (int r = 1; r <= MaxRows(); ++r) out.push_back(Text(r, col));
    return out;
  }
  std::vector<std::string> Row(int row) const {
    std::vector<std::string> out;
    for (int c = 1; c <= cols_; ++c) out.push_back(Text(row, c));
    return out;
  }
  double Height(int row) const {
    auto it = heights_.find(row);
    return it != heights_.end() ? it->second : 0.0;
  }

  bool redraw = true;
  int sortOrder = kSortNone;

 private:
  int cols_;
  std::vector<std::vector<std::string>> cells_;
  std::map<std::pair<int, int>, int> types_;
  std::map<std::pair<int, int>, std::string> values_;
  std::map<int, double> heights_;
};

class FakePhone final : public SoftPhonePort {
 public:
  int32_t Call_Function(std::string&, std::string&, std::string&, std::string&,
                        std::string&) override {
    return 0;
  }
  void ufButtonSet(std::string_view) override {}
  std::string StatusCaption() const override { return caption; }
  std::string RealDnText() const override { return {}; }
  void GfMakeCall(std::string& number) override { dialled.push_back(number); }
  void GfHangupCall() override { ++hangups; }
  Globals& Vars() override { return vars; }
  void WriteLog(std::string_view text) override { log.emplace_back(text); }

  std::string caption = "대기";
  std::vector<std::string> dialled;
  int hangups = 0;
  std::vector<std::string> log;
  Globals vars;
};

class FakeDialogs final : public Dialogs {
 public:
  void ShowMessage(std::string_view text, std::string_view title, MessageIcon) override {
    messages.emplace_back(text);
    titles.emplace_back(title);
  }
  bool AskYesNo(std::string_view, std::string_view) override { return true; }
  std::string RunDialPad() override { return {}; }
  int32_t RunNotReadyReason(int32_t current) override { return current; }
  std::string RunConsultDial() override { return {}; }
  void RunCallBackList() override {}
  void RunDropCallList() override {}

  std::vector<std::string> messages;
  std::vector<std::string> titles;
};

class FakeCallBackView final : public CallBackView {
 public:
  Grid& spReal() override { return grid; }
  ListDate DTPicker1() const override { return start; }
  ListDate DTPicker2() const override { return end; }
  void SetPickers(const ListDate& s, const ListDate& e) override { start = s, end = e; }
  std::string Box(CallBackBox b) const override {
    auto it = boxes.find(b);
    return it != boxes.end() ? it->second : std::string();
  }
  void SetBox(CallBackBox b, const std::string& text) override { boxes[b] = text; }
  int Outcome() const override { return outcome; }
  void SetOutcome(int index) override { outcome = index; }

  MemoryGrid grid{7};
  ListDate start, end;
  std::map<CallBackBox, std::string> boxes;
  int outcome = kNoOutcome;
};

class FakeDropCallView final : public DropCallView {
 public:
  Grid& spReal() override { return grid; }
  ListDate DTPicker1() const override { return start; }
  ListDate DTPicker2() const override { return end; }
  void SetPickers(const ListDate& s, const ListDate& e) override { start = s, end = e; }
  std::string Combo1() const override { return kind; }
  void SetCombo1First() override { kind = std::string(kDropAll); }
  std::string Box(DropCallBox b) const override {
    auto it = boxes.find(b);
    return it != boxes.end() ? it->second : std::string();
  }
  void SetBox(DropCallBox b, const std::string& text) override { boxes[b] = text; }

  MemoryGrid grid{6};
  ListDate start, end;
  std::string kind = std::string(kDropAll);
  std::map<DropCallBox, std::string> boxes;
};

// Answers each statement with the next scripted result (ok and empty when none is left) and
// keeps every statement it was given.
class ScriptedDatabase final : public Database {
 public:
  SqlResult Query(const Statement& s) override { return Next(s); }
  SqlResult Execute(const Statement& s) override { return Next(s); }

  std::deque<SqlResult> answers;
  std::vector<Statement> seen;

 private:
  SqlResult Next(const Statement& s) {
    seen.push_back(s);
    if (answers.empty()) {
      SqlResult ok;
      ok.ok = true;
      return ok;
    }
    SqlResult r = answers.front();
    answers.pop_front();
    return r;
  }
};

inline SqlResult Failure(std::string text) {
  SqlResult r;
  r.error = std::move(text);
  return r;
}

}  // namespace agentphone::lists::testing
