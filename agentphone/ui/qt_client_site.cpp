#include "agentphone/ui/qt_client_site.h"

#include <algorithm>
#include <cstring>

#include "agentphone/ui/message_boxes.h"

namespace agentphone::ui {

QtClientSite::QtClientSite(MessageBoxes& boxes, UINT minimumTimerMs, QObject* parent)
    : QObject(parent), boxes_(boxes), timers_(minimumTimerMs) {
  clock_.start();
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
  connect(&wake_, &QTimer::timeout, this, &QtClientSite::Wake);
}

QtClientSite::~QtClientSite() { timers_.KillAll(); }

HRESULT QtClientSite::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (std::memcmp(&iid, &IID_IUnknown, sizeof(IID)) == 0 ||
      std::memcmp(&iid, &IID_IVcTimerService, sizeof(IID)) == 0) {
    *out = static_cast<IVcTimerService*>(this);
  } else if (std::memcmp(&iid, &IID_IVcUserInterface, sizeof(IID)) == 0) {
    *out = static_cast<IVcUserInterface*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

UINT_PTR QtClientSite::SetTimer(IVcTimerSink* sink, UINT_PTR id, UINT elapseMs) {
  const UINT_PTR r = timers_.Set(sink, id, elapseMs, Now());
  Arm();
  return r;
}

BOOL QtClientSite::KillTimer(IVcTimerSink* sink, UINT_PTR id) {
  const bool existed = timers_.Kill(sink, id);
  Arm();
  return existed ? 1 : 0;
}

HRESULT QtClientSite::ShowMessage(const char* captionUtf8, const char* textUtf8) {
  boxes_.Inform(window_, QString::fromUtf8(captionUtf8 ? captionUtf8 : ""),
                QString::fromUtf8(textUtf8 ? textUtf8 : ""), MessageIcon::kNone);
  return S_OK;
}

void QtClientSite::Arm() {
  const std::optional<uint64_t> next = timers_.NextDueMs();
  if (!next) {
    wake_.stop();
    return;
  }
  const uint64_t now = Now();
  wake_.start(static_cast<int>(std::min<uint64_t>(*next > now ? *next - now : 0, 1u << 30)));
}

void QtClientSite::Wake() {
  timers_.MarkDue(Now());
  // Armed before the ticks go out: a tick that opens a modal dialog keeps the others coming
  // from the dialog's loop.
  Arm();
  timers_.DeliverPending();
  Arm();
}

}  // namespace agentphone::ui
