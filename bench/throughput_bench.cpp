// Requests per second from 1, 4 and 16 threads on one gate and on 16 gates (each gate on a
// simulator of its own, so that the simulator's one thread is not what is measured), beside
// raw TCP ping-pongs of the same frame sizes driven by as many threads as there are
// independent links (one per gate in use, at most one per thread).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/figures.h"
#include "bench/raw_ping_pong.h"
#include "bench/sim_gate.h"
#include "tools/ctisim/wire.h"

namespace vomtel::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kRunTime = std::chrono::milliseconds(1000);
constexpr long kMaxPerThread = 2000000;  // a bound should the clock misbehave

struct Rate {
  double perSecond = 0;
  long failures = 0;
};

// `threads` threads, each calling `step(thread, k)` for its k-th request until the run time
// is up: the completed steps per second.
Rate RunThreads(int threads, const std::function<bool(int, long)>& step) {
  std::atomic<long> done{0};
  std::atomic<long> failed{0};
  const auto start = Clock::now();
  const auto deadline = start + kRunTime;
  {
    std::vector<std::jthread> workers;
    for (int t = 0; t < threads; ++t) {
      workers.emplace_back([&, t] {
        long count = 0;
        long failures = 0;
        for (long k = 0; k < kMaxPerThread && Clock::now() < deadline; ++k) {
          if (step(t, k)) {
            ++count;
          } else {
            ++failures;
          }
        }
        done += count;
        failed += failures;
      });
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return {static_cast<double>(done.load()) / seconds, failed.load()};
}

void BM_Throughput(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0));
  const int gates = static_cast<int>(state.range(1));

  std::vector<std::unique_ptr<ctisim::SimServer>> servers;
  std::vector<std::unique_ptr<SimGate>> opened;
  for (int g = 0; g < gates; ++g) {
    servers.push_back(StartServer());
    opened.push_back(std::make_unique<SimGate>(*servers.back()));
    if (!opened.back()->ok() || MakeCall(opened.back()->Gate()) != 1) {
      state.SkipWithError("gate did not open on the simulator");
      return;
    }
  }
  const std::size_t requestSize = servers[0]->Received().back().frame.size();
  std::vector<int> gateNumbers;
  for (const auto& gate : opened) gateNumbers.push_back(gate->Gate());

  // Thread t's k-th request goes to gate (t + threads * k) mod gates: every gate in use, each
  // thread on its own gate when there are as many gates as threads.
  auto libraryStep = [&](int t, long k) {
    const auto index = static_cast<std::size_t>((t + static_cast<long>(threads) * k) % gates);
    return MakeCall(gateNumbers[index]) == 1;
  };

  const int links = gates == 1 ? 1 : std::min(threads, gates);
  RawPingPongServer rawServer(requestSize, ctisim::kReplyHead);
  std::vector<std::unique_ptr<RawPingPongClient>> rawClients;
  for (int c = 0; c < links; ++c) {
    rawClients.push_back(
        std::make_unique<RawPingPongClient>(rawServer.Port(), requestSize, ctisim::kReplyHead));
  }
  auto rawStep = [&](int t, long) { return rawClients[static_cast<std::size_t>(t)]->Exchange(); };

  Rate library;
  Rate raw;
  for (auto _ : state) {
    library = RunThreads(threads, libraryStep);
    state.SetIterationTime(std::chrono::duration<double>(kRunTime).count());
    raw = RunThreads(links, rawStep);
    for (auto& server : servers) server->ClearReceived();
  }
  state.counters["req_per_s"] = library.perSecond;
  state.counters["raw_per_s"] = raw.perSecond;
  state.counters["failures"] = static_cast<double>(library.failures);

  const std::string what = "Requests/s, " + std::to_string(threads) +
                           (threads == 1 ? " thread on " : " threads on ") + std::to_string(gates) +
                           (gates == 1 ? " gate" : " gates");
  std::string note = gates == 1 && threads > 1
                         ? "one exchange at a time per session: the threads queue on its lock"
                         : "";
  if (library.failures > 0) {
    note += (note.empty() ? "" : "; ") + std::to_string(library.failures) + " calls failed";
  }
  Figures::Instance().Record(Section::kThroughput, {what, library.perSecond, "req/s",
                                                    "raw ping-pong on " + std::to_string(links) +
                                                        (links == 1 ? " link" : " links"),
                                                    raw.perSecond, Goal::kNone, 0, "", note});
}

BENCHMARK(BM_Throughput)
    ->ArgsProduct({{1, 4, 16}, {1, 16}})
    ->ArgNames({"threads", "gates"})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vomtel::bench
