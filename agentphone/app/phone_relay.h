// The main window's core as the modules beside it see it, before the core exists: the
// dial-request handler, the screen pops and the dialogs are made first (the core is given
// them), and are handed this relay, which passes every call on to the core once it is attached.
#pragma once

#include "agentphone/core/soft_phone_port.h"

namespace agentphone::app {

class PhoneRelay final : public SoftPhonePort {
 public:
  void Attach(SoftPhonePort* phone) { phone_ = phone; }

  using SoftPhonePort::Call_Function;
  int32_t Call_Function(std::string& callFunction, std::string& UUI, std::string& UEI,
                        std::string& CallingNo, std::string& CI) override {
    return phone_ ? phone_->Call_Function(callFunction, UUI, UEI, CallingNo, CI) : 0;
  }
  void ufButtonSet(std::string_view stat) override {
    if (phone_) phone_->ufButtonSet(stat);
  }
  std::string StatusCaption() const override {
    return phone_ ? phone_->StatusCaption() : std::string(kCaptionLoggedOut);
  }
  std::string RealDnText() const override { return phone_ ? phone_->RealDnText() : std::string(); }
  void GfMakeCall(std::string& CallingNum) override {
    if (phone_) phone_->GfMakeCall(CallingNum);
  }
  void GfHangupCall() override {
    if (phone_) phone_->GfHangupCall();
  }
  Globals& Vars() override { return phone_ ? phone_->Vars() : unattached_; }
  void WriteLog(std::string_view text) override {
    if (phone_) phone_->WriteLog(text);
  }

 private:
  SoftPhonePort* phone_ = nullptr;
  Globals unattached_;
};

}  // namespace agentphone::app
