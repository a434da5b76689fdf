#include "fake_library.h"

#include <cstring>

namespace vomtelx::test {

FakeLibrary& Fake() {
  static FakeLibrary fake;
  return fake;
}

void ResetFake() { Fake() = FakeLibrary{}; }

EventData EventOf(int kind) {
  EventData e;
  std::memset(&e, 0, sizeof e);
  e.EventKind = kind;
  return e;
}

}  // namespace vomtelx::test

using vomtelx::test::Fake;

extern "C" int vomtelGetEvent(int gate, EventData* record, int) {
  Fake().fetchGates.push_back(gate);
  if (Fake().onFetch) Fake().onFetch();
  record->EventKind = 0;
  if (Fake().events.empty()) return VOMTEL_NO_EVENT;
  *record = Fake().events.front();
  Fake().events.pop_front();
  return VOMTEL_OK;
}

extern "C" int vomtelSetCampaignListHandle(int gate, int invoke,
                                           const CampaignListHandleRecord* record) {
  ++Fake().listHandleCalls;
  Fake().listHandleGate = gate;
  Fake().listHandleInvoke = invoke;
  Fake().listHandleRecord = *record;
  return Fake().listHandleResult;
}
