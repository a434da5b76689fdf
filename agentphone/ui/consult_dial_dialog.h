// frm_Dial_Con, "호전환 연결": the ready agents in the grid SS2 (성명 from [DNINFO], 내선, and
// the agent's mode and time), the number box txtNum under "전환번호", "호 전환" (cmdMakeCall) and
// "종 료" (cmdExit). A click on a row, or moving the grid's selection to a row, puts that row's
// extension into the box; a click on a header sorts by that column, the order reversing on each
// sort. Opened for a make call (gDIALMODE 1) it shows no grid. Number() after it closed: the
// trimmed number of at least 4 characters that 호 전환 accepted, or the empty text.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <QTableWidget>
#include <filesystem>
#include <memory>

#include "agentphone/core/globals.h"
#include "agentphone/ui_lists/table_grid.h"

namespace agentphone::ui {

class MessageBoxes;

class ConsultDialDialog final : public QDialog {
  Q_OBJECT

 public:
  ConsultDialDialog(MessageBoxes& boxes, const Globals& g, const std::filesystem::path& deskFolder,
                    QWidget* parent = nullptr);

  QString Number() const { return number_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Fill(const Globals& g, const std::filesystem::path& deskFolder);
  void SS2_Click(int col, int row);
  void MakeCall();

  MessageBoxes& boxes_;
  QTableWidget* ss2_;
  std::unique_ptr<ui_lists::TableGrid> grid_;
  QLineEdit* txtNum_;
  QString number_;
};

}  // namespace agentphone::ui
