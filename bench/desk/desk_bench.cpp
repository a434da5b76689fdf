// The desk's figures, each beside its reference in the same run:
//   start to logged in (against the start of a plain child process),
//   a server event to the display's change (against the event control's timer period),
//   a dial request's reply on the port (against the moment its call request reached the server),
//   a dial request to the call request at the server (the MAKECALL the request presses),
//   the processor time while idle and logged in,
//   the resident size after 1,000 calls against after the first 100.
// Options: --starts N, --events N, --dials N, --idle-seconds S, --calls N.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

#include "bench/desk/desk_figures.h"
#include "tests/e2e/harness/agent_desk.h"
#include "tests/e2e/harness/desk_server.h"
#include "tests/e2e/harness/dial_client.h"
#include "tests/e2e/harness/http_recorder.h"
#include "tests/e2e/harness/process_stats.h"

namespace desk::bench {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kWait{30000};
constexpr int kReadyMode = 3;
constexpr int kTimerPeriodMs = 800;  // the event control's period until setdelaytime
constexpr int kBatch = 25;
// The log line of a notification the web server answered.
const std::string kDelivered = "고객Data  전송 :";
const std::string kHttpTimedOut = "The operation timed out";

struct Options {
  int starts = 5;
  int events = 20;
  int dials = 20;
  int idleSeconds = 10;
  int calls = 1000;
};

Options Parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i + 1 < argc; i += 2) {
    const int v = std::atoi(argv[i + 1]);
    if (v <= 0) continue;
    if (!std::strcmp(argv[i], "--starts")) o.starts = v;
    if (!std::strcmp(argv[i], "--events")) o.events = v;
    if (!std::strcmp(argv[i], "--dials")) o.dials = v;
    if (!std::strcmp(argv[i], "--idle-seconds")) o.idleSeconds = v;
    if (!std::strcmp(argv[i], "--calls")) o.calls = v;
  }
  return o;
}

DeskPrograms Programs() { return {DESK_AGENTPHONE, DESK_MODULE, DESK_REGISTER_TOOL}; }

// One desk logged in to ready against its own switch and web server.
struct Desk {
  std::unique_ptr<DeskServer> server = std::make_unique<DeskServer>("4001");
  HttpRecorder web;
  std::unique_ptr<AgentDesk> desk;

  // The time from the program's start to its READY reaching the server; nothing on failure.
  std::optional<Millis> Start(bool autoReady) {
    DeskConfig c;
    c.serverPort = server->Port();
    c.customerWeb = c.recordingWeb = web.BaseUrl();
    c.rec = web.BaseUrl() + "/rec/";
    c.autoReady = autoReady;
    desk = std::make_unique<AgentDesk>(Programs(), c);
    std::string why;
    const Clock::time_point t0 = Clock::now();
    if (!desk->Start(&why)) {
      std::cerr << "start: " << why << "\n";
      return std::nullopt;
    }
    const std::optional<ctisim::Request> ready = server->Sim().WaitForRequestMatching(
        [](const ctisim::Request& r) {
          const std::optional<AgentStateRequest> a = DecodeAgentState(r);
          return a && a->mode == kReadyMode;
        },
        kWait);
    if (!ready) return std::nullopt;
    return Millis(ready->received_at - t0);
  }
};

// Start of a plain program to its end: what a process start costs on this machine.
std::optional<Millis> PlainStart() {
  ChildOptions o;
  o.program = "/bin/true";
  const Clock::time_point t0 = Clock::now();
  ChildProcess p(o);
  if (!p.Started() || !p.WaitExit(kWait)) return std::nullopt;
  return Millis(Clock::now() - t0);
}

// The log lines that end a notification: answered, or given up.
std::size_t NotificationsEnded(const Desk& d) {
  return d.desk->Log().Count(kDelivered) + d.desk->Log().Count(kHttpTimedOut);
}

// Whole calls until `count` more READYs reached the server, a batch at a time. Each batch
// waits for the program to catch up: back to back, the calls' events would keep the event
// control's tick draining, every call's customer-field notification waiting behind it (and
// running out of its time-out there), and a size taken then would count the waiting requests
// instead of what a call keeps.
bool RunCalls(Desk& d, int count, std::uint32_t& cnid) {
  while (count > 0) {
    const int batch = std::min(count, kBatch);
    const std::size_t target = d.server->CountAgentStates(kReadyMode) + batch;
    const std::size_t ended = NotificationsEnded(d) + batch;
    for (int i = 0; i < batch; ++i) d.server->PushWholeCall("0212345678", ++cnid);
    if (!PollUntil([&] { return d.server->CountAgentStates(kReadyMode) >= target; }, kWait) ||
        !PollUntil([&] { return NotificationsEnded(d) >= ended; }, kWait)) {
      return false;
    }
    count -= batch;
  }
  return true;
}

