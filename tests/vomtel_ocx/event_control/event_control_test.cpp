#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "event_control_fixture.h"

namespace vomtelx::test {
namespace {

constexpr DISPID kEventKind = 1;
constexpr DISPID kCallRefId = 2;
constexpr DISPID kOtherParty = 21;

EventData CallEvent(int kind, int callRef, const char* otherParty) {
  EventData e = EventOf(kind);
  e.CallRefID = callRef;
  std::snprintf(e.OtherParty, sizeof e.OtherParty, "%s", otherParty);
  return e;
}

TEST_F(EventControlTest, StartTimerNeedsAGate) {
  EXPECT_EQ(StartTimer(), -1);
  EXPECT_EQ(site_.ActiveTimerCount(), 0u);
  OpenGate(0);
  EXPECT_EQ(StartTimer(), 3333);
  EXPECT_EQ(site_.ActiveTimerCount(), 1u);
}

TEST_F(EventControlTest, EachQueuedEventIsFiredOnceWithOnlyItsOwnFields) {
  Fake().events = {CallEvent(3, 11, "2001"), CallEvent(4, 12, ""), CallEvent(6, 13, "2003")};
  std::vector<std::string> seen;
  onEvent_ = [&](int) {
    seen.push_back(Get(kEventKind) + "/" + Get(kCallRefId) + "/" + Get(kOtherParty));
  };
  OpenGate(7);
  StartTimer();
  EXPECT_TRUE(fired_.empty()) << "no tick inside starttimer";
  RecordFetchTimes();
  EXPECT_EQ(Tick(), 1u);

  EXPECT_EQ(fired_, (std::vector<int>{3, 4, 6}));
  EXPECT_EQ(seen, (std::vector<std::string>{"3/11/2001", "4/12/", "6/13/2003"}));
  // Three events, then the fetch that found none; a pause before each fetch, on the host's
  // loop: the thread never sleeps.
  EXPECT_EQ(Fake().fetchGates, (std::vector<int>{7, 7, 7, 7}));
  EXPECT_EQ(fetchTimes_, (std::vector<uint64_t>{810, 820, 830, 840}));
  EXPECT_TRUE(sleeps_.empty());
  // After the handler, the properties show the record of the last fetch: all zero.
  EXPECT_EQ(Get(kEventKind), "0");
  EXPECT_EQ(Get(kOtherParty), "");
}

// A burst of events must not hold the host: a tick only schedules the first fetch, and each
// fetch hands one event over and returns to the host's loop until the pause before the next.
TEST_F(EventControlTest, EachFetchTakesOneEventAndReturnsToTheHostsLoop) {
  Fake().events = {EventOf(3), EventOf(4), EventOf(6)};
  RecordFetchTimes();
  OpenGate(0);
  StartTimer();
  site_.Advance(800);
  EXPECT_EQ(site_.Pump(), 1u);
  EXPECT_TRUE(fired_.empty()) << "the tick fetches nothing itself";
  site_.Advance(9);
  EXPECT_EQ(site_.Pump(), 0u);
  site_.Advance(1);
  EXPECT_EQ(site_.Pump(), 1u);
  EXPECT_EQ(fired_, (std::vector<int>{3}));
  site_.Advance(10);
  EXPECT_EQ(site_.Pump(), 1u);
  EXPECT_EQ(fired_, (std::vector<int>{3, 4}));
  RunFetches();
  EXPECT_EQ(fired_, (std::vector<int>{3, 4, 6}));
  EXPECT_EQ(fetchTimes_, (std::vector<uint64_t>{810, 820, 830, 840}));
  EXPECT_EQ(site_.ActiveTimerCount(), 1u) << "after the empty fetch only the period remains";
}

// The pause runs from the end of the event's handlers (a handler that holds the thread delays
// the next fetch), and the period's ticks that come during a long run neither start a second
// run nor change the pace.
TEST_F(EventControlTest, RunKeepsItsPaceAndOrderThroughSlowHandlersAndPeriodTicks) {
  constexpr int kEvents = 200;  // two seconds of fetches: the period ticks twice meanwhile
  std::vector<int> kinds;
  for (int i = 1; i <= kEvents; ++i) {
    Fake().events.push_back(EventOf(i));
    kinds.push_back(i);
  }
  onEvent_ = [&](int kind) {
    if (kind == 2) site_.Advance(50);  // a handler that waits for a reply
  };
  RecordFetchTimes();
  OpenGate(0);
  StartTimer();
  Tick();
  EXPECT_EQ(fired_, kinds);
  ASSERT_EQ(fetchTimes_.size(), kinds.size() + 1);
  EXPECT_EQ(fetchTimes_[0], 810u);
  EXPECT_EQ(fetchTimes_[1], 820u);
  EXPECT_EQ(fetchTimes_[2], 880u);
  for (size_t i = 3; i < fetchTimes_.size(); ++i) {
    EXPECT_EQ(fetchTimes_[i] - fetchTimes_[i - 1], 10u) << "fetch " << i;
  }
  EXPECT_GT(fetchTimes_.back(), 2400u);
}

// The host ends the polling between two fetches (stoptimer from a button, or the site taken
// away): nothing more is fetched; started again, the polling goes on with the next event.
TEST_F(EventControlTest, PollingStoppedBetweenFetchesResumesWithTheNextEvent) {
  for (const bool siteTaken : {false, true}) {
    SCOPED_TRACE(siteTaken ? "site taken away" : "stoptimer");
    ResetFake();
    fired_.clear();
    Fake().events = {EventOf(4), EventOf(6), EventOf(3)};
    OpenGate(0);
    StartTimer();
    site_.Advance(800);
    site_.Pump();
    site_.Advance(10);
    site_.Pump();
    ASSERT_EQ(fired_, (std::vector<int>{4}));
    if (siteTaken) {
      site_control_->SetClientSite(nullptr);
      site_control_->SetClientSite(site_.Unknown());
    } else {
      EXPECT_EQ(StopTimer(), 1);
    }
    RunFetches();
    site_.Advance(800);
    site_.Pump();
    EXPECT_EQ(fired_, (std::vector<int>{4}));
    EXPECT_EQ(site_.ActiveTimerCount(), 0u);

    EXPECT_EQ(StartTimer(), 3333);
    Tick();
    EXPECT_EQ(fired_, (std::vector<int>{4, 6, 3}));
    StopTimer();
  }
}

TEST_F(EventControlTest, ServerDownIsFiredAndStopsFetchingUntilStartTimer) {
  Fake().events = {EventOf(4), EventOf(999), EventOf(6)};
  OpenGate(0);
  StartTimer();
  Tick();
  EXPECT_EQ(fired_, (std::vector<int>{4, 999}));
  EXPECT_EQ(Fake().fetchGates.size(), 2u);

  // The timer still ticks, but a tick only logs.
  EXPECT_EQ(Tick(), 1u);
  EXPECT_EQ(Fake().fetchGates.size(), 2u);
  EXPECT_EQ(site_.ActiveTimerCount(), 1u);

  EXPECT_EQ(StartTimer(), 3333);
  Tick();
  EXPECT_EQ(fired_, (std::vector<int>{4, 999, 6}));
}

TEST_F(EventControlTest, StopTimerInsideTheHandlerEndsTheLoopAfterItsEvent) {
  Fake().events = {EventOf(4), EventOf(6)};
  onEvent_ = [&](int kind) {
    if (kind == 4) {
      EXPECT_EQ(StopTimer(), 1);
    }
  };
  OpenGate(0);
  StartTimer();
  Tick();
  EXPECT_EQ(fired_, (std::vector<int>{4}));
  EXPECT_EQ(Fake().events.size(), 1u);
  EXPECT_EQ(site_.ActiveTimerCount(), 0u);
  EXPECT_EQ(StopTimer(), 0) << "a second stoptimer has no timer to kill";
}

TEST_F(EventControlTest, StartTimerInsideTheHandlerKeepsTheLoopGoing) {
  Fake().events = {EventOf(999), EventOf(6)};
  onEvent_ = [&](int kind) {
    if (kind == 999) {
      EXPECT_EQ(StartTimer(), 3333);
    }
  };
  OpenGate(0);
  StartTimer();
  Tick();
  EXPECT_EQ(fired_, (std::vector<int>{999, 6}));
}

// A handler that runs a modal loop lets the next tick in; that tick must neither zero the
// record under the handler nor deliver the next event ahead of the outer loop.
TEST_F(EventControlTest, TickInsideAModalLoopLeavesTheOuterLoopToDeliverInOrder) {
  Fake().events = {CallEvent(3, 1, "a"), CallEvent(4, 2, "b"), CallEvent(6, 3, "c")};
  std::vector<std::string> seen;
  onEvent_ = [&](int) {
    const std::string before = Get(kCallRefId);
    EXPECT_EQ(Tick(), 1u) << "the nested tick is delivered";
    seen.push_back(before + "=" + Get(kCallRefId) + Get(kOtherParty));
  };
  OpenGate(0);
  StartTimer();
  Tick();
  EXPECT_EQ(fired_, (std::vector<int>{3, 4, 6}));
  EXPECT_EQ(seen, (std::vector<std::string>{"1=1a", "2=2b", "3=3c"}));
  EXPECT_EQ(Fake().fetchGates.size(), 4u);
}

TEST_F(EventControlTest, DelayTakesEffectAtTheNextStart) {
  OpenGate(0);
  StartTimer();
  SetDelay(200);
  EXPECT_EQ(Tick(200), 0u) << "the running timer keeps its period";
  StartTimer();
  EXPECT_EQ(Tick(200), 1u);
}

TEST_F(EventControlTest, FailureInsideATickRestartsTheTimerAndKeepsPolling) {
  int failures = 1;
  Fake().onFetch = [&] {
    if (failures-- > 0) throw std::runtime_error("out of memory");
  };
  Fake().events = {EventOf(4)};
  OpenGate(0);
  StartTimer();
  Tick();
  EXPECT_TRUE(fired_.empty());
  EXPECT_EQ(sleeps_, (std::vector<long>{50}));
  EXPECT_EQ(site_.ActiveTimerCount(), 1u);
  Tick();
  EXPECT_EQ(fired_, (std::vector<int>{4}));
}

// Whatever is thrown inside a tick, the tick ends as after a framework exception: the timer is
// set again and the next tick polls (nothing escapes into the host's loop).
TEST_F(EventControlTest, AnythingThrownInsideATickIsCaughtAndPollingGoesOn) {
  int failures = 1;
  Fake().onFetch = [&] {
    if (failures-- > 0) throw 42;
  };
  Fake().events = {EventOf(4)};
  OpenGate(0);
  StartTimer();
  Tick();
  EXPECT_TRUE(fired_.empty());
  EXPECT_EQ(sleeps_, (std::vector<long>{50}));
  EXPECT_EQ(site_.ActiveTimerCount(), 1u);
  Tick();
  EXPECT_EQ(fired_, (std::vector<int>{4}));
}

// A handler that lets the host's last reference go: the control lives until its tick is over,
// then goes with its timer and its site.
TEST_F(EventControlTest, ReleasedInsideItsOwnHandlerLivesToTheEndOfTheTick) {
  Fake().events = {EventOf(4), EventOf(6)};
  OpenGate(0);
  StartTimer();
  onEvent_ = [&](int) {
    if (!control_) return;
    point_->Unadvise(cookie_);
    point_ = nullptr;
    site_control_ = nullptr;
    control_ = nullptr;
    EXPECT_EQ(site_.ActiveTimerCount(), 1u) << "still alive inside its handler";
  };
  Tick();
  EXPECT_EQ(fired_, (std::vector<int>{4}));
  EXPECT_EQ(site_.ActiveTimerCount(), 0u);
  EXPECT_EQ(site_.RefCount(), 0u);
  site_.Advance(800);
  EXPECT_EQ(site_.Pump(), 0u);
}

TEST_F(EventControlTest, ReleasedOrDetachedControlLeavesNoTimer) {
  OpenGate(0);
  StartTimer();
  ASSERT_EQ(site_.ActiveTimerCount(), 1u);
  site_control_->SetClientSite(nullptr);
  EXPECT_EQ(site_.ActiveTimerCount(), 0u);

  site_control_->SetClientSite(site_.Unknown());
  StartTimer();
  site_.Advance(800);  // a tick is pending when the host lets the control go
  point_->Unadvise(cookie_);
  point_ = nullptr;
  site_control_ = nullptr;
  control_ = nullptr;
  EXPECT_EQ(site_.ActiveTimerCount(), 0u);
  EXPECT_EQ(site_.Pump(), 0u);
  EXPECT_TRUE(Fake().fetchGates.empty());
}

TEST_F(EventControlTest, SinkThatFailsOrThrowsDoesNotStopTheOthers) {
  std::vector<int> second;
  auto throwing = vomcom::DispatchSink::Create(
      [](DISPID, const DISPPARAMS&) -> HRESULT { throw std::runtime_error("sink failed"); },
      kIidEventEvents);
  auto counting = vomcom::DispatchSink::Create(
      [&](DISPID, const DISPPARAMS& p) -> HRESULT {
        second.push_back(vomcom::Variant(p.rgvarg[0]).ToI4());
        return S_OK;
      },
      kIidEventEvents);
  DWORD c1 = 0, c2 = 0;
  ASSERT_EQ(point_->Advise(static_cast<IDispatch*>(throwing.Get()), &c1), S_OK);
  ASSERT_EQ(point_->Advise(static_cast<IDispatch*>(counting.Get()), &c2), S_OK);
  Fake().events = {EventOf(4), EventOf(6)};
  OpenGate(0);
  StartTimer();
  Tick();
  EXPECT_EQ(fired_, (std::vector<int>{4, 6}));
  EXPECT_EQ(second, (std::vector<int>{4, 6}));
  point_->Unadvise(c1);
  point_->Unadvise(c2);
}

}  // namespace
}  // namespace vomtelx::test
