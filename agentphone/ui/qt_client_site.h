// The client site that the window gives the two CTI controls: window timers on the Qt event
// loop and message boxes. A timer ticks only from the event loop, never inside SetTimer, with
// at most one tick pending; a modal dialog's loop is an event loop too, so the event control
// keeps polling while a dialog is open (its own re-entry guard keeps a nested tick from
// fetching). The site is owned by the program and outlives the controls that hold it; Release
// never deletes it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <atomic>

#include "vomcom/client_site.h"

namespace agentphone::ui {

class MessageBoxes;

class QtClientSite final : public QObject, public IVcTimerService, public IVcUserInterface {
 public:
  // minimumTimerMs: intervals below it are raised to it (the window timers' floor).
  explicit QtClientSite(MessageBoxes& boxes, UINT minimumTimerMs = 10, QObject* parent = nullptr);
  ~QtClientSite() override;

  IUnknown* Unknown() { return static_cast<IVcTimerService*>(this); }
  // The window that the controls' messages open over.
  void SetWindow(QWidget* window) { window_ = window; }
  size_t ActiveTimers() const { return timers_.ActiveCount(); }

  HRESULT QueryInterface(REFIID iid, void** out) override;
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override { return --refs_; }
  UINT_PTR SetTimer(IVcTimerSink* sink, UINT_PTR id, UINT elapseMs) override;
  BOOL KillTimer(IVcTimerSink* sink, UINT_PTR id) override;
  HRESULT ShowMessage(const char* captionUtf8, const char* textUtf8) override;

 private:
  uint64_t Now() const { return static_cast<uint64_t>(clock_.elapsed()); }
  void Arm();
  void Wake();

  MessageBoxes& boxes_;
  vomcom::TimerHost timers_;
  QElapsedTimer clock_;
  QTimer wake_;
  QPointer<QWidget> window_;
  std::atomic<ULONG> refs_{0};
};

}  // namespace agentphone::ui
