// Call_Function: the one place where the program talks to the CTI controls. A command word
// becomes property puts and one method call on the main control (and, for the monitor
// commands, on the event control), all through IDispatch by fixed DISPID.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "agentphone/core/globals.h"
#include "vomcom/automation.h"

namespace agentphone {

class ProgramLog;

struct DispatcherSettings {
  std::string serverAddress = "127.0.0.1";  // the built-in server of "OPENSERVER"
  std::string serverPort = "9709";
};

class CommandDispatcher {
 public:
  // `callerCaption` reads the caption of the caller-number panel (TRANSFER and
  // onestepconference dial its digits).
  CommandDispatcher(Globals& g, ProgramLog& log, DispatcherSettings settings,
                    std::function<std::string()> callerCaption);

  void SetControls(IDispatch* telx, IDispatch* telxEvt) {
    telx_ = telx;
    evt_ = telxEvt;
  }

  // The command word is compared exactly; see SoftPhonePort::Call_Function. A failure inside
  // returns 0 (or the method's result when it had already come back) and writes one log line
  // naming the command and what failed.
  int32_t Call_Function(std::string& callFunction, std::string& UUI, std::string& UEI,
                        std::string& CallingNo, std::string& CI);

  // Handler of the main control's Vomtelreadyagentgetvalue: appends one ready agent to
  // gREADYLIST and counts it.
  void BuildEventRecord(std::string_view employeeId, int32_t device, int32_t blendmode,
                        int32_t continuetime);

 private:
  struct Operand;
  struct Command;
  static const Command* Find(std::string_view word);

  int32_t Run(const Command& c, std::string& callFunction, std::string& UUI, std::string& UEI,
              std::string& CallingNo, std::string& CI, bool* haveResult, int32_t* result);
  int32_t Open(bool ha);
  void StepInvoke();

  Globals& g_;
  ProgramLog& log_;
  DispatcherSettings settings_;
  std::function<std::string()> callerCaption_;
  IDispatch* telx_ = nullptr;
  IDispatch* evt_ = nullptr;
};

}  // namespace agentphone
