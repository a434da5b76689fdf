#include "vomtel/api/event_fetch.h"

#include "vomtel/api/event_copy.h"
#include "vomtel/api/event_decoder.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/stream.h"

namespace vomtel {

int Event(OrbaAdapter& adapter, EventRecord& record, int gate) {
  Stream frame;
  const int fetched = adapter.Proxy().Notify(frame, gate);
  if (fetched != kOk) return fetched;
  const EventContext context{adapter.GetVersion(gate), gate, LocalTimeNow};
  for (const std::string& text : DecodeEvent(frame, context, record)) adapter.Log(text, gate);
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
