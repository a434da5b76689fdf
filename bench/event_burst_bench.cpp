// Decoded events per second on one core: a burst of call events is sent by the simulator and
// left to arrive in the library's event queue; then vomtelGetEvent drains the queue, and the
// CPU time of the draining thread is taken (the fetch runs on the caller's thread alone: the
// decode of each frame and its copy into the caller's EventData, and the gate's event poll
// around them). Beside it, in the same iteration, the decoder alone over the same frames:
// decode and copy with no queue, no gate and no lock around them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "bench/event_frames.h"
#include "bench/figures.h"
#include "bench/queued_events.h"
#include "bench/sim_gate.h"
#include "bench/thread_cpu_clock.h"
#include "vomtel/api/event_copy.h"
#include "vomtel/api/event_decoder.h"
#include "vomtel/core/stream.h"
#include "vomtel/vomtel.h"

namespace vomtel::bench {
namespace {

constexpr auto kQueueWait = std::chrono::milliseconds(30000);
constexpr double kTarget = 1000000;

// The burst's frames one by one, as the event queue holds them.
std::vector<Stream> BurstFrames(int count) {
  std::vector<Stream> frames;
  frames.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const ctisim::Bytes bytes = CallEventBurst(1, static_cast<std::uint32_t>(i + 1));
    frames.emplace_back(bytes.data(), bytes.size());
  }
  return frames;
}

// Decodes and copies every frame, building no log text (the run logs at LEVEL=0): events per
// second of CPU time.
double DecodeAlone(const std::vector<Stream>& frames, EventData& out) {
  const EventContext context{kHeaderByte, 0, LocalTimeNow};
  const auto start = ThreadCpuTime();
  for (const Stream& frame : frames) {
    EventRecord record;
    const EventLogTexts texts = DecodeEvent(frame, context, record, false);
    benchmark::DoNotOptimize(texts.data());
    CopyEventRecord(record, 1, &out);
    benchmark::ClobberMemory();
  }
  return static_cast<double>(frames.size()) / Seconds(ThreadCpuTime() - start);
}

void EventBurst(benchmark::State& state, int count, int logLevel) {
  auto server = StartServer();
  SimGate gate(*server);
  if (!gate.ok()) {
    state.SkipWithError("gate did not open on the simulator");
    return;
  }
  if (logLevel > 0) SetGateLogLevel(gate.Gate(), logLevel);
  const ctisim::Bytes burst = CallEventBurst(count, 1);
  const std::vector<Stream> frames = logLevel > 0 ? std::vector<Stream>{} : BurstFrames(count);
  auto record = std::make_unique<EventData>();
  double perSecond = 0;
  double alonePerSecond = 0;
  long decoded = 0;
  for (auto _ : state) {
    server->Send(burst);
    if (!WaitForQueuedEvents(gate.Gate(), static_cast<std::size_t>(count), kQueueWait)) {
      state.SkipWithError("the burst did not arrive in the event queue");
      return;
    }
    decoded = 0;
    const auto start = ThreadCpuTime();
    // Every queued frame is fetched; keep-alive frames among them give 3010 and are not
    // counted. The bound ends the loop should the queue not drain.
    for (long polls = 0; decoded < count && polls < 4L * count; ++polls) {
      if (vomtelGetEvent(gate.Gate(), record.get(), 0) == 1 && record->EventKind != 0) ++decoded;
    }
    const double seconds = Seconds(ThreadCpuTime() - start);
    state.SetIterationTime(seconds);
    // The best iteration of each: the one least disturbed by the rest of the machine.
    perSecond = std::max(perSecond, static_cast<double>(decoded) / seconds);
    if (!frames.empty()) alonePerSecond = std::max(alonePerSecond, DecodeAlone(frames, *record));
  }
  state.counters["events_per_s"] = perSecond;
  state.counters["alone_per_s"] = alonePerSecond;
  state.counters["decoded"] = static_cast<double>(decoded);

  const std::string burstText = std::to_string(count) + " queued call events";
  if (logLevel > 0) {
    Figures::Instance().Record(
        Section::kEvents,
        {"Decoded events/s with log LEVEL=" + std::to_string(logLevel), perSecond, "events/s", "",
         0, Goal::kNone, 0, "",
         burstText + "; each event's fields go to the log as lines, each line an open, write "
                     "and close of the log file"});
    return;
  }
  Figures::Instance().Record(
      Section::kEvents,
      {"Decoded events/s through vomtelGetEvent, one core", perSecond, "events/s",
       "decoder + copy alone, same frames", alonePerSecond, Goal::kValueAtLeast, kTarget,
       ">= 1,000,000/s",
       burstText + ", log LEVEL=0, per second of the thread's CPU time, best of 5"});
}

void BM_EventBurst(benchmark::State& state) { EventBurst(state, 100000, 0); }
void BM_EventBurstLogged(benchmark::State& state) { EventBurst(state, 10000, 2); }

BENCHMARK(BM_EventBurst)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventBurstLogged)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vomtel::bench
