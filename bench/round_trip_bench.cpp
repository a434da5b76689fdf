// One request's round trip: through the session (its send and reply wait, as the request
// operations use them) and through the C interface (vomtelMakeCall), each interleaved sample
// by sample with a raw TCP ping-pong of the same frame sizes on the same loopback, and with the
// same ping-pong through an I/O thread (two hand-offs; the session makes the reply's only), and
// with a bare client of the same simulator, which shows the simulator's own share.
//
// The servers run on one CPU and the clients on another (cpu_placement.h), so that every
// round trip crosses between the same two CPUs. Where that is switched off, or on a machine
// shared with other work, where a thread lands decides much of a round trip, and a thread
// stays where it landed. So the samples are taken in rounds, each with new peers, a new
// simulator and a new gate (new threads all), and every figure is the median of the rounds'
// medians; the 99th percentile is taken over all samples.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/bare_sim_client.h"
#include "bench/cpu_placement.h"
#include "bench/figures.h"
#include "bench/latency_samples.h"
#include "bench/raw_ping_pong.h"
#include "bench/raw_relay.h"
#include "bench/sim_gate.h"
#include "tools/ctisim/wire.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/session.h"
#include "vomtel/vomtel.h"

namespace vomtel::bench {
namespace {

using Clock = LatencySamples::Clock;

constexpr int kWarmUp = kRoundTripWarmUp;
constexpr int kRounds = kRoundTripRounds;
constexpr int kRoundSamples = kRoundTripRoundSamples;
constexpr int kSamples = kRounds * kRoundSamples;
constexpr auto kReplyWait = std::chrono::milliseconds(3000);

// A simulator started on the servers' CPU.
std::unique_ptr<ctisim::SimServer> StartPlacedServer() {
  const CpuScope scope(RoundTripCpus().server);
  return StartServer();
}

// A simulator with one gate on it; the gate closes before the simulator stops.
struct GateOnServer {
  std::unique_ptr<ctisim::SimServer> server = StartPlacedServer();
  SimGate gate{*server};
};

// What one round measures: the operation, and the size of the request frame it sends.
struct Round {
  std::function<bool()> operation;  // empty when the gate did not open
  std::size_t requestSize = 0;
  // A bare client of the round's simulator sending the same request (none when empty).
  std::shared_ptr<BareSimClient> bare;
};

// The raw peers of one round, the server on the servers' CPU.
struct RawPeers {
  RawPeers(std::size_t requestSize, std::size_t replySize) {
    {
      const CpuScope scope(RoundTripCpus().server);
      server = std::make_unique<RawPingPongServer>(requestSize, replySize);
    }
    client = std::make_unique<RawPingPongClient>(server->Port(), requestSize, replySize);
    relay = std::make_unique<RawRelayClient>(server->Port(), requestSize, replySize);
  }
  bool ok() const { return server->ok() && client->ok() && relay->ok(); }
  std::unique_ptr<RawPingPongServer> server;
  std::unique_ptr<RawPingPongClient> client;
  std::unique_ptr<RawRelayClient> relay;
};

struct PairResult {
  RoundSamples library{kSamples};
  RoundSamples raw{kSamples};
  RoundSamples relay{kSamples};
  RoundSamples bare{kSamples};
  std::size_t requestSize = 0;
  int failures = 0;
};

// Each iteration runs a raw exchange, the same through an I/O thread, and the round's
// operation in turn; the benchmark's own time is the library's. `makeRound` opens what a new
// round measures.
PairResult RunPairs(benchmark::State& state, const std::function<Round()>& makeRound) {
  // The caller, and the threads it starts (the gate's, the relay's), on the clients' CPU.
  const CpuScope clients(RoundTripCpus().client);
  PairResult result;
  std::unique_ptr<RawPeers> peers;
  Round round;
  int sample = 0;
  for (auto _ : state) {
    if (sample++ % kRoundSamples == 0) {
      result.library.EndRound();
      result.raw.EndRound();
      result.relay.EndRound();
      result.bare.EndRound();
      peers.reset();
      round = Round{};
      round = makeRound();
      if (!round.operation) {
        state.SkipWithError("gate did not open on the simulator");
        break;
      }
      result.requestSize = round.requestSize;
      peers = std::make_unique<RawPeers>(round.requestSize, ctisim::kReplyHead);
      if (!peers->ok()) {
        state.SkipWithError("raw ping-pong peers could not start");
        break;
      }
      if (round.bare && !round.bare->ok()) {
        state.SkipWithError("bare client of the simulator could not connect");
        break;
      }
      for (int i = 0; i < kWarmUp; ++i) {
        peers->client->Exchange();
        peers->relay->Exchange();
        if (round.bare) round.bare->Exchange();
        round.operation();
      }
    }
    const auto t0 = Clock::now();
    const bool raw_ok = peers->client->Exchange();
    const auto t1 = Clock::now();
    const bool relay_ok = peers->relay->Exchange();
    const auto t2 = Clock::now();
    const bool bare_ok = !round.bare || round.bare->Exchange();
    const auto t3 = Clock::now();
    const bool ok = round.operation();
    const auto t4 = Clock::now();
    if (!raw_ok || !relay_ok || !bare_ok || !ok) ++result.failures;
    result.raw.Add(t1 - t0);
    result.relay.Add(t2 - t1);
    if (round.bare) result.bare.Add(t3 - t2);
    result.library.Add(t4 - t3);
    state.SetIterationTime(std::chrono::duration<double>(t4 - t3).count());
  }
  result.library.EndRound();
  result.raw.EndRound();
  result.relay.EndRound();
  result.bare.EndRound();
  state.counters["p50_us"] = result.library.MedianUs();
  state.counters["p99_us"] = result.library.All().PercentileUs(99);
  state.counters["raw_p50_us"] = result.raw.MedianUs();
  state.counters["raw_p99_us"] = result.raw.All().PercentileUs(99);
  state.counters["relay_p50_us"] = result.relay.MedianUs();
  if (result.bare.All().Count() > 0) state.counters["bare_sim_p50_us"] = result.bare.MedianUs();
  state.counters["ratio_p50"] = result.library.MedianUs() / result.raw.MedianUs();
  state.counters["failures"] = result.failures;
  return result;
}

std::string Sizes(std::size_t request, std::size_t reply) {
  return std::to_string(request) + " B out, " + std::to_string(reply) + " B back, " +
         RoundTripCpus().Text();
}

// The size of the frame vomtelMakeCall sends on the gate, as the simulator received it.
std::size_t MakeCallSize(const GateOnServer& target) {
  if (!target.gate.ok() || MakeCall(target.gate.Gate()) != 1) return 0;
  const auto requests = target.server->Received();
  return requests.empty() ? 0 : requests.back().frame.size();
}

void BM_RoundTripSession(benchmark::State& state) {
  const PairResult result = RunPairs(state, [] {
    auto target = std::make_shared<GateOnServer>();
    const std::size_t size = MakeCallSize(*target);
    auto session = OrbaAdapter::Instance().Proxy().FindActive(target->gate.Gate());
    if (size == 0 || !session) return Round{};
    // The bytes of a make-call request, sent again and again as they are.
    auto request = std::make_shared<Stream>(target->server->Received().back().frame.data(), size);
    target->server->ClearReceived();
    return Round{[target, session, request] {
                   auto lock = session->LockExchange();
                   Stream copy(*request);
                   if (session->Send(copy) != 1) return false;
                   Stream reply;
                   return session->ReadReply(reply, kReplyWait) == 1;
                 },
                 size, nullptr};
  });
  Figures::Instance().Record(
      Section::kRoundTrip,
      {"Request round trip through the session (send + reply wait), median",
       result.library.MedianUs(), "us", "raw TCP ping-pong median", result.raw.MedianUs(),
       Goal::kNone, 0, "", Sizes(result.requestSize, ctisim::kReplyHead)});
}

void CApiRoundTrip(benchmark::State& state, int logLevel) {
  const PairResult result = RunPairs(state, [logLevel] {
    auto target = std::make_shared<GateOnServer>();
    const std::size_t size = MakeCallSize(*target);
    if (size == 0) return Round{};
    if (logLevel > 0) SetGateLogLevel(target->gate.Gate(), logLevel);
    auto bare = std::make_shared<BareSimClient>(target->server->Port(),
                                                target->server->Received().back().frame);
    target->server->ClearReceived();
    return Round{[target] { return MakeCall(target->gate.Gate()) == 1; }, size, bare};
  });
  const std::string sizes = Sizes(result.requestSize, ctisim::kReplyHead);
  if (logLevel > 0) {
    Figures::Instance().Record(
        Section::kRoundTrip,
        {"vomtelMakeCall round trip with log LEVEL=" + std::to_string(logLevel) + ", median",
         result.library.MedianUs(), "us", "raw TCP ping-pong median", result.raw.MedianUs(),
         Goal::kNone, 0, "",
         "the default LEVEL; each log line opens, writes and closes the session's log file"});
    return;
  }
  Figures::Instance().Record(Section::kRoundTrip,
                             {"vomtelMakeCall round trip, median", result.library.MedianUs(), "us",
                              "raw TCP ping-pong median", result.raw.MedianUs(), Goal::kRatioAtMost,
                              2, "<= 2x raw", sizes + ", log LEVEL=0"});
  Figures::Instance().Record(
      Section::kRoundTrip,
      {"vomtelMakeCall round trip beside a bare client of the same simulator, median",
       result.library.MedianUs(), "us", "bare client, same request, same simulator",
       result.bare.MedianUs(), Goal::kNone, 0, "",
       "the bare client's blocking send and read until the reply: the loopback's and the "
       "simulator's share; the rest is the library's"});
  char relayRatio[32];
  std::snprintf(relayRatio, sizeof relayRatio, "%.2fx",
                result.library.MedianUs() / result.relay.MedianUs());
  Figures::Instance().Record(
      Section::kRoundTrip,
      {"Raw ping-pong through an I/O thread (two hand-offs), median",
       result.relay.MedianUs(), "us", "raw TCP ping-pong median", result.raw.MedianUs(),
       Goal::kNone, 0, "",
       "eventfd to the I/O thread, condition variable back; the library hands over the reply "
       "only, its caller sends the request itself; vomtelMakeCall's median is " +
           std::string(relayRatio) + " of it"});
  Figures::Instance().Record(
      Section::kRoundTrip,
      {"vomtelMakeCall round trip, 99th percentile", result.library.All().PercentileUs(99), "us",
       "raw TCP ping-pong p99", result.raw.All().PercentileUs(99), Goal::kNone, 0, "", sizes});
}

void BM_RoundTripMakeCall(benchmark::State& state) { CApiRoundTrip(state, 0); }
void BM_RoundTripMakeCallLogged(benchmark::State& state) { CApiRoundTrip(state, 2); }

BENCHMARK(BM_RoundTripSession)
    ->Iterations(kSamples)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoundTripMakeCall)
    ->Iterations(kSamples)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoundTripMakeCallLogged)
    ->Iterations(kRoundSamples)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vomtel::bench
