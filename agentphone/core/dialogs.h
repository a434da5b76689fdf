// The modal parts of the program: message boxes and the dialogs that hand back one value.
// Each call returns only when the agent closed the box or dialog; the window's adapter runs a
// nested event loop meanwhile. Tests pre-answer them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace agentphone {

// The program's own title, used where a message box names none of its own.
inline constexpr std::string_view kProgramTitle = "소프트폰";

enum class MessageIcon { kNone, kExclamation };

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A message box with an OK button.
  virtual void ShowMessage(std::string_view text, std::string_view title, MessageIcon icon) = 0;

  // A question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(std::string_view text, std::string_view title) = 0;

  // The dial pad: the number entered (trimmed, at least 4 characters), or the empty text when
  // the agent closed it.
  virtual std::string RunDialPad() = 0;

  // The not-ready reason dialog: the chosen reason 0-3; 0 when closed with its close button;
  // `current` when closed in any other way.
  virtual int32_t RunNotReadyReason(int32_t current) = 0;

  // The consultation dialog (it shows the ready agents of Globals::gREADYLIST): the number to
  // call (trimmed, at least 4 characters), or the empty text.
  virtual std::string RunConsultDial() = 0;

  // The call-back list and the abandoned-call list, as modal windows.
  virtual void RunCallBackList() = 0;
  virtual void RunDropCallList() = 0;
};

}  // namespace agentphone
