// What the event and outbound controls share with the main control on their surface: drawing,
// extent, about box and property page.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "vomcom/com_ptr.h"
#include "vomcom/dispatch_sink.h"
#include "vomcom/testing/manual_site.h"
#include "vomtel_ocx/module/control_factories.h"
#include "vomtel_ocx/module/control_surface.h"
#include "vomtel_ocx/module/module_ids.h"

namespace vomtelx {
namespace {

struct SurfaceCase {
  const char* name;
  HRESULT (*create)(REFIID, void**);
  int bitmap;
  CLSID page;
  bool forcedExtent;
  const char* aboutCaption;
  const char* aboutLine;
};

const SurfaceCase kCases[] = {
    {"event", &CreateEventControl, 2, kClsidEventPage, true, "About vomtel_ocxEvt Control",
     "vomtel_ocxEvt Control, Version 1.0"},
    {"outbound", &CreateOutboundControl, 3, kClsidOutboundPage, false,
     "About vomtel_ocxOB Control", "vomtel_ocxOB Control, Version 1.0"},
};

class ControlSurfaceTest : public ::testing::TestWithParam<SurfaceCase> {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetParam().create(IID_IVcControl, control_.PutVoid()), S_OK);
  }
  void TearDown() override {
    if (control_) control_->SetClientSite(nullptr);
  }
  vomcom::ComPtr<IVcControl> control_;
};

uint32_t PixelAt(const std::vector<uint8_t>& rgba, int stride, int x, int y) {
  const uint8_t* p = &rgba[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 4];
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

TEST_P(ControlSurfaceTest, DrawsFrameAndPictureOnWhite) {
  const int w = 40, h = 34, stride = w * 4 + 8;
  std::vector<uint8_t> rgba(static_cast<size_t>(stride) * h, 0x5A);
  VcSurface surface{w, h, stride, rgba.data()};
  ASSERT_EQ(control_->Draw(&surface), S_OK);
  const uint32_t black = 0xFF000000u, white = 0xFFFFFFFFu;
  EXPECT_EQ(PixelAt(rgba, stride, 0, 0), black);
  EXPECT_EQ(PixelAt(rgba, stride, w - 1, h - 1), black);
  EXPECT_EQ(PixelAt(rgba, stride, 1, 1), white);
  EXPECT_EQ(PixelAt(rgba, stride, 27, 27), white);
  EXPECT_EQ(PixelAt(rgba, stride, w - 2, h - 2), white);
  for (int y = 0; y < kPictureSide; ++y) {
    for (int x = 0; x < kPictureSide; ++x) {
      ASSERT_EQ(PixelAt(rgba, stride, 2 + x, 2 + y), PicturePixel(GetParam().bitmap, 1 + x, 1 + y))
          << x << "," << y;
    }
  }
  EXPECT_EQ(rgba[static_cast<size_t>(w) * 4], 0x5A) << "the row's padding is not drawn";
}

TEST_P(ControlSurfaceTest, ExtentAndPage) {
  const SIZEL asked{10000, 4000};
  ASSERT_EQ(control_->SetExtent(&asked), S_OK);
  SIZEL got{};
  ASSERT_EQ(control_->GetExtent(&got), S_OK);
  if (GetParam().forcedExtent) {
    EXPECT_EQ(got.cx, 750);
    EXPECT_EQ(got.cy, 750);
  } else {
    EXPECT_EQ(got.cx, 10000);
  }
  CLSID pages[2]{};
  ULONG n = 0;
  ASSERT_EQ(control_->GetPages(pages, 2, &n), S_OK);
  ASSERT_EQ(n, 1u);
  EXPECT_TRUE(IsEqualCLSID(pages[0], GetParam().page));
}

TEST_P(ControlSurfaceTest, AboutBoxGoesThroughTheSiteAndIsSilentWithoutOne) {
  vomcom::ComPtr<IDispatch> dispatch;
  ASSERT_EQ(control_.As(IID_IDispatch, std::addressof(dispatch)), S_OK);
  EXPECT_EQ(vomcom::Invoke(dispatch.Get(), DISPID_ABOUTBOX, DISPATCH_METHOD, {}, nullptr), S_OK);

  vomcom::testing::ManualSite site;
  ASSERT_EQ(control_->SetClientSite(site.Unknown()), S_OK);
  EXPECT_EQ(vomcom::Invoke(dispatch.Get(), DISPID_ABOUTBOX, DISPATCH_METHOD, {}, nullptr), S_OK);
  ASSERT_EQ(site.Messages().size(), 1u);
  EXPECT_EQ(site.Messages()[0].caption, GetParam().aboutCaption);
  EXPECT_EQ(site.Messages()[0].text, GetParam().aboutLine);
  control_->SetClientSite(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlSurfaceTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vomtelx
