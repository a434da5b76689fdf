#include "agentphone/core/display.h"

namespace agentphone {
namespace {

constexpr std::string_view kButtonNames[kButtonCount] = {
    "imgLogIn", "ImgNotReady", "ImgReady", "imgAftCallWork", "ImgAnswer", "ImgMakeCall", "ImgHangUp",
    "ImgHold", "ImgRetrieve", "ImgConsult", "ImgReConnect", "ImgTransfer", "ImgConference",
};

constexpr std::string_view kPictureNames[] = {
    "ImgLogInOn",     "ImgLogInOff",     "ImgLogOutOn",       "ImgLogOutOff",      "ImgReadyOn",
    "ImgReadyOff",    "ImgNotReadyOn",   "ImgNotReadyOff",    "imgAftCallWorkOn",  "imgAftCallWorkOff",
    "ImgMakeCallOn",  "ImgMakeCallOff",  "ImgAnswerOn",       "ImgAnswerOff",      "ImgHangUpOn",
    "ImgHangUpOff",   "ImgHoldOn",       "ImgHoldOff",        "ImgRetrieveOn",     "ImgRetrieveOff",
    "ImgConsultOn",   "ImgConsultOff",   "ImgReConnectOn",    "ImgReConnectOff",   "ImgTransferOn",
    "ImgTransferOff", "ImgConferenceOn", "ImgConferenceOff",
};

struct Pair {
  Picture on, off;
};
constexpr Pair kPictures[kButtonCount] = {
    {Picture::ImgLogInOn, Picture::ImgLogInOff},
    {Picture::ImgNotReadyOn, Picture::ImgNotReadyOff},
    {Picture::ImgReadyOn, Picture::ImgReadyOff},
    {Picture::imgAftCallWorkOn, Picture::imgAftCallWorkOff},
    {Picture::ImgAnswerOn, Picture::ImgAnswerOff},
    {Picture::ImgMakeCallOn, Picture::ImgMakeCallOff},
    {Picture::ImgHangUpOn, Picture::ImgHangUpOff},
    {Picture::ImgHoldOn, Picture::ImgHoldOff},
    {Picture::ImgRetrieveOn, Picture::ImgRetrieveOff},
    {Picture::ImgConsultOn, Picture::ImgConsultOff},
    {Picture::ImgReConnectOn, Picture::ImgReConnectOff},
    {Picture::ImgTransferOn, Picture::ImgTransferOff},
    {Picture::ImgConferenceOn, Picture::ImgConferenceOff},
};

}  // namespace

std::string_view ButtonName(Button b) { return kButtonNames[static_cast<size_t>(b)]; }
std::string_view PictureName(Picture p) { return kPictureNames[static_cast<size_t>(p)]; }
Picture OnPicture(Button b) { return kPictures[static_cast<size_t>(b)].on; }
Picture OffPicture(Button b) { return kPictures[static_cast<size_t>(b)].off; }

Display::Display() {
  // As designed: every button enabled with its inactive picture, the login button showing
  // the login picture. The window's load shows the logged-out state before anything else.
  for (size_t i = 0; i < kButtonCount; ++i) {
    buttons[i].enabled = true;
    buttons[i].picture = kPictures[i].off;
  }
  (*this)[Button::imgLogIn].picture = Picture::ImgLogInOn;
}

}  // namespace agentphone
