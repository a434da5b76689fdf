// The controls' client site on the Qt event loop: a timer ticks only from the loop, keeps
// ticking while a tick's handler runs a modal dialog (the dialog's loop delivers them, nested
// in the first tick), stops when killed, and the site's message goes to the message boxes.
#include <QApplication>
#include <QPushButton>
#include <functional>

#include "agentphone/core/dialogs.h"
#include "agentphone/ui/qt_client_site.h"
#include "agentphone/ui/qt_dialogs.h"
#include "ui_fixture.h"

namespace agentphone::ui::test {
namespace {

// A timer sink that counts its ticks, how deeply they nest, and runs a handler on each.
class CountingSink final : public IVcTimerSink {
 public:
  HRESULT QueryInterface(REFIID, void** out) override {
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  void OnTimer(UINT_PTR id) override {
    ++ticks;
    lastId = id;
    ++depth;
    deepest = std::max(deepest, depth);
    if (onTick) onTick();
    --depth;
  }

  ULONG refs = 1;
  int ticks = 0, depth = 0, deepest = 0;
  UINT_PTR lastId = 0;
  std::function<void()> onTick;
};

// Clicks a button of the open modal dialog once it is up; true when it did.
bool ClickInModal(const char* buttonName) {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal) return false;
  auto* button = modal->findChild<QPushButton*>(QString::fromLatin1(buttonName));
  if (!button) return false;
  button->click();
  return true;
}

TEST(ClientSiteTest, TicksComeFromTheLoopAndGoOnInsideAModalDialog) {
  RecordingBoxes boxes;
  QtClientSite site(boxes, /*minimumTimerMs=*/1);
  QtDialogs dialogs(boxes, {});
  CountingSink sink;
  int32_t reason = -1;
  bool closed = false;
  sink.onTick = [&] {
    if (sink.ticks == 1) {
      // The first tick opens the not-ready dialog; its loop delivers the next ticks.
      reason = dialogs.RunNotReadyReason(2);
    } else if (sink.ticks >= 4 && !closed) {
      closed = ClickInModal("cmdExit");
    }
  };

  ASSERT_EQ(site.SetTimer(&sink, 7, 1), 7u);
  EXPECT_EQ(sink.ticks, 0);  // never inside SetTimer
  EXPECT_EQ(site.ActiveTimers(), 1u);
  EXPECT_TRUE(QTest::qWaitFor([&] { return closed && sink.depth == 0; }, 60000));
  EXPECT_EQ(sink.lastId, 7u);
  EXPECT_GE(sink.deepest, 2);  // ticks arrived while the first one was still in its dialog
  EXPECT_EQ(reason, 0);        // "닫기"

  EXPECT_TRUE(site.KillTimer(&sink, 7));
  EXPECT_FALSE(site.KillTimer(&sink, 7));
  EXPECT_EQ(site.ActiveTimers(), 0u);
  const int ticks = sink.ticks;
  // A zero-time timer queued after the kill runs after anything the kill left due.
  bool drained = false;
  QTimer::singleShot(0, [&] { drained = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return drained; }, 60000));
  EXPECT_EQ(sink.ticks, ticks);
  EXPECT_EQ(sink.refs, 1u);  // the killed timer let go of its sink
}

TEST(ClientSiteTest, ServicesAndMessages) {
  RecordingBoxes boxes;
  QtClientSite site(boxes);
  void* p = nullptr;
  EXPECT_EQ(site.Unknown()->QueryInterface(IID_IVcTimerService, &p), S_OK);
  EXPECT_EQ(p, static_cast<IVcTimerService*>(&site));
  EXPECT_EQ(site.Unknown()->QueryInterface(IID_IVcUserInterface, &p), S_OK);
  auto* ui = static_cast<IVcUserInterface*>(p);
  EXPECT_EQ(site.Unknown()->QueryInterface(IID_IDispatch, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);

  EXPECT_EQ(ui->ShowMessage("제목", "서버에 연결할 수 없습니다."), S_OK);
  EXPECT_EQ(ui->ShowMessage(nullptr, nullptr), S_OK);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[0].title, Q("제목"));
  EXPECT_EQ(boxes.shown[0].text, Q("서버에 연결할 수 없습니다."));
  EXPECT_EQ(boxes.shown[1].text, QString());
}

}  // namespace
}  // namespace agentphone::ui::test
