#include "vomtel/api/event_fetch.h"

#include <cstdint>
#include <memory>

#include "vomtel/api/event_copy.h"
#include "vomtel/api/event_decoder.h"
#include "vomtel/core/logger.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/session.h"
#include "vomtel/core/stream.h"

namespace vomtel {

int Event(OrbaAdapter& adapter, EventRecord& record, int gate) {
  // The fetch copies the queued frame into this Stream, which keeps its buffer from one event
  // to the next: no allocation per event. Nothing of an earlier frame is read: the decoder
  // reads the bytes the frame holds and zeros past them.
  thread_local Stream frame(nullptr, 0);
  const int fetched = adapter.Proxy().Notify(frame, gate);
  if (fetched != kOk) return fetched;
  // One lookup for the header byte and the log threshold; the texts are built only for a log
  // that writes them.
  const std::shared_ptr<CSession> session = adapter.Proxy().FindActive(gate);
  const bool withLog = session && session->Logger().Enabled(kLogInfo);
  const EventContext context{session ? session->Version() : std::uint8_t{0}, gate, LocalTimeNow};
  for (const std::string& text : DecodeEvent(frame, context, record, withLog)) {
    adapter.Log(text, gate);
  }
  return kOk;
}

int GetEvent(OrbaAdapter& adapter, int gate, EventData* out) {
  if (out == nullptr) return kZeroDevice;
  try {
    EventRecord record;
    const int result = Event(adapter, record, gate);
    return CopyEventRecord(record, result, out);
  } catch (...) {
    out->EventKind = kEventNone;
    return kInternalError;
  }
}

}  // namespace vomtel
