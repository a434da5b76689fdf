// What the core asks of the main window beyond the display state: the window itself does no
// logic; every click, edit and tick is a call of the core.
#pragma once

#include <string>

#include "agentphone/core/display.h"

namespace agentphone {

class MainView {
 public:
  virtual ~MainView() = default;

  // The display changed (buttons, captions, boxes or check boxes); render it.
  virtual void DisplayChanged(const Display& display) = 0;

  // Moves the window to the screen's top left corner; its size stays.
  virtual void MoveToTopLeft() = 0;

  // Lays the window out: "1" horizontal, anything else vertical; the two list buttons take part
  // only when dbFlag is true.
  virtual void ChangeView(const std::string& gubun, bool dbFlag) = 0;

  // Keeps the window above the other windows, or not.
  virtual void SetAlwaysOnTop(bool onTop) = 0;

  // Puts the keyboard focus into the agent-ID box or the extension box.
  virtual void FocusAgentId() = 0;
  virtual void FocusExtension() = 0;
};

}  // namespace agentphone
