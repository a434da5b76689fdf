#include "agentphone/ui/window_layout.h"

#include <cmath>

namespace agentphone::ui {
namespace {

constexpr LayoutPlace kTable[] = {
    {"imgAgent", {60, 120}, {60, 60}},
    {"imgDn", {60, 570}, {60, 480}},
    {"txtCTIID", {1140, 120, 1425, 375}, {1140, 30, 1485, 375}},
    {"txtDN", {1140, 540, 1425, 375}, {1140, 450, 1485, 375}},
    {"txt_realid", {1230, 180, 1305, 225}, {1200, 120, 1305, 225}},
    {"txtRealdn", {1230, 630, 1305, 225}, {1200, 510, 1305, 225}},
    {"sStatue", {2610, 120, 1335, 345}, {30, 930, 1245, 345}},
    {"imgLogIn", {2640, 510}, {1320, 900}},
    {"chk_Ready", {4020, 120}, {60, 1350}},
    {"chk_up", {4020, 570}, {1440, 1350}},
    {"sAninum", {5250, 90, 2625, 405}, {30, 1740, 2625, 405}},
    {"ImgReady", {5250, 510}, {30, 2220}},
    {"ImgNotReady", {6570, 510}, {1350, 2220}},
    {"ImgAnswer", {7890, 90}, {30, 2640}},
    {"imgAftCallWork", {7890, 510}, {1350, 2640}},
    {"ImgMakeCall", {9480, 90}, {30, 3180}},
    {"ImgHangUp", {9480, 510}, {1350, 3180}},
    {"ImgHold", {11040, 90}, {30, 3720}},
    {"ImgRetrieve", {11040, 510}, {1350, 3720}},
    {"ImgConsult", {12600, 90}, {30, 4260}},
    {"ImgReConnect", {12600, 510}, {1350, 4260}},
    {"ImgConference", {13920, 90}, {30, 4680}},
    {"ImgTransfer", {13920, 510}, {1350, 4680}},
    {"cmdChange", {15300, 90, 1005, 855}, {10, 5100, 2655, 435}},
    {"cmdCallBack", {16350, 90, 1005, 405}, {10, 5550, 1305, 435}, true},
    {"cmdDropCall", {16350, 540, 1005, 405}, {1350, 5550, 1305, 435}, true},
};

}  // namespace

std::span<const LayoutPlace> LayoutTable() { return kTable; }

bool IsHorizontal(std::string_view gubun) { return gubun == "1"; }

TwipsSize WindowOuterSize(bool horizontal, bool dbFlag) {
  if (horizontal) return {dbFlag ? 17720 : 16745, 1610};
  return {2940, dbFlag ? 6630 : 6215};
}

int TwipsToPixels(int twips, double logicalDpi) {
  return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

}  // namespace agentphone::ui
