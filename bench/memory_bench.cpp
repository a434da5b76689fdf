// Memory: the process's resident size while 1,000,000 requests (16 threads on 16 gates) and
// then 1,000,000 events (one gate, bursts drained by vomtelGetEvent) pass through the library,
// sampled after each tenth; flat means the last sample is no larger than the one taken after
// the first tenth (the warm-up).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/event_frames.h"
#include "bench/figures.h"
#include "bench/queued_events.h"
#include "bench/resident_size.h"
#include "bench/server_set.h"
#include "bench/sim_gate.h"
#include "vomtel/vomtel.h"

namespace vomtel::bench {
namespace {

constexpr int kGates = 16;
constexpr int kRounds = 10;
constexpr long kRequests = 1000000;
constexpr long kEvents = 1000000;
constexpr int kBurst = 10000;
constexpr auto kQueueWait = std::chrono::milliseconds(10000);
constexpr double kFlat = 1.01;  // page and allocator granularity

void RecordFlat(const std::string& what, const std::vector<std::uint64_t>& samples,
                const std::string& how) {
  const double warm = Mebibytes(samples.front());
  const double last = Mebibytes(samples.back());
  const double peak = Mebibytes(*std::max_element(samples.begin(), samples.end()));
  Figures::Instance().Record(
      Section::kMemory,
      {what, last, "MiB", "after warm-up (first tenth)", warm, Goal::kRatioAtMost, kFlat,
       "flat (<= 1.01x)", how + "; peak " + std::to_string(peak).substr(0, 5) + " MiB"});
}

void BM_MemoryRequests(benchmark::State& state) {
  std::vector<std::uint64_t> samples;
  long failures = 0;
  for (auto _ : state) {
    ServerSet s = StartServers(kGates);
    if (!s.Open()) {
      state.SkipWithError("gates did not open on the simulators");
      return;
    }
    const long perThread = kRequests / kRounds / kGates;
    for (int round = 0; round < kRounds; ++round) {
      std::atomic<long> failed{0};
      {
        std::vector<std::jthread> workers;
        for (int t = 0; t < kGates; ++t) {
          const int gate = s.gates[static_cast<std::size_t>(t)]->Gate();
          workers.emplace_back([gate, perThread, &failed] {
            for (long k = 0; k < perThread; ++k) {
              if (MakeCall(gate) != 1) ++failed;
            }
          });
        }
      }
      failures += failed;
      for (auto& server : s.servers) server->ClearReceived();
      samples.push_back(ResidentBytes());
    }
  }
  state.counters["rss_warm_mib"] = Mebibytes(samples.front());
  state.counters["rss_last_mib"] = Mebibytes(samples.back());
  state.counters["failures"] = static_cast<double>(failures);
  RecordFlat(
      "Resident size after 1,000,000 requests", samples,
      "16 threads on 16 gates" +
          (failures > 0 ? "; " + std::to_string(failures) + " calls failed" : std::string()));
}

void BM_MemoryEvents(benchmark::State& state) {
  std::vector<std::uint64_t> samples;
  long missing = 0;
  for (auto _ : state) {
    ServerSet s = StartServers(1);
    if (!s.Open()) {
      state.SkipWithError("gate did not open on the simulator");
      return;
    }
    const int gate = s.gates[0]->Gate();
    const ctisim::Bytes burst = CallEventBurst(kBurst, 1);
    auto record = std::make_unique<EventData>();
    for (int round = 0; round < kRounds; ++round) {
      for (long sent = 0; sent < kEvents / kRounds; sent += kBurst) {
        s.servers[0]->Send(burst);
        WaitForQueuedEvents(gate, kBurst, kQueueWait);
        long decoded = 0;
        for (long polls = 0; decoded < kBurst && polls < 4L * kBurst; ++polls) {
          if (vomtelGetEvent(gate, record.get(), 0) == 1 && record->EventKind != 0) ++decoded;
        }
        missing += kBurst - decoded;
      }
      samples.push_back(ResidentBytes());
    }
  }
  state.counters["rss_warm_mib"] = Mebibytes(samples.front());
  state.counters["rss_last_mib"] = Mebibytes(samples.back());
  state.counters["missing"] = static_cast<double>(missing);
  RecordFlat("Resident size after 1,000,000 events", samples,
             "bursts of 10,000 drained by vomtelGetEvent" +
                 (missing > 0 ? "; " + std::to_string(missing) + " not delivered" : std::string()));
}

BENCHMARK(BM_MemoryRequests)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemoryEvents)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vomtel::bench
