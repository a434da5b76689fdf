// Requests per second from 1, 4 and 16 threads on one gate and on 16 gates (each gate on a
// simulator of its own, so that the simulator's one thread is not what is measured), beside
// raw TCP ping-pongs of the same frame sizes driven by as many threads as there are
// independent links (one per gate in use, at most one per thread). Three rounds, each with
// new threads everywhere; each figure is the best round's (where threads land on a shared
// machine decides much of a rate, for the library and the raw links alike).
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

constexpr auto kRunTime = std::chrono::milliseconds(400);  // per round, three rounds
constexpr long kMaxPerThread = 2000000;                    // a bound should the clock misbehave

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

struct RoundRates {
  bool ok = false;
  Rate library;
  Rate raw;
};

// One round: new simulators, gates and raw peers (new threads all), the library's rate, then
// the raw links' rate.
RoundRates RunRound(int threads, int gates) {
  RoundRates rates;
  std::vector<std::unique_ptr<ctisim::SimServer>> servers;
  std::vector<std::unique_ptr<SimGate>> opened;  // closed before their servers stop
  for (int g = 0; g < gates; ++g) {
    servers.push_back(StartServer());
    opened.push_back(std::make_unique<SimGate>(*servers.back()));
    if (!opened.back()->ok() || MakeCall(opened.back()->Gate()) != 1) return rates;
  }
  const std::size_t requestSize = servers[0]->Received().back().frame.size();
  std::vector<int> gateNumbers;
  for (const auto& gate : opened) gateNumbers.push_back(gate->Gate());

  // Thread t's k-th request goes to gate (t + threads * k) mod gates: every gate in use, each
  // thread on its own gate when there are as many gates as threads.
  rates.library = RunThreads(threads, [&](int t, long k) {
    const auto index = static_cast<std::size_t>((t + static_cast<long>(threads) * k) % gates);
    return MakeCall(gateNumbers[index]) == 1;
  });
  opened.clear();

  const int links = gates == 1 ? 1 : std::min(threads, gates);
  RawPingPongServer rawServer(requestSize, ctisim::kReplyHead);
  std::vector<std::unique_ptr<RawPingPongClient>> rawClients;
  for (int c = 0; c < links; ++c) {
    rawClients.push_back(
        std::make_unique<RawPingPongClient>(rawServer.Port(), requestSize, ctisim::kReplyHead));
  }
  rates.raw = RunThreads(
      links, [&](int t, long) { return rawClients[static_cast<std::size_t>(t)]->Exchange(); });
  rates.ok = true;
  return rates;
}

double BestOf(const std::vector<double>& rates) {
  return rates.empty() ? 0 : *std::max_element(rates.begin(), rates.end());
}

void BM_Throughput(benchmark::State& state) {
  const int threads = static_cast<int>(state.range(0));
  const int gates = static_cast<int>(state.range(1));
  const int links = gates == 1 ? 1 : std::min(threads, gates);

  std::vector<double> library;
  std::vector<double> raw;
  long failures = 0;
  for (auto _ : state) {
    const RoundRates rates = RunRound(threads, gates);
    if (!rates.ok) {
      state.SkipWithError("gate did not open on the simulator");
      return;
    }
    library.push_back(rates.library.perSecond);
    raw.push_back(rates.raw.perSecond);
    failures += rates.library.failures;
    state.SetIterationTime(std::chrono::duration<double>(kRunTime).count());
  }
  state.counters["req_per_s"] = BestOf(library);
  state.counters["raw_per_s"] = BestOf(raw);
  state.counters["failures"] = static_cast<double>(failures);

  const std::string what = "Requests/s, " + std::to_string(threads) +
                           (threads == 1 ? " thread on " : " threads on ") + std::to_string(gates) +
                           (gates == 1 ? " gate" : " gates");
  std::string note = "best of 3 rounds";
  if (gates == 1 && threads > 1) {
    note += "; one exchange at a time per session: the threads queue on its lock";
  }
  if (failures > 0) {
    note += "; " + std::to_string(failures) + " calls failed";
  }
  Figures::Instance().Record(Section::kThroughput, {what, BestOf(library), "req/s",
                                                    "raw ping-pong on " + std::to_string(links) +
                                                        (links == 1 ? " link" : " links"),
                                                    BestOf(raw), Goal::kNone, 0, "", note});
}

BENCHMARK(BM_Throughput)
    ->ArgsProduct({{1, 4, 16}, {1, 16}})
    ->ArgNames({"threads", "gates"})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vomtel::bench
