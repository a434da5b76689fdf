// The two layouts of the main window, in twips (1440 per inch) from the window's inner top-left
// corner: a wide horizontal one with the call buttons in two rows and a tall vertical one with
// them in two columns. Image buttons, label images and check boxes are only moved; text boxes,
// panels and push buttons are also sized. The list buttons take part only with the database.
#pragma once

#include <span>
#include <string_view>

namespace agentphone::ui {

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;  // 0 with height 0: the control keeps its size
  int height = 0;
  bool Sized() const { return width != 0 || height != 0; }
};

struct LayoutPlace {
  std::string_view control;  // the widget's object name
  TwipsRect horizontal;
  TwipsRect vertical;
  bool listButton = false;  // cmdCallBack, cmdDropCall: shown only with the database
};

struct TwipsSize {
  int width = 0;
  int height = 0;
};

std::span<const LayoutPlace> LayoutTable();

// "1" selects the horizontal layout; anything else, compared exactly, the vertical one.
bool IsHorizontal(std::string_view gubun);

// The window's outer size (borders and title bar included).
TwipsSize WindowOuterSize(bool horizontal, bool dbFlag);

// Twips to pixels at the screen's logical dpi (15 twips a pixel at 96 dpi).
int TwipsToPixels(int twips, double logicalDpi);

}  // namespace agentphone::ui
