// What the main window shows: the thirteen button images (enabled, picture), the status and
// caller-number captions, the two hidden boxes with the agent ID and extension in use, and the
// two check boxes. The core owns this state; the window renders it (MainView::DisplayChanged)
// and forwards the agent's edits of the boxes and check boxes back to the core.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace agentphone {

// In the order in which the login and the logout disable them.
enum class Button : uint8_t {
  imgLogIn,
  ImgNotReady,
  ImgReady,
  imgAftCallWork,
  ImgAnswer,
  ImgMakeCall,
  ImgHangUp,
  ImgHold,
  ImgRetrieve,
  ImgConsult,
  ImgReConnect,
  ImgTransfer,
  ImgConference,
};
inline constexpr size_t kButtonCount = 13;

// The picture holders of the window. To show a picture is to copy a holder into a button.
enum class Picture : uint8_t {
  ImgLogInOn,
  ImgLogInOff,
  ImgLogOutOn,
  ImgLogOutOff,
  ImgReadyOn,
  ImgReadyOff,
  ImgNotReadyOn,
  ImgNotReadyOff,
  imgAftCallWorkOn,
  imgAftCallWorkOff,
  ImgMakeCallOn,
  ImgMakeCallOff,
  ImgAnswerOn,
  ImgAnswerOff,
  ImgHangUpOn,
  ImgHangUpOff,
  ImgHoldOn,
  ImgHoldOff,
  ImgRetrieveOn,
  ImgRetrieveOff,
  ImgConsultOn,
  ImgConsultOff,
  ImgReConnectOn,
  ImgReConnectOff,
  ImgTransferOn,
  ImgTransferOff,
  ImgConferenceOn,
  ImgConferenceOff,
};

// Object names, as the window names its widgets.
std::string_view ButtonName(Button b);
std::string_view PictureName(Picture p);

// The active and inactive pictures of a button (imgLogIn: ImgLogInOn and ImgLogInOff).
Picture OnPicture(Button b);
Picture OffPicture(Button b);

struct ButtonState {
  bool enabled = false;
  Picture picture = Picture::ImgLogInOn;
};

struct Display {
  Display();

  std::array<ButtonState, kButtonCount> buttons;
  std::string sStatue;     // status caption
  std::string sAninum;     // caller-number caption
  std::string txt_realid;  // agent ID in use
  std::string txtRealdn;   // extension in use
  bool chk_Ready = false;  // automatic ready after a call
  bool chk_up = false;     // window always on top

  ButtonState& operator[](Button b) { return buttons[static_cast<size_t>(b)]; }
  const ButtonState& operator[](Button b) const { return buttons[static_cast<size_t>(b)]; }
};

}  // namespace agentphone
