// The event poll export.
#include "vomtel/api/event_fetch.h"
#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/vomtel.h"

using namespace vomtel::api;

extern "C" {

int VOMTEL_CALL vomtelGetEvent(int gate, EventData* record, int) {
  return Export([&] { return vomtel::GetEvent(vomtel::OrbaAdapter::Instance(), gate, record); });
}

}  // extern "C"
