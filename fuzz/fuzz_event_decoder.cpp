// Decodes any bytes as an event frame and copies the result into an EventData that sits
// between two guard zones. The first input byte picks the session's header byte (0, 0x28 or
// 0x50), the rest is the frame. Whatever the bytes, the copy gives 1 or 3010, every text of
// a delivered event ends within its field, and neither the guards nor the record's bytes from
// 4312 on are written.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "vomtel/api/event_copy.h"
#include "vomtel/api/event_decoder.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/stream.h"
#include "vomtel/vomtel_event.h"

namespace {

constexpr unsigned char kFill = 0xA5;
constexpr std::size_t kGuard = 64;

struct Guarded {
  alignas(EventData) unsigned char before[kGuard];
  EventData data;
  unsigned char after[kGuard];
};

vomtel::LocalTime FixedClock() { return {2026, 12, 10, 12, 0, 0, 0}; }

bool Filled(const unsigned char* bytes, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    if (bytes[i] != kFill) return false;
  }
  return true;
}

template <std::size_t N>
bool Terminated(const char (&text)[N]) {
  return std::memchr(text, 0, N) != nullptr;
}

bool TextsTerminated(const EventData& d) {
  const vomtelListNoticeData& n = d.PrivateEvent.ListNotice;
  bool ok = Terminated(d.cnidText) && Terminated(d.ucid) && Terminated(d.AgentID) &&
            Terminated(d.AgentGroup) && Terminated(d.AgentData) && Terminated(d.LocalAgent) &&
            Terminated(d.MonitorParty) && Terminated(d.UUI) && Terminated(d.AccountCode) &&
            Terminated(d.AuthorisationCode) && Terminated(d.DtmfDigit) &&
            Terminated(d.OtherParty) && Terminated(d.ThirdParty) && Terminated(d.CalledParty) &&
            Terminated(d.OriginatingParty) && Terminated(d.ConnectionList1) &&
            Terminated(d.ConnectionList2) && Terminated(d.ConnectionList3) &&
            Terminated(d.ForwardDn) && Terminated(d.MessageInvDn) && Terminated(d.PrivData) &&
            Terminated(d.UEI) && Terminated(d.CI) && Terminated(d.PrivateData) &&
            Terminated(n.Text1) && Terminated(n.Text2) && Terminated(n.Text3) &&
            Terminated(n.Text4) && Terminated(n.Text5);
  if (d.EventKind == VOMTEL_EVENT_POPUP) ok = ok && Terminated(d.PrivateEvent.Popup.EmployeeId);
  ok = ok && d.UEILen >= 0 && d.UEILen < VOMTEL_EVENT_USER_DATA_SIZE &&
       d.UEI[d.UEILen] == '\0' && d.CILen >= 0 && d.CILen < VOMTEL_EVENT_USER_DATA_SIZE &&
       d.CI[d.CILen] == '\0';
  return ok;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const std::uint8_t kVersions[] = {0, 0x28, 0x50};
  const std::uint8_t version = kVersions[data[0] % 3];
  const vomtel::Stream frame(data + 1, size - 1);

  vomtel::EventRecord record;
  vomtel::DecodeEvent(frame, {version, 0, FixedClock}, record);

  static Guarded guarded;
  std::memset(&guarded, kFill, sizeof guarded);
  const int result = vomtel::CopyEventRecord(record, vomtel::kOk, &guarded.data);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&guarded.data);

  if (result != vomtel::kOk && result != vomtel::kNoEvent) __builtin_trap();
  if (!Filled(guarded.before, kGuard) || !Filled(guarded.after, kGuard)) __builtin_trap();
  if (!Filled(bytes + VOMTEL_EVENT_WRITTEN_SIZE, sizeof(EventData) - VOMTEL_EVENT_WRITTEN_SIZE)) {
    __builtin_trap();
  }
  if (result == vomtel::kNoEvent) {
    if (guarded.data.EventKind != 0 || !Filled(bytes + 4, sizeof(EventData) - 4)) __builtin_trap();
  } else if (!TextsTerminated(guarded.data)) {
    __builtin_trap();
  }
  return 0;
}
