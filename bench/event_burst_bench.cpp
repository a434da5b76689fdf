// Decoded events per second: a burst of call events is sent by the simulator and left to
// arrive in the library's event queue; then vomtelGetEvent is timed while it drains the queue
// on one core (decode of each frame and its copy into the caller's EventData).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench/event_frames.h"
#include "bench/figures.h"
#include "bench/queued_events.h"
#include "bench/sim_gate.h"
#include "vomtel/vomtel.h"

namespace vomtel::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kQueueWait = std::chrono::milliseconds(30000);
constexpr double kTarget = 1000000;

void EventBurst(benchmark::State& state, int count, int logLevel) {
  auto server = StartServer();
  SimGate gate(*server);
  if (!gate.ok()) {
    state.SkipWithError("gate did not open on the simulator");
    return;
  }
  if (logLevel > 0) SetGateLogLevel(gate.Gate(), logLevel);
  const ctisim::Bytes burst = CallEventBurst(count, 1);
  auto record = std::make_unique<EventData>();
  double perSecond = 0;
  long decoded = 0;
  for (auto _ : state) {
    server->Send(burst);
    const bool queued =
        WaitForQueuedEvents(gate.Gate(), static_cast<std::size_t>(count), kQueueWait);
    if (!queued) {
      state.SkipWithError("the burst did not arrive in the event queue");
      return;
    }
    decoded = 0;
    const auto start = Clock::now();
    // Every queued frame is fetched; keep-alive frames among them give 3010 and are not
    // counted. The bound ends the loop should the queue not drain.
    for (long polls = 0; decoded < count && polls < 4L * count; ++polls) {
      if (vomtelGetEvent(gate.Gate(), record.get(), 0) == 1 && record->EventKind != 0) ++decoded;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    perSecond = static_cast<double>(decoded) / seconds;
  }
  state.counters["events_per_s"] = perSecond;
  state.counters["decoded"] = static_cast<double>(decoded);

  const std::string burstText = std::to_string(count) + " queued call events";
  if (logLevel > 0) {
    Figures::Instance().Record(
        Section::kEvents,
        {"Decoded events/s with log LEVEL=" + std::to_string(logLevel), perSecond, "events/s", "",
         0, Goal::kNone, 0, "",
         burstText + "; every event's decoded fields are written as log lines, each line an "
                     "open, write and close of the log file"});
    return;
  }
  Figures::Instance().Record(Section::kEvents, {"Decoded events/s, one core", perSecond, "events/s",
                                                "target", kTarget, Goal::kValueAtLeast, kTarget,
                                                ">= 1,000,000/s", burstText + ", log LEVEL=0"});
}

void BM_EventBurst(benchmark::State& state) { EventBurst(state, 100000, 0); }
void BM_EventBurstLogged(benchmark::State& state) { EventBurst(state, 10000, 2); }

BENCHMARK(BM_EventBurst)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventBurstLogged)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vomtel::bench
