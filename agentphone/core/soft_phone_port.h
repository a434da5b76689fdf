// What the other modules of the program (dial-request server, screen pops, call-back and
// abandoned-call lists, dialogs) call on the main window's core. All of it runs on the
// user-interface thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "agentphone/core/globals.h"

namespace agentphone {

// Status captions that other modules compare with.
inline constexpr std::string_view kCaptionLoggedOut = "로그아웃";
inline constexpr std::string_view kCaptionInCall = "통화중";
inline constexpr std::string_view kCaptionConsultCall = "협의통화중";

class SoftPhonePort {
 public:
  virtual ~SoftPhonePort() = default;

  // The command dispatcher: runs one command word ("MAKECALL", "READY", ...) on the controls
  // and returns the control method's result (1 success for the requests), 0 for an unknown word
  // or a failure inside the dispatcher. The word is compared exactly (case-sensitive); after a
  // successful "MONITORSTART" or "MONITORSTOP" it is overwritten with "TIMERSTART" or
  // "TIMERSTOP". The four operands are read by the commands that use them.
  virtual int32_t Call_Function(std::string& callFunction, std::string& UUI, std::string& UEI,
                                std::string& CallingNo, std::string& CI) = 0;

  // Call_Function with copies of the texts, for callers that keep none of them.
  int32_t Call_Function(std::string_view command, std::string_view uui = {},
                        std::string_view uei = {}, std::string_view callingNo = {},
                        std::string_view ci = {}) {
    std::string c(command), a(uui), b(uei), n(callingNo), d(ci);
    return Call_Function(c, a, b, n, d);
  }

  // Sets the state display from a state word ("LOGIN", "READY", "BUSY", ...; trimmed, any case).
  virtual void ufButtonSet(std::string_view stat) = 0;

  // The status caption ("로그아웃", "대기", "통화중", ...).
  virtual std::string StatusCaption() const = 0;
  bool IsLoggedIn() const { return StatusCaption() != kCaptionLoggedOut; }
  bool IsInCall() const {
    std::string c = StatusCaption();
    return c == kCaptionInCall || c == kCaptionConsultCall;
  }

  // The extension in use (the hidden box txtRealdn), untrimmed.
  virtual std::string RealDnText() const = 0;

  // Dials a number as the lists do: a leading "02" dropped, "0" put in front of more than 6
  // characters; the caller's variable is rewritten to the number as dialled.
  virtual void GfMakeCall(std::string& CallingNum) = 0;

  // Hangs up the current call.
  virtual void GfHangupCall() = 0;

  // The program-wide variables and the program's log.
  virtual Globals& Vars() = 0;
  virtual void WriteLog(std::string_view text) = 0;
};

}  // namespace agentphone
