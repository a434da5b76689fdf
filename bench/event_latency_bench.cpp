// Server-to-vomtelGetEvent latency: the simulator is handed one call event, the caller polls
// vomtelGetEvent until it comes out decoded. Beside it, sample by sample, a raw TCP exchange
// of the same shape: a one-byte trigger to a server thread that answers with the event's bytes.
// In rounds, each with a new simulator, gate and raw peers; the figures are the median of the
// rounds' medians and the 99th percentile of all samples.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench/event_frames.h"
#include "bench/figures.h"
#include "bench/latency_samples.h"
#include "bench/raw_ping_pong.h"
#include "bench/sim_gate.h"
#include "vomtel/vomtel.h"

namespace vomtel::bench {
namespace {

using Clock = LatencySamples::Clock;

constexpr int kRounds = 5;
constexpr int kRoundSamples = 1000;
constexpr int kSamples = kRounds * kRoundSamples;
constexpr auto kEventWait = std::chrono::milliseconds(1000);

// Polls vomtelGetEvent until the event of `callId` comes out or the wait is over.
bool PollFor(int gate, EventData& record, std::uint32_t callId) {
  const auto deadline = Clock::now() + kEventWait;
  while (Clock::now() < deadline) {
    if (vomtelGetEvent(gate, &record, 0) == 1 && record.EventKind != 0 &&
        static_cast<std::uint32_t>(record.CallRefID) == callId) {
      return true;
    }
  }
  return false;
}

// The simulator, its gate and the raw peers of one round; the gate closes before its
// simulator stops.
struct EventRound {
  explicit EventRound(std::size_t eventSize)
      : rawServer(1, eventSize), rawClient(rawServer.Port(), 1, eventSize) {}
  bool ok() const { return gate.ok() && rawServer.ok() && rawClient.ok(); }
  std::unique_ptr<ctisim::SimServer> server = StartServer();
  SimGate gate{*server};
  RawPingPongServer rawServer;
  RawPingPongClient rawClient;
};

void BM_EventLatency(benchmark::State& state) {
  const std::size_t eventSize = CallEvent(ctisim::kEventDelivered, 1).size();
  auto record = std::make_unique<EventData>();
  RoundSamples library(kSamples);
  RoundSamples raw(kSamples);
  std::unique_ptr<EventRound> round;
  int lost = 0;
  int sample = 0;
  std::uint32_t callId = 1000;
  for (auto _ : state) {
    if (sample++ % kRoundSamples == 0) {
      library.EndRound();
      raw.EndRound();
      round.reset();
      round = std::make_unique<EventRound>(eventSize);
      if (!round->ok()) {
        state.SkipWithError("gate or raw peers did not start");
        return;
      }
    }
    const ctisim::Bytes frame = CallEvent(ctisim::kEventDelivered, ++callId);
    const auto t0 = Clock::now();
    round->rawClient.Exchange();
    const auto t1 = Clock::now();
    round->server->Send(frame);
    const bool got = PollFor(round->gate.Gate(), *record, callId);
    const auto t2 = Clock::now();
    if (!got) ++lost;
    raw.Add(t1 - t0);
    library.Add(t2 - t1);
    state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
  }
  library.EndRound();
  raw.EndRound();
  state.counters["p50_us"] = library.MedianUs();
  state.counters["p99_us"] = library.All().PercentileUs(99);
  state.counters["raw_p50_us"] = raw.MedianUs();
  state.counters["lost"] = lost;

  const std::string note = std::to_string(eventSize) + " B event, the caller polling" +
                           (lost > 0 ? "; " + std::to_string(lost) + " not seen" : "");
  Figures::Instance().Record(
      Section::kEvents,
      {"Event latency, simulator to vomtelGetEvent, median", library.MedianUs(), "us",
       "raw 1 B trigger + event-size answer", raw.MedianUs(), Goal::kNone, 0, "", note});
  Figures::Instance().Record(Section::kEvents,
                             {"Event latency, simulator to vomtelGetEvent, 99th percentile",
                              library.All().PercentileUs(99), "us", "raw, 99th percentile",
                              raw.All().PercentileUs(99), Goal::kNone, 0, "", ""});
}

BENCHMARK(BM_EventLatency)->Iterations(kSamples)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vomtel::bench
