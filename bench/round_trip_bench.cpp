// One request's round trip: through the session (its send and reply wait, as the request
// operations use them) and through the C interface (vomtelMakeCall), each interleaved sample
// by sample with a raw TCP ping-pong of the same frame sizes on the same loopback, and with the
// same ping-pong through an I/O thread (the hand-off the session's design makes).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

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

constexpr int kWarmUp = 500;
constexpr int kSamples = 20000;
constexpr auto kReplyWait = std::chrono::milliseconds(3000);

struct PairResult {
  LatencySamples library{kSamples};
  LatencySamples raw{kSamples};
  LatencySamples relay{kSamples};
  int failures = 0;
};

// Runs a raw exchange of the given sizes, the same through an I/O thread, and `operation` in
// turn, once per iteration; the benchmark's own time is the library's.
PairResult RunPairs(benchmark::State& state, const std::function<bool()>& operation,
                    std::size_t requestSize, std::size_t replySize) {
  PairResult result;
  RawPingPongServer server(requestSize, replySize);
  RawPingPongClient client(server.Port(), requestSize, replySize);
  RawRelayClient relay(server.Port(), requestSize, replySize);
  if (!server.ok() || !client.ok() || !relay.ok()) {
    state.SkipWithError("raw ping-pong peer could not start");
    return result;
  }
  for (int i = 0; i < kWarmUp; ++i) {
    client.Exchange();
    relay.Exchange();
  }
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const bool raw_ok = client.Exchange();
    const auto t1 = Clock::now();
    const bool relay_ok = relay.Exchange();
    const auto t2 = Clock::now();
    const bool ok = operation();
    const auto t3 = Clock::now();
    if (!raw_ok || !relay_ok || !ok) ++result.failures;
    result.raw.Add(t1 - t0);
    result.relay.Add(t2 - t1);
    result.library.Add(t3 - t2);
    state.SetIterationTime(std::chrono::duration<double>(t3 - t2).count());
  }
  state.counters["p50_us"] = result.library.MedianUs();
  state.counters["p99_us"] = result.library.PercentileUs(99);
  state.counters["raw_p50_us"] = result.raw.MedianUs();
  state.counters["raw_p99_us"] = result.raw.PercentileUs(99);
  state.counters["relay_p50_us"] = result.relay.MedianUs();
  state.counters["ratio_p50"] = result.library.MedianUs() / result.raw.MedianUs();
  state.counters["failures"] = result.failures;
  return result;
}

std::string Sizes(std::size_t request, std::size_t reply) {
  return std::to_string(request) + " B out, " + std::to_string(reply) + " B back";
}

// The bytes vomtelMakeCall sends on the gate, as the simulator received them.
ctisim::Bytes MakeCallFrame(int gate, const ctisim::SimServer& server) {
  if (MakeCall(gate) != 1) return {};
  const auto requests = server.Received();
  return requests.empty() ? ctisim::Bytes{} : requests.back().frame;
}

void BM_RoundTripSession(benchmark::State& state) {
  auto server = StartServer();
  SimGate gate(*server);
  const ctisim::Bytes frame = gate.ok() ? MakeCallFrame(gate.Gate(), *server) : ctisim::Bytes{};
  std::shared_ptr<CSession> session = OrbaAdapter::Instance().Proxy().FindActive(gate.Gate());
  if (frame.empty() || !session) {
    state.SkipWithError("gate did not open on the simulator");
    return;
  }
  const Stream request(frame.data(), frame.size());
  auto exchange = [&] {
    std::unique_lock<std::mutex> lock = session->LockExchange();
    Stream copy(request);
    if (session->Send(copy) != 1) return false;
    Stream reply;
    return session->ReadReply(reply, kReplyWait) == 1;
  };
  for (int i = 0; i < kWarmUp; ++i) exchange();
  server->ClearReceived();
  const PairResult result = RunPairs(state, exchange, frame.size(), ctisim::kReplyHead);
  Figures::Instance().Record(
      Section::kRoundTrip,
      {"Request round trip through the session (send + reply wait), median",
       result.library.MedianUs(), "us", "raw TCP ping-pong median", result.raw.MedianUs(),
       Goal::kNone, 0, "", Sizes(frame.size(), ctisim::kReplyHead)});
}

void CApiRoundTrip(benchmark::State& state, int logLevel) {
  auto server = StartServer();
  SimGate gate(*server);
  const ctisim::Bytes frame = gate.ok() ? MakeCallFrame(gate.Gate(), *server) : ctisim::Bytes{};
  if (frame.empty()) {
    state.SkipWithError("gate did not open on the simulator");
    return;
  }
  if (logLevel > 0) SetGateLogLevel(gate.Gate(), logLevel);
  const int g = gate.Gate();
  auto call = [g] { return MakeCall(g) == 1; };
  for (int i = 0; i < kWarmUp; ++i) call();
  server->ClearReceived();
  const PairResult result = RunPairs(state, call, frame.size(), ctisim::kReplyHead);
  const std::string sizes = Sizes(frame.size(), ctisim::kReplyHead);
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
  char relayRatio[32];
  std::snprintf(relayRatio, sizeof relayRatio, "%.2fx",
                result.library.MedianUs() / result.relay.MedianUs());
  Figures::Instance().Record(
      Section::kRoundTrip,
      {"Raw ping-pong through an I/O thread (the session's hand-off), median",
       result.relay.MedianUs(), "us", "raw TCP ping-pong median", result.raw.MedianUs(),
       Goal::kNone, 0, "",
       "eventfd to the I/O thread, condition variable back: the floor of a design with a "
       "service thread per session; vomtelMakeCall's median is " +
           std::string(relayRatio) + " of it"});
  Figures::Instance().Record(
      Section::kRoundTrip,
      {"vomtelMakeCall round trip, 99th percentile", result.library.PercentileUs(99), "us",
       "raw TCP ping-pong p99", result.raw.PercentileUs(99), Goal::kNone, 0, "", sizes});
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
    ->Iterations(kSamples / 4)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vomtel::bench
