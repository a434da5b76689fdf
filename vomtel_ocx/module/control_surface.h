// What the three controls share on their surface: the drawing, the forced extent and the
// about box.
#pragma once

#include <cstdint>

#include "vomcom/automation.h"

namespace vomtelx {

// Side of the square picture each control copies into its bounds, and where it goes.
inline constexpr int kPictureSide = 25;
inline constexpr int kPictureAt = 2;

// The RGBA colour of the control's picture (bitmap 1, 2 or 3) at (x, y), 0 <= x, y < 26.
uint32_t PicturePixel(int bitmap, int x, int y);

// White fill, a one-pixel black rectangle on the bounds (right and bottom edges inside them)
// and the picture's 25 x 25 pixels from its point (1, 1) copied to (2, 2), clipped to the
// surface.
void DrawControlSurface(const VcSurface& surface, int bitmap);

// Any requested extent becomes 750 x 750 HIMETRIC.
SIZEL ForcedExtent(const SIZEL& requested);

// The about box texts of a control named e.g. "vomtel_ocxEvt".
struct AboutTexts {
  char caption[64];
  char line[64];
};
AboutTexts AboutBoxTexts(const char* controlName);

}  // namespace vomtelx
