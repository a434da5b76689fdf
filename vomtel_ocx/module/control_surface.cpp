#include "vomtel_ocx/module/control_surface.h"

#include <cstdio>
#include <cstring>

#include "vomtel_ocx/module/module_ids.h"

namespace vomtelx {
namespace {

constexpr uint32_t Rgba(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint32_t>(r) | static_cast<uint32_t>(g) << 8 |
         static_cast<uint32_t>(b) << 16 | 0xFF000000u;
}

constexpr uint32_t kWhite = Rgba(255, 255, 255);
constexpr uint32_t kBlack = Rgba(0, 0, 0);

void Put(const VcSurface& s, int x, int y, uint32_t rgba) {
  if (x < 0 || y < 0 || x >= s.width || y >= s.height) return;
  uint8_t* p = s.rgba + static_cast<size_t>(y) * s.stride + static_cast<size_t>(x) * 4;
  p[0] = static_cast<uint8_t>(rgba);
  p[1] = static_cast<uint8_t>(rgba >> 8);
  p[2] = static_cast<uint8_t>(rgba >> 16);
  p[3] = static_cast<uint8_t>(rgba >> 24);
}

}  // namespace

uint32_t PicturePixel(int bitmap, int x, int y) {
  // A framed tile in the control's colour with a handset-like bar across its middle.
  static constexpr uint32_t kTile[] = {Rgba(40, 90, 200), Rgba(30, 150, 70), Rgba(220, 120, 20)};
  const uint32_t tile = kTile[(bitmap >= 1 && bitmap <= 3) ? bitmap - 1 : 0];
  if (x <= 1 || y <= 1 || x >= 25 || y >= 25) return Rgba(64, 64, 64);
  if (y >= 11 && y <= 15 && x >= 5 && x <= 21) return kWhite;
  return tile;
}

void DrawControlSurface(const VcSurface& s, int bitmap) {
  if (s.width <= 0 || s.height <= 0 || s.rgba == nullptr) return;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      const bool edge = x == 0 || y == 0 || x == s.width - 1 || y == s.height - 1;
      Put(s, x, y, edge ? kBlack : kWhite);
    }
  }
  for (int y = 0; y < kPictureSide; ++y) {
    for (int x = 0; x < kPictureSide; ++x) {
      Put(s, kPictureAt + x, kPictureAt + y, PicturePixel(bitmap, 1 + x, 1 + y));
    }
  }
}

SIZEL ForcedExtent(const SIZEL&) { return SIZEL{kForcedExtent, kForcedExtent}; }

AboutTexts AboutBoxTexts(const char* controlName) {
  AboutTexts t{};
  std::snprintf(t.caption, sizeof t.caption, "About %s Control", controlName);
  std::snprintf(t.line, sizeof t.line, "%s Control, Version 1.0", controlName);
  return t;
}

}  // namespace vomtelx
