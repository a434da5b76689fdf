// The main window frmSoftPhone: the agent fields, the status and caller-number panels, the
// login button and the twelve call buttons, the two check boxes and the layout and list
// buttons. It decides nothing: every click, edit and close is forwarded to the core, and every
// change of what it shows comes from the core's Display. Widgets carry the names the core uses.
#pragma once

#include <QCheckBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSize>
#include <QWidget>
#include <array>

#include "agentphone/core/main_view.h"
#include "agentphone/ui/image_button.h"

namespace agentphone {
class SoftPhone;
}

namespace agentphone::ui {

class SoftPhoneWindow final : public QWidget, public MainView {
  Q_OBJECT

 public:
  // logicalDpi: the scale of the layouts (0: the screen's logical dpi).
  explicit SoftPhoneWindow(double logicalDpi = 0, QWidget* parent = nullptr);
  ~SoftPhoneWindow() override;

  // The core that receives the window's clicks and edits; set before the window is used.
  void Attach(SoftPhone* phone) { phone_ = phone; }

  // MainView.
  void DisplayChanged(const Display& display) override;
  void MoveToTopLeft() override;
  void ChangeView(const std::string& gubun, bool dbFlag) override;
  void SetAlwaysOnTop(bool onTop) override;
  void FocusAgentId() override;
  void FocusExtension() override;

  ImageButton* ButtonWidget(Button b) const { return buttons_[static_cast<size_t>(b)]; }
  // The outer size that the last layout asked for, in pixels.
  QSize OuterSize() const { return outer_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Build();
  void Wire();
  // Runs a handler of the core, when one is attached.
  void Forward(void (SoftPhone::*handler)());
  void ApplyOuterSize();
  double Dpi() const;

  SoftPhone* phone_ = nullptr;
  double dpi_;
  QHash<QString, QWidget*> placed_;
  std::array<ImageButton*, 13> buttons_{};
  QLabel* imgAgent_ = nullptr;
  QLabel* imgDn_ = nullptr;
  QLineEdit* txtCTIID_ = nullptr;
  QLineEdit* txtDN_ = nullptr;
  QLineEdit* txt_realid_ = nullptr;
  QLineEdit* txtRealdn_ = nullptr;
  QLabel* sStatue_ = nullptr;
  QLabel* sAninum_ = nullptr;
  QCheckBox* chk_Ready_ = nullptr;
  QCheckBox* chk_up_ = nullptr;
  QPushButton* cmdChange_ = nullptr;
  QPushButton* cmdCallBack_ = nullptr;
  QPushButton* cmdDropCall_ = nullptr;
  QSize outer_;
  QSize frame_;
};

}  // namespace agentphone::ui
