// ufButtonSet: the agent's and the call's state shown from one state word: the status caption,
// the thirteen buttons' enabled state and picture, the caller-number caption, and the few
// program-wide values that a state change resets.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string_view>

#include "agentphone/core/display.h"
#include "agentphone/core/globals.h"

namespace agentphone {

class StateDisplay {
 public:
  using Command = std::function<int32_t(std::string_view word)>;  // Call_Function, empty operands

  // `deskFolder` holds SOFTPHONE.ini ("LOGIN" writes ID and DN there); `changed` is called
  // whenever the display changed.
  StateDisplay(Display& display, Globals& g, std::filesystem::path deskFolder, Command command,
               std::function<void()> changed);

  // The word is trimmed and upper-cased; a word of no row changes nothing.
  void ufButtonSet(std::string_view stat);

 private:
  void SetCaption(std::string_view text);

  Display& d_;
  Globals& g_;
  std::filesystem::path desk_;
  Command command_;
  std::function<void()> changed_;
};

}  // namespace agentphone
