// The decoder alone, beside the fetch: the same call event frames decoded and copied into an
// EventData with no queue, no gate and no lock in between. The gap between this and the
// decoded events per second of vomtelGetEvent is what the fetch path around the decoder costs.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

#include "bench/event_frames.h"
#include "bench/figures.h"
#include "bench/sim_gate.h"
#include "vomtel/api/event_copy.h"
#include "vomtel/api/event_decoder.h"
#include "vomtel/core/stream.h"

namespace vomtel::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFrames = 100000;
constexpr double kTarget = 1000000;

void BM_EventDecodeOnly(benchmark::State& state) {
  static constexpr std::uint8_t kCodes[] = {ctisim::kEventDelivered, ctisim::kEventEstablished,
                                            ctisim::kEventConnectionCleared};
  std::vector<Stream> frames;
  frames.reserve(kFrames);
  for (int i = 0; i < kFrames; ++i) {
    const ctisim::Bytes bytes = CallEvent(kCodes[i % 3], static_cast<std::uint32_t>(i + 1));
    frames.emplace_back(bytes.data(), bytes.size());
  }
  auto out = std::make_unique<EventData>();
  const EventContext context{kHeaderByte, 0, LocalTimeNow};
  double perSecond = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    for (const Stream& frame : frames) {
      EventRecord record;
      const EventLogTexts texts = DecodeEvent(frame, context, record);
      benchmark::DoNotOptimize(texts.data());
      CopyEventRecord(record, 1, out.get());
      benchmark::ClobberMemory();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    perSecond = kFrames / seconds;
  }
  state.counters["events_per_s"] = perSecond;
  Figures::Instance().Record(
      Section::kEvents,
      {"Decode + copy alone (no fetch around it)", perSecond, "events/s", "target", kTarget,
       Goal::kNone, 0, "", "the same frames; includes building the log texts the decoder returns"});
}

BENCHMARK(BM_EventDecodeOnly)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vomtel::bench
