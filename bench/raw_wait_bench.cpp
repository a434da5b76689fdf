// What the way a client waits for its reply costs, measured on the raw ping-pong alone: a
// blocking read; poll and then a read; and that with the socket taken out of an epoll set and
// put back, which are the system calls a library caller makes for one request (its socket's
// service thread waits on that set, and must not be woken by the reply). Placed and sampled as
// the other round trips (cpu_placement.h, rounds of new threads, medians of the rounds).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "bench/cpu_placement.h"
#include "bench/figures.h"
#include "bench/latency_samples.h"
#include "bench/raw_ping_pong.h"
#include "tools/ctisim/wire.h"

namespace vomtel::bench {
namespace {

using Clock = LatencySamples::Clock;

constexpr std::size_t kRequestSize = 39;  // a make-call request, as the round trips send it

struct WaitPeers {
  WaitPeers() {
    {
      const CpuScope scope(RoundTripCpus().server);
      server = std::make_unique<RawPingPongServer>(kRequestSize, ctisim::kReplyHead);
    }
    for (int i = 0; i < 3; ++i) {
      clients[i] = std::make_unique<RawPingPongClient>(
          server->Port(), kRequestSize, ctisim::kReplyHead, static_cast<ReplyWait>(i));
    }
  }
  bool ok() const {
    return server->ok() && clients[0]->ok() && clients[1]->ok() && clients[2]->ok();
  }
  std::unique_ptr<RawPingPongServer> server;
  std::unique_ptr<RawPingPongClient> clients[3];  // in the order of ReplyWait
};

void BM_RoundTripWaitShapes(benchmark::State& state) {
  const CpuScope clients(RoundTripCpus().client);
  RoundSamples samples[3] = {RoundSamples(kRoundTripRounds * kRoundTripRoundSamples),
                             RoundSamples(kRoundTripRounds * kRoundTripRoundSamples),
                             RoundSamples(kRoundTripRounds * kRoundTripRoundSamples)};
  std::unique_ptr<WaitPeers> peers;
  int sample = 0;
  int failures = 0;
  for (auto _ : state) {
    if (sample++ % kRoundTripRoundSamples == 0) {
      for (RoundSamples& s : samples) s.EndRound();
      peers.reset();
      peers = std::make_unique<WaitPeers>();
      if (!peers->ok()) {
        state.SkipWithError("raw ping-pong peers could not start");
        break;
      }
      for (int i = 0; i < kRoundTripWarmUp; ++i) {
        for (auto& client : peers->clients) client->Exchange();
      }
    }
    Clock::time_point at = Clock::now();
    Clock::duration last{};
    for (int i = 0; i < 3; ++i) {
      if (!peers->clients[i]->Exchange()) ++failures;
      const Clock::time_point now = Clock::now();
      last = now - at;
      samples[i].Add(last);
      at = now;
    }
    // The benchmark's own time is the library caller's shape, the last of the three.
    state.SetIterationTime(std::chrono::duration<double>(last).count());
  }
  for (RoundSamples& s : samples) s.EndRound();
  state.counters["blocking_p50_us"] = samples[0].MedianUs();
  state.counters["poll_read_p50_us"] = samples[1].MedianUs();
  state.counters["out_of_epoll_p50_us"] = samples[2].MedianUs();
  state.counters["failures"] = failures;
  const double blocking = samples[0].MedianUs();
  Figures::Instance().Record(
      Section::kRoundTrip,
      {"Raw ping-pong, the client waiting in poll and then reading, median",
       samples[1].MedianUs(), "us", "raw TCP ping-pong (blocking read) median", blocking,
       Goal::kNone, 0, "",
       "one system call more than the blocking read, " + RoundTripCpus().Text()});
  Figures::Instance().Record(
      Section::kRoundTrip,
      {"Raw ping-pong, the client's socket also out of an epoll set and back, median",
       samples[2].MedianUs(), "us", "raw TCP ping-pong (blocking read) median", blocking,
       Goal::kNone, 0, "",
       "send, epoll_ctl, poll, recv, epoll_ctl: the system calls of a library caller's request; "
       "the rest of vomtelMakeCall's ratio is the library's own work and the simulator's"});
}

BENCHMARK(BM_RoundTripWaitShapes)
    ->Iterations(kRoundTripRounds * kRoundTripRoundSamples)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vomtel::bench
