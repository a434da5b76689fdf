// frmNotReady, "휴식코드": the four not-ready reasons as one group of options Option1_0 to
// Option1_3 (휴식, 식사, 교육, 회의; the first preselected), "확인" (cmdok) and "닫기" (cmdExit).
// Reason() after it closed: the selected reason for 확인, 0 for 닫기, and the value it was
// opened with when it was closed in any other way.
#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <cstdint>

namespace agentphone::ui {

class NotReadyDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit NotReadyDialog(int32_t current, QWidget* parent = nullptr);

  int32_t Reason() const { return reason_; }

 private:
  void Ok();
  void Exit();

  QButtonGroup* options_;
  int32_t reason_;
};

}  // namespace agentphone::ui
