// Fail-over: an HA gate on two simulators (active on 127.0.0.1, standby on 127.0.0.2) loses
// its active server, either by the connection closing or by the server falling silent past
// the silence limit. Measured from the loss: the first successful vomtelMakeCall on the
// standby (issued as soon as the gate's active session is the standby's), and the first event
// from the standby to come out of vomtelGetEvent, which an event thread polls throughout as an
// application does (20 us apart when nothing waits). The standby sends a call event every
// 250 us, so that one is always on its way when the gate turns to it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "bench/event_frames.h"
#include "bench/figures.h"
#include "bench/latency_samples.h"
#include "bench/sim_gate.h"
#include "bench/work_dir.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/session.h"
#include "vomtel/core/timings.h"
#include "vomtel/vomtel.h"

namespace vomtel::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kStandbyCall = 777;
constexpr auto kPushPeriod = std::chrono::microseconds(250);
// The pause after an empty look: the threads that watch must not take the cores that the
// library's own threads need to carry out the fail-over.
constexpr auto kLookPause = std::chrono::microseconds(20);
constexpr int kMaxPushes = 60000;
constexpr auto kTrialWait = std::chrono::milliseconds(15000);
constexpr const char* kStandbyAddress = "127.0.0.2";

enum class Loss { kClosed, kSilent };

struct Trial {
  bool ok = false;
  double promotedMs = 0;  // the gate's active session is the standby's
  double requestMs = 0;
  double eventMs = 0;
};

double Millis(Clock::duration elapsed) {
  return std::chrono::duration<double, std::milli>(elapsed).count();
}

bool ActiveIsStandby(int gate) {
  const std::shared_ptr<CSession> session = OrbaAdapter::Instance().Proxy().FindActive(gate);
  return session && session->Ip() == kStandbyAddress;
}

bool StandbyOpened(int gate) {
  for (const auto& session : OrbaAdapter::Instance().Proxy().Table().Sessions(gate)) {
    if (session->Ip() == kStandbyAddress) return session->State() == kStateStandby;
  }
  return false;
}

// Sends the standby's call event every push period until stopped.
void PushStandbyEvents(std::stop_token stop, ctisim::SimServer& standby) {
  const ctisim::Bytes frame = CallEvent(ctisim::kEventDelivered, kStandbyCall);
  std::mutex mutex;
  std::condition_variable_any never;
  std::unique_lock<std::mutex> lock(mutex);
  for (int i = 0; i < kMaxPushes && !stop.stop_requested(); ++i) {
    standby.Send(frame);
    never.wait_for(lock, stop, kPushPeriod, [] { return false; });
  }
}

Trial RunTrial(Loss loss) {
  Trial trial;
  ServerPair pair = StartServerPair();
  SimGate gate(*pair.active, *pair.standby);
  if (!gate.ok() || !StandbyOpened(gate.Gate()) || MakeCall(gate.Gate()) != 1) return trial;

  // The application's event loop: it is what notices the loss and turns the gate.
  std::atomic<bool> eventSeen{false};
  std::atomic<Clock::rep> eventAt{0};
  std::jthread events([&](std::stop_token stop) {
    auto record = std::make_unique<EventData>();
    const auto deadline = Clock::now() + kTrialWait;
    while (!stop.stop_requested() && Clock::now() < deadline) {
      const int result = vomtelGetEvent(gate.Gate(), record.get(), 0);
      if (result == 1 && record->EventKind != 0 &&
          static_cast<std::uint32_t>(record->CallRefID) == kStandbyCall) {
        eventAt = Clock::now().time_since_epoch().count();
        eventSeen = true;
        return;
      }
      if (result != 1) std::this_thread::sleep_for(kLookPause);
    }
  });
  std::jthread pusher(PushStandbyEvents, std::ref(*pair.standby));

  Clock::time_point lostAt;
  pair.active->StopListening();  // the lost server does not come back during the trial
  if (loss == Loss::kClosed) {
    lostAt = Clock::now();
    pair.active->DropConnections();
  } else {
    pair.active->SetKeepAlive(std::chrono::milliseconds(0));
    if (MakeCall(gate.Gate()) != 1) return trial;
    lostAt = Clock::now();  // the reply just read is the last byte the active server sends
    pair.active->SetSilent(true);
  }

  const auto deadline = lostAt + kTrialWait;
  while (!ActiveIsStandby(gate.Gate()) && Clock::now() < deadline) {
    std::this_thread::sleep_for(kLookPause);
  }
  const auto promotedAt = Clock::now();
  const bool called = MakeCall(gate.Gate()) == 1 &&
                      pair.standby->CountRequests(ctisim::kClassCall, ctisim::kCodeMakeCall) >= 1;
  const auto requestAt = Clock::now();
  while (!eventSeen && Clock::now() < deadline) std::this_thread::sleep_for(kLookPause);

  trial.ok = called && eventSeen;
  trial.promotedMs = Millis(promotedAt - lostAt);
  trial.requestMs = Millis(requestAt - lostAt);
  trial.eventMs = Millis(Clock::time_point(Clock::duration(eventAt.load())) - lostAt);
  return trial;
}

