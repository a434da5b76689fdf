// Window-timer semantics on the manual clock.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "vomcom/testing/manual_site.h"

namespace {

using vomcom::testing::ManualSite;

struct Sink : IVcTimerSink {
  std::vector<UINT_PTR> ticks;
  std::function<void(UINT_PTR)> then;
  ULONG refs = 0;
  HRESULT QueryInterface(REFIID, void** out) override {
    *out = this;
    ++refs;
    return S_OK;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  void OnTimer(UINT_PTR id) override {
    ticks.push_back(id);
    if (then) then(id);
  }
};

TEST(Timers, TickOnlyFromTheLoopAndAtMostOncePending) {
  Sink sink;  // declared first: the site holds it until the site goes
  ManualSite site;
  EXPECT_EQ(site.SetTimer(&sink, 7, 100), 7u);
  EXPECT_EQ(site.SetTimer(&sink, 0, 100), 0u);
  EXPECT_EQ(site.SetTimer(nullptr, 8, 100), 0u);
  EXPECT_TRUE(site.HasTimer(7));
  EXPECT_FALSE(site.HasTimer(8));
  site.Advance(99);
  EXPECT_EQ(site.PendingCount(), 0u);
  site.Advance(1000);  // ten periods missed: one tick
  EXPECT_TRUE(sink.ticks.empty());
  EXPECT_EQ(site.PendingCount(), 1u);
  EXPECT_EQ(site.Pump(), 1u);
  EXPECT_EQ(site.Pump(), 0u);
  EXPECT_EQ(sink.ticks, (std::vector<UINT_PTR>{7}));
  site.Advance(100);  // periodic
  site.Pump();
  EXPECT_EQ(sink.ticks.size(), 2u);
  EXPECT_TRUE(site.KillTimer(&sink, 7));
  EXPECT_FALSE(site.KillTimer(&sink, 7));
  EXPECT_FALSE(site.HasTimer(7));
  EXPECT_EQ(sink.refs, 0u);
}

TEST(Timers, ReplacingAnIdRestartsItAndDropsItsPendingTick) {
  Sink a, b;
  ManualSite site;
  site.SetTimer(&a, 1, 100);
  site.SetTimer(&b, 1, 100);  // ids are per sink
  EXPECT_EQ(site.ActiveTimerCount(), 2u);
  site.Advance(100);
  EXPECT_EQ(site.SetTimer(&a, 1, 300), 1u);
  EXPECT_EQ(site.ActiveTimerCount(), 2u);
  site.Pump();
  EXPECT_TRUE(a.ticks.empty());
  EXPECT_EQ(b.ticks.size(), 1u);
  site.Advance(299);
  site.Pump();
  EXPECT_TRUE(a.ticks.empty());
  site.Advance(1);
  site.Pump();
  EXPECT_EQ(a.ticks.size(), 1u);
  site.Advance(10);  // below the 10 ms floor a timer runs at 10 ms
  site.SetTimer(&a, 2, 1);
  site.Advance(9);
  EXPECT_EQ(site.Pump(), 0u);
}

TEST(Timers, APumpInsideATickDeliversEachTickOnce) {
  Sink a, b;
  ManualSite site;
  int nested = 0;
  // A's handler runs a modal loop: B's tick comes from inside it, and A is not re-entered.
  a.then = [&](UINT_PTR) {
    ++nested;
    site.Pump();
  };
  site.SetTimer(&a, 1, 50);
  site.SetTimer(&b, 2, 50);
  site.Advance(50);
  site.Pump();
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(a.ticks.size(), 1u);
  EXPECT_EQ(b.ticks.size(), 1u);
  // A handler that kills another pending timer: that tick is not delivered.
  a.then = [&](UINT_PTR) { site.KillTimer(&b, 2); };
  site.Advance(50);
  site.Pump();
  EXPECT_EQ(b.ticks.size(), 1u);
  site.KillTimer(&a, 1);
}

}  // namespace
