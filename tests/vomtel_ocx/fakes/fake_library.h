// A fake of the two library exports that the event and outbound controls call, for tests that
// link the controls without libvomtel: a queue of events per test and the last list handle.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "vomtel/vomtel.h"

namespace vomtelx::test {

struct FakeLibrary {
  // vomtelGetEvent hands these out in order (result 1), then 3010 with EventKind 0.
  std::deque<EventData> events;
  std::vector<int> fetchGates;             // the gate of every fetch
  std::function<void()> onFetch;           // runs at the start of each fetch (may throw)

  // vomtelSetCampaignListHandle keeps its arguments and returns listHandleResult.
  int listHandleResult = 1;
  int listHandleCalls = 0;
  int listHandleGate = 0;
  int listHandleInvoke = 0;
  CampaignListHandleRecord listHandleRecord{};
};

// The one fake of the process, reset by Reset().
FakeLibrary& Fake();
void ResetFake();

// A zeroed record of the given kind.
EventData EventOf(int kind);

}  // namespace vomtelx::test