void Failover(benchmark::State& state, Loss loss) {
  std::vector<double> promoted;
  std::vector<double> request;
  std::vector<double> event;
  int failed = 0;
  for (auto _ : state) {
    const Trial trial = RunTrial(loss);
    if (!trial.ok) {
      ++failed;
      state.SetIterationTime(0);
      continue;
    }
    promoted.push_back(trial.promotedMs);
    request.push_back(trial.requestMs);
    event.push_back(trial.eventMs);
    state.SetIterationTime(trial.requestMs / 1000.0);
  }
  if (request.empty()) {
    state.SkipWithError("no fail-over trial succeeded");
    return;
  }
  state.counters["promoted_ms"] = MedianOf(promoted);
  state.counters["request_ms"] = MedianOf(request);
  state.counters["event_ms"] = MedianOf(event);
  state.counters["failed"] = failed;

  const Timings timings;  // the library's own timings: the C interface runs with them
  const double failoverWaitMs =
      static_cast<double>((timings.activeCheckPeriod * timings.activeChecks).count());
  const double heartbeatMs = RunIni().heartbeatMs;
  const std::string trials = "median of " + std::to_string(request.size()) + " trials" +
                             (failed > 0 ? ", " + std::to_string(failed) + " failed" : "");
  if (loss == Loss::kClosed) {
    Figures::Instance().Record(
        Section::kFailover,
        {"Fail-over, connection closed: first request on the standby", MedianOf(request), "ms",
         "fail-over wait", failoverWaitMs, Goal::kValueAtMost, failoverWaitMs,
         "within the fail-over wait", trials});
    Figures::Instance().Record(
        Section::kFailover,
        {"Fail-over, connection closed: first event from the standby", MedianOf(event), "ms",
         "fail-over wait", failoverWaitMs, Goal::kValueAtMost, failoverWaitMs,
         "within the fail-over wait", trials + "; the standby sends an event every 250 us"});
    return;
  }
  Figures::Instance().Record(
      Section::kFailover,
      {"Fail-over, silence: first request on the standby", MedianOf(request), "ms",
       "silence limit (HEARTBEAT_PERIOD)", heartbeatMs, Goal::kValueAtMost,
       heartbeatMs + failoverWaitMs, "limit + fail-over wait", trials});
  Figures::Instance().Record(
      Section::kFailover,
      {"Fail-over, silence: first event from the standby", MedianOf(event), "ms",
       "silence limit (HEARTBEAT_PERIOD)", heartbeatMs, Goal::kValueAtMost,
       heartbeatMs + failoverWaitMs, "limit + fail-over wait", trials});
}

void BM_FailoverClosed(benchmark::State& state) { Failover(state, Loss::kClosed); }
void BM_FailoverSilent(benchmark::State& state) { Failover(state, Loss::kSilent); }

BENCHMARK(BM_FailoverClosed)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FailoverSilent)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vomtel::bench

namespace vomtel::bench {
namespace {

// A request caught by the loss: the active server has it and never answers, then its
// connection closes. How long the caller waits, and what it is told.
void BM_FailoverInFlight(benchmark::State& state) {
  double waitedMs = 0;
  int result = 0;
  for (auto _ : state) {
    ServerPair pair = StartServerPair();
    SimGate gate(*pair.active, *pair.standby);
    if (!gate.ok() || MakeCall(gate.Gate()) != 1) {
      state.SkipWithError("HA gate did not open on the simulators");
      return;
    }
    ctisim::ReplyRule withhold;
    withhold.withhold = true;
    pair.active->AddOnceRule(ctisim::kClassCall, ctisim::kCodeMakeCall, withhold);
    std::atomic<Clock::rep> returnedAt{0};
    std::jthread caller([&] {
      result = MakeCall(gate.Gate());
      returnedAt = Clock::now().time_since_epoch().count();
    });
    if (!pair.active->WaitForRequest(ctisim::kClassCall, ctisim::kCodeMakeCall,
                                     std::chrono::milliseconds(3000), 2)) {
      state.SkipWithError("the request did not reach the active server");
      return;
    }
    const auto lostAt = Clock::now();
    pair.active->StopListening();
    pair.active->DropConnections();
    caller.join();
    waitedMs = Millis(Clock::time_point(Clock::duration(returnedAt.load())) - lostAt);
    state.SetIterationTime(waitedMs / 1000.0);
  }
  state.counters["waited_ms"] = waitedMs;
  state.counters["result"] = result;
  const Timings timings;
  Figures::Instance().Record(
      Section::kFailover,
      {"Fail-over, a request waiting for its reply when the connection closes: returns after",
       waitedMs, "ms", "its reply wait", static_cast<double>(timings.ReplyWait(3).count()),
       Goal::kNone, 0, "",
       "result " + std::to_string(result) +
           (result == 3014 ? "; the end of the link ends the reply wait at once"
                           : "; the caller waited out its reply wait")});
}

BENCHMARK(BM_FailoverInFlight)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vomtel::bench