int Run(const Options& o) {
  std::vector<Row> rows;

  Samples start, plain;
  for (int i = 0; i < o.starts; ++i) {
    Desk d;
    if (std::optional<Millis> t = d.Start(true)) start.Add(*t);
    if (std::optional<Millis> t = PlainStart()) plain.Add(*t);
  }
  rows.push_back({"process start to logged in (READY at the server)", MedianMax(start, "ms"),
                  "plain process start and end: " + MedianMax(plain, "ms"), "< 1000 ms"});

  Desk d;
  if (!d.Start(true)) {
    std::cerr << "the desk did not log in\n" << (d.desk ? d.desk->Report() : "");
    return 1;
  }
  const pid_t pid = d.desk->Pid();

  // A delivered call pushed, until the program has handled it (its log line, written as the
  // display changes); the call then cleared so that the next one starts from ready.
  Samples event;
  for (int i = 0; i < o.events; ++i) {
    const std::size_t readies = d.server->CountAgentStates(kReadyMode);
    const Clock::time_point t0 = Clock::now();
    const std::uint32_t call = d.server->PushDelivered("0311112222", "", std::nullopt);
    if (!d.desk->Log().WaitForText("[EVENT orbaEK_Delivered]-" + std::to_string(call), kWait)) {
      break;
    }
    event.Add(Millis(Clock::now() - t0));
    d.server->PushCleared();
    PollUntil([&] { return d.server->CountAgentStates(kReadyMode) > readies; }, kWait);
  }
  rows.push_back({"server event to the display's change", MedianMax(event, "ms"),
                  "event control timer period: " + std::to_string(kTimerPeriodMs) + " ms",
                  "< period + 50 ms"});

  // Dial requests while ready; the dialled call ends at once at the switch.
  d.server->EndDialledCalls(true);
  const std::optional<std::uint16_t> port = d.desk->DialPort(kWait);
  Samples reply, atServer;
  for (int i = 0; port && i < o.dials; ++i) {
    const std::size_t calls = d.server->Sim().CountRequests(0x41, kMakeCallCode);
    const std::size_t readies = d.server->CountAgentStates(kReadyMode);
    DialClient client;
    if (!client.Connect(*port, kWait)) break;
    const Clock::time_point t0 = Clock::now();
    const std::optional<DialReply> r =
        client.Ask(DialRequestText("SP-100", "02-555-1234", "K", "B" + std::to_string(i)), kWait);
    const std::optional<ctisim::Request> made =
        d.server->Sim().WaitForRequest(0x41, kMakeCallCode, kWait, calls + 1);
    if (!r || ReplyField(r->text, 2) != "00" || !made) break;
    reply.Add(Millis(r->elapsed));
    atServer.Add(Millis(made->received_at - t0));
    PollUntil([&] { return d.server->CountAgentStates(kReadyMode) > readies; }, kWait);
  }
  rows.push_back({"dial request to its reply on the port", MedianMax(reply, "ms"),
                  "its call request at the server: " + MedianMax(atServer, "ms"),
                  "< 10 ms + server round trip"});
  rows.push_back({"dial request (MAKECALL) to the request at the server", MedianMax(atServer, "ms"),
                  "timer period: " + std::to_string(kTimerPeriodMs) + " ms", "-"});

  // Idle and logged in: processor time over a measured span of wall time.
  const std::optional<std::chrono::microseconds> cpu0 = CpuTime(pid);
  const Clock::time_point w0 = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(o.idleSeconds));  // the measured span
  const std::optional<std::chrono::microseconds> cpu1 = CpuTime(pid);
  const double wall = std::chrono::duration<double, std::micro>(Clock::now() - w0).count();
  const double idle = cpu0 && cpu1 ? 100.0 * static_cast<double>((*cpu1 - *cpu0).count()) / wall : -1;
  rows.push_back({"processor while idle and logged in", Fixed(idle, 2) + " % of one core",
                  "over " + std::to_string(o.idleSeconds) + " s of wall time", "< 1 %"});

  // Resident size after the first 100 calls and after `calls` in all.
  std::uint32_t cnid = 1;
  const int warm = std::min(100, o.calls);
  bool ok = RunCalls(d, warm, cnid);
  const std::optional<std::int64_t> rss100 = ResidentKib(pid);
  ok = ok && RunCalls(d, o.calls - warm, cnid);
  const std::optional<std::int64_t> rssN = ResidentKib(pid);
  const double growth = rss100 && rssN && *rss100 > 0
                            ? 100.0 * static_cast<double>(*rssN - *rss100) / static_cast<double>(*rss100)
                            : -1;
  rows.push_back({"resident size after " + std::to_string(o.calls) + " calls",
                  (rssN ? std::to_string(*rssN) : std::string("?")) + " KiB (" +
                      Fixed(growth, 2) + " %)" + (ok ? "" : " calls lost"),
                  "after 100 calls: " + (rss100 ? std::to_string(*rss100) : std::string("?")) +
                      " KiB",
                  "within 1 %"});

  std::cout << Table(rows);
  d.desk->Stop();
  return 0;
}

}  // namespace
}  // namespace desk::bench

int main(int argc, char** argv) { return desk::bench::Run(desk::bench::Parse(argc, argv)); }
