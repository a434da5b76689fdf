// A main window's core for the tests of the modules beside it: a status caption the test sets,
// a MAKECALL result the test chooses, and a record of the commands, state words and log lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "agentphone/core/soft_phone_port.h"

namespace agentphone::testing {

class RecordingPhone : public SoftPhonePort {
 public:
  struct Command {
    std::string word, uui, uei, callingNo, ci;
  };

  std::string caption = "대기";
  int32_t makeCallResult = 1;
  std::string realDn = " 3001 ";
  Globals vars;
  std::vector<Command> commands;
  std::vector<std::string> states;
  std::vector<std::string> log;

  using SoftPhonePort::Call_Function;
  int32_t Call_Function(std::string& callFunction, std::string& UUI, std::string& UEI,
                        std::string& CallingNo, std::string& CI) override {
    commands.push_back({callFunction, UUI, UEI, CallingNo, CI});
    return callFunction == "MAKECALL" ? makeCallResult : 1;
  }
  void ufButtonSet(std::string_view stat) override {
    states.emplace_back(stat);
    if (stat == "BUSY") caption = "통화중";
  }
  std::string StatusCaption() const override { return caption; }
  std::string RealDnText() const override { return realDn; }
  void GfMakeCall(std::string&) override {}
  void GfHangupCall() override {}
  Globals& Vars() override { return vars; }
  void WriteLog(std::string_view text) override { log.emplace_back(text); }
};

}  // namespace agentphone::testing
