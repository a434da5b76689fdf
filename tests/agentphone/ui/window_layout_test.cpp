// The two layouts of the main window in pixels at 96 dpi: the window's outer size with and
// without the database, where the controls go, and the layout button that switches and stores
// the layout.
#include <QPushButton>

#include "ui_fixture.h"

namespace agentphone::ui::test {
namespace {

struct LayoutCase {
  const char* gubun;
  bool db;
  QSize outer;            // width, height
  QPoint transfer;        // ImgTransfer's place
  QRect change;           // cmdChange's geometry
};

class LayoutTest : public WindowFixture, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, SizesTheWindowAndPlacesItsControls) {
  const LayoutCase& c = GetParam();
  Start(c.db ? "[SOFTPHONE]\nDB=1\n" : "[SOFTPHONE]\n");
  window_.ChangeView(c.gubun, c.db);
  // Twice: the second call leaves everything where the first put it.
  window_.ChangeView(c.gubun, c.db);
  EXPECT_EQ(window_.OuterSize(), c.outer);
  EXPECT_EQ(window_.frameGeometry().size(), c.outer);
  EXPECT_EQ(Child("ImgTransfer")->pos(), c.transfer);
  EXPECT_EQ(Child("cmdChange")->geometry(), c.change);
  EXPECT_EQ(Child("cmdCallBack")->isVisible(), c.db);
  EXPECT_EQ(Child("cmdDropCall")->isVisible(), c.db);
  // The call buttons keep their size; every control lies inside the window.
  for (const char* name : {"ImgTransfer", "imgLogIn", "ImgReady"}) {
    EXPECT_EQ(Child(name)->size(), QSize(85, 27)) << name;
  }
  for (QWidget* w : window_.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (w->isVisible()) {
      EXPECT_TRUE(window_.rect().contains(w->geometry())) << w->objectName().toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    BothLayouts, LayoutTest,
    ::testing::Values(
        LayoutCase{"1", true, {1181, 107}, {928, 34}, {1020, 6, 67, 57}},
        LayoutCase{"1", false, {1116, 107}, {928, 34}, {1020, 6, 67, 57}},
        LayoutCase{"0", true, {196, 442}, {90, 312}, {1, 340, 177, 29}},
        LayoutCase{"0", false, {196, 414}, {90, 312}, {1, 340, 177, 29}},
        // Only the exact "1" is horizontal.
        LayoutCase{" 1", false, {196, 414}, {90, 312}, {1, 340, 177, 29}},
        LayoutCase{"", true, {196, 442}, {90, 312}, {1, 340, 177, 29}}));

TEST_F(LayoutTest, LayoutButtonSwitchesAndStoresTheLayout) {
  Start("[SOFTPHONE]\nDB=0\n");
  // No VIEW stored: vertical.
  EXPECT_EQ(window_.OuterSize(), QSize(196, 414));
  auto* change = Child<QPushButton>("cmdChange");
  QTest::mouseClick(change, Qt::LeftButton);
  EXPECT_EQ(window_.OuterSize(), QSize(1116, 107));
  EXPECT_EQ(Ini("SOFTPHONE", "VIEW"), "1");
  QTest::mouseClick(change, Qt::LeftButton);
  EXPECT_EQ(window_.OuterSize(), QSize(196, 414));
  EXPECT_EQ(Ini("SOFTPHONE", "VIEW"), "0");
}

TEST_F(LayoutTest, StoredHorizontalLayoutIsAppliedAtStart) {
  Start("[SOFTPHONE]\nVIEW=1\nDB=1\n");
  EXPECT_EQ(window_.OuterSize(), QSize(1181, 107));
  EXPECT_EQ(window_.pos(), QPoint(0, 0));
}

}  // namespace
}  // namespace agentphone::ui::test
