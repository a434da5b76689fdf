// Soak of the library against a misbehaving server. Sixteen threads issue call requests on two
// gates (one of two servers, active and standby, and one of a single server) while a chaos
// thread drops the active link, lets a server go silent past the heartbeat limit, sends junk,
// splits frames at random points, delays replies past their waits and sends HA notices; one
// thread per gate polls its events meanwhile and opens the gate again when it is lost.
//
// Afterwards: every call returned one of its documented codes, every poll one of its own, the
// gates serve again once the server behaves, and closing the gates leaves no thread and no
// socket behind. The run is bounded by a request count and a time budget; both shrink under
// the sanitizers and can be set with VOMTEL_SOAK_MS and VOMTEL_SOAK_REQUESTS. The random state
// is printed and can be set with VOMTEL_SOAK_STATE.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/ctisim/call_events.h"
#include "tools/ctisim/frame.h"
#include "tools/ctisim/sim_server.h"
#include "vomtel/api/event_fetch.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/session.h"
#include "vomtel/core/session_proxy.h"
#include "vomtel/core/settings.h"
#include "vomtel/core/timings.h"
#include "vomtel/requests/call/agent_state.h"
#include "vomtel/requests/call/answer_clear_hold.h"
#include "vomtel/requests/call/make_call.h"
#include "vomtel/requests/call/phone_features.h"

namespace vomtel::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kDefaultBudgetMs = 6000;
constexpr int kDefaultRequestsPerThread = 600;
#else
constexpr int kDefaultBudgetMs = 9000;
constexpr int kDefaultRequestsPerThread = 4000;
#endif
constexpr unsigned kDefaultRandomState = 8111;

constexpr int kRequestThreads = 16;
constexpr int kHeartbeatMs = 250;
constexpr milliseconds kKeepAlive{60};
constexpr const char* kDn = "1001";

// Result words the simulator is scripted to answer call requests with.
constexpr std::uint32_t kWords[] = {1, 7, 1200, 40001};
// Call events the simulator pushes.
constexpr std::uint8_t kPushedEvents[] = {ctisim::kEventConnectionCleared,
                                          ctisim::kEventDelivered, ctisim::kEventEstablished,
                                          ctisim::kEventOriginated};
// Call-class codes of the requests the threads issue.
constexpr std::uint8_t kCallCodes[] = {0x65, 0x14, 0x28, 0x5A, 0x78, 0xDF, 0xDD};

int EnvInt(const char* name, int fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return (end && *end == '\0' && value > 0 && value < 1000000000) ? static_cast<int>(value)
                                                                  : fallback;
}

// Reply waits of three units are 75 ms; the fail-over wait is one second.
Timings SoakTimings() {
  Timings timings;
  timings.sendWait = milliseconds(300);
  timings.connectTimeout = milliseconds(200);
  timings.replyUnit = milliseconds(25);
  timings.retryPeriod = milliseconds(80);
  timings.activeCheckPeriod = milliseconds(20);
  timings.activeChecks = 50;
  timings.conferenceWait = milliseconds(200);
  return timings;
}
constexpr milliseconds kPastTheWait{75 + 60};

bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  while (!condition()) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(milliseconds(5));
  }
  return true;
}

int CountThreads() {
  int count = 0;
  std::error_code error;
  for (auto it = std::filesystem::directory_iterator("/proc/self/task", error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    ++count;
  }
  return count;
}

int CountSockets() {
  int count = 0;
  std::error_code error;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code link_error;
    const auto target = std::filesystem::read_symlink(it->path(), link_error);
    if (!link_error && target.string().rfind("socket:", 0) == 0) ++count;
  }
  return count;
}

std::string Histogram(const std::map<long long, long long>& counts) {
  std::ostringstream out;
  for (const auto& [code, n] : counts) out << " " << code << "x" << n;
  return out.str();
}

ctisim::SimOptions SimAt(const char* address, std::uint8_t flag, std::uint32_t sessionId) {
  ctisim::SimOptions options;
  options.address = address;
  options.open.active_flag = flag;
  options.open.session_id = sessionId;
  return options;
}

// A gate as the threads see it: its current number (it changes when the gate is opened
// again) and the servers it is opened on.
struct SoakGate {
  std::vector<ctisim::SimServer*> servers;
  std::atomic<int> number{-1};
  std::atomic<int> reopened{0};
  std::atomic<int> lost{0};
};

class SoakTest : public ::testing::Test {
 protected:
  SoakTest()
      : budget_(milliseconds(EnvInt("VOMTEL_SOAK_MS", kDefaultBudgetMs))),
        requests_per_thread_(EnvInt("VOMTEL_SOAK_REQUESTS", kDefaultRequestsPerThread)),
        random_state_(static_cast<unsigned>(EnvInt("VOMTEL_SOAK_STATE", kDefaultRandomState))) {}

  Settings LogSettings() const {
    Settings settings;
    settings.logPath = dir_.Path();
    settings.heartbeatPeriod = kHeartbeatMs;
    return settings;
  }

  // One call request of a kind picked by `pick`; its result.
  static int OneRequest(OrbaAdapter& adapter, int gate, unsigned pick, std::uint32_t callId) {
    switch (pick % 7) {
      case 0:
        return MakeCall(adapter, kDn, "01012345678", "uui", "", "", "uei", "ci", gate);
      case 1:
        return AnswerCall(adapter, kDn, callId, gate);
      case 2:
        return ClearConnectionCall(adapter, kDn, callId, gate);
      case 3:
        return HoldCall(adapter, kDn, callId, gate);
      case 4:
        return RetrieveCall(adapter, kDn, callId, gate);
      case 5:
        return SetFeatureDND(adapter, kDn, static_cast<int>(pick & 1), gate);
      default:
        return AgentStatus(adapter, kDn, "agent7", "group", "part", 3, 0, 0, gate);
    }
  }

  TempDir dir_;
  const milliseconds budget_;
  const int requests_per_thread_;
  const unsigned random_state_;
};

// The simulator's scripting during the soak: call requests answered with a result word (and,
// while splitting, cut into pieces); session-level requests answered with 1.
class Script {
 public:
  explicit Script(std::vector<ctisim::SimServer*> servers) : servers_(std::move(servers)) {}

  void Apply(std::uint32_t word, std::vector<std::size_t> chunks) {
    for (ctisim::SimServer* server : servers_) {
      ctisim::ReplyRule plain;
      plain.shape.chunks = chunks;
      plain.shape.chunk_gap = milliseconds(1);
      for (auto [cls, code] : kSessionRequests) server->SetRule(cls, code, plain);
      ctisim::ReplyRule call = plain;
      call.result = word;
      server->SetDefaultRule(call);
    }
  }

 private:
  static constexpr std::pair<std::uint8_t, std::uint8_t> kSessionRequests[] = {
      {ctisim::kClassSession, ctisim::kCodeOpen},
      {ctisim::kClassSession, ctisim::kCodeAddDevice},
      {ctisim::kClassSession, ctisim::kCodeRemoveDevice},
      {ctisim::kClassMonitor, ctisim::kCodeMonitorStart},
      {ctisim::kClassMonitor, ctisim::kCodeMonitorStop}};
  std::vector<ctisim::SimServer*> servers_;
};

TEST_F(SoakTest, RequestsAndEventsUnderAMisbehavingServer) {
  std::cout << "random state " << random_state_ << ", budget " << budget_.count() << " ms, "
            << requests_per_thread_ << " requests per thread" << std::endl;
  RecordProperty("random_state", std::to_string(random_state_));

  // A first thread makes a sanitizer runtime start its own helper thread before the count.
  std::thread([] {}).join();
  const int threads_at_start = CountThreads();
  const int sockets_at_start = CountSockets();
  {
    ctisim::SimServer a(SimAt("127.0.0.1", 1, 0x1001));
    ctisim::SimServer b(SimAt("127.0.0.2", 0, 0x2002));
    ctisim::SimServer c(SimAt("127.0.0.3", 1, 0x3003));
    std::vector<ctisim::SimServer*> all{&a, &b, &c};
    for (ctisim::SimServer* server : all) server->SetKeepAlive(kKeepAlive);
    const int threads_with_servers = CountThreads();
    const int sockets_with_servers = CountSockets();

    Script script(all);
    script.Apply(1, {});
    std::set<long long> allowed{kOk, kNoRoom, kNoSession, kTimeout, kNotConnected};
    for (std::uint32_t word : kWords) allowed.insert(word);

    {
      OrbaAdapter adapter(LogSettings(), SoakTimings());
      SoakGate ha;
      ha.servers = {&a, &b};
      SoakGate single;
      single.servers = {&c};
      SoakGate* gates[] = {&ha, &single};

      // Opens (or opens again) a gate: the first server of an HA gate answers the open as
      // active, and every later open of it as standby, so that a lost link comes back as
      // standby. Opens are one at a time (a gate is assembled by several calls).
      std::mutex open_mutex;
      std::map<long long, long long> open_results;
      auto open = [&](SoakGate& gate) {
        std::lock_guard<std::mutex> lock(open_mutex);
        if (gate.servers.size() == 2) gate.servers[0]->SetActiveFlag(1);
        for (ctisim::SimServer* server : gate.servers) {
          adapter.AddServer(server->Address(), server->Port(), 0, 1, kDn, "soak", 0x50, 0);
        }
        int number = -1;
        const int result = adapter.OpenServer(&number);
        if (gate.servers.size() == 2) gate.servers[0]->SetActiveFlag(0);
        ++open_results[result];
        if (result == kOk) {
          ++open_results[adapter.Proxy().MonitorStart(number)];
          ++open_results[adapter.Proxy().AddDevice(kDn, 1, 0, number)];
          gate.number.store(number);
        }
        return result;
      };
      // The open waits one short reply unit; on a loaded machine it may take a few attempts.
      ASSERT_TRUE(WaitUntil([&] { return open(ha) == kOk; }, milliseconds(5000)));
      ASSERT_TRUE(WaitUntil([&] { return open(single) == kOk; }, milliseconds(5000)));
      ASSERT_NE(ha.number.load(), single.number.load());
      open_results.clear();

      std::atomic<bool> chaos_over{false};
      std::atomic<bool> polling_over{false};

      // --- Request threads ---------------------------------------------------------------
      std::vector<std::map<long long, long long>> request_results(kRequestThreads);
      std::vector<std::thread> requesters;
      for (int t = 0; t < kRequestThreads; ++t) {
        requesters.emplace_back([&, t] {
          std::mt19937 random(random_state_ + 1000u * static_cast<unsigned>(t + 1));
          for (int i = 0; i < requests_per_thread_ && !chaos_over.load(); ++i) {
            SoakGate& gate = *gates[(t + i) % 2];
            const unsigned pick = random();
            ++request_results[t][OneRequest(adapter, gate.number.load(), pick, 100 + pick % 50)];
          }
        });
      }

      // --- Event pollers -----------------------------------------------------------------
      std::vector<std::map<long long, long long>> poll_results(2);
      std::vector<std::map<long long, long long>> event_kinds(2);
      std::vector<std::thread> pollers;
      for (int g = 0; g < 2; ++g) {
        pollers.emplace_back([&, g] {
          SoakGate& gate = *gates[g];
          auto data = std::make_unique<EventData>();
          bool lost = false;
          while (!polling_over.load()) {
            if (lost) {
              lost = open(gate) != kOk;
              if (lost) std::this_thread::sleep_for(milliseconds(20));  // the next attempt
              else ++gate.reopened;
              continue;
            }
            const int result = GetEvent(adapter, gate.number.load(), data.get());
            ++poll_results[g][result];
            if (result == kOk) {
              ++event_kinds[g][data->EventKind];
              if (data->EventKind == 999) {
                ++gate.lost;
                lost = true;
              }
            } else {
              std::this_thread::sleep_for(milliseconds(2));  // the poll timer's tick
            }
          }
        });
      }

      // --- Chaos -----------------------------------------------------------------------------
      std::mt19937 random(random_state_);
      auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
      auto chunks = [&] {
        std::vector<std::size_t> sizes;
        const unsigned pieces = 1 + pick(4);
        for (unsigned i = 0; i < pieces; ++i) sizes.push_back(1 + pick(16));
        return sizes;
      };
      // The HA gate's session on `server`, or null.
      auto session_on = [&](const ctisim::SimServer& server) -> std::shared_ptr<CSession> {
        for (const auto& session : adapter.Proxy().Table().Sessions(ha.number.load())) {
          if (session->Ip() == server.Address()) return session;
        }
        return nullptr;
      };
      // The HA gate's active server and the other one, when the other stands by.
      auto active_with_standby = [&]() -> std::pair<ctisim::SimServer*, ctisim::SimServer*> {
        const auto active = adapter.Proxy().FindActive(ha.number.load());
        if (!active || active->State() != kStateActive) return {nullptr, nullptr};
        ctisim::SimServer* on = active->Ip() == a.Address() ? &a : &b;
        ctisim::SimServer* other = on == &a ? &b : &a;
        const auto standby = session_on(*other);
        if (!standby || standby->State() != kStateStandby) return {nullptr, nullptr};
        return {on, other};
      };

      // A silence runs while the chaos goes on: it ends once the client has given up every
      // link it had to the silent server, or at its deadline.
      struct Silence {
        ctisim::SimServer* server = nullptr;
        std::vector<std::pair<std::shared_ptr<CSession>, std::uint64_t>> links;
        Clock::time_point deadline;
      };
      std::optional<Silence> silence;
      // An outage of the single server: it listens again at this time.
      std::optional<Clock::time_point> outage_end;
      const auto kOutage = SoakTimings().activeCheckPeriod * SoakTimings().activeChecks +
                           milliseconds(300);
      auto end_silence = [&](bool now) {
        if (!silence) return;
        const bool given_up =
            std::all_of(silence->links.begin(), silence->links.end(), [](const auto& link) {
              return link.first->Stopped() || link.first->Connection() != link.second;
            });
        if (!now && !given_up && Clock::now() < silence->deadline) return;
        silence->server->SetSilent(false);
        silence->server->SetKeepAlive(kKeepAlive);
        silence.reset();
      };

      std::map<std::string, int> actions;
      std::uint32_t word = 1;
      bool splitting = false;
      const auto chaos_end = Clock::now() + budget_;
      for (int step = 0; step < 100000 && Clock::now() < chaos_end; ++step) {
        end_silence(false);
        if (outage_end && Clock::now() >= *outage_end) {
          c.ResumeListening();
          outage_end.reset();
        }
        // How often each action comes, out of 24.
        static constexpr int kAction[24] = {0, 0, 1, 1, 2, 3, 3, 3, 4, 4, 5, 6,
                                            6, 7, 7, 8, 10, 9, 9, 9, 9, 9, 9, 9};
        switch (kAction[pick(24)]) {
          case 0: {  // the active link of the HA gate drops
            auto [on, other] = active_with_standby();
            if (!on) break;
            on->DropConnections(pick(2) == 0);
            ++actions["drop active"];
            break;
          }
          case 1: {  // the single server's link drops, or the standby's
            auto [on, other] = active_with_standby();
            ctisim::SimServer* server = other && pick(2) == 0 ? other : &c;
            server->DropConnections(pick(2) == 0);
            ++actions[server == &c ? "drop single" : "drop standby"];
            break;
          }
          case 2: {  // a server goes silent past the heartbeat limit
            if (silence) break;
            silence.emplace();
            silence->server = all[pick(3)];
            silence->deadline = Clock::now() + milliseconds(kHeartbeatMs * 5);
            for (SoakGate* gate : gates) {
              for (const auto& session : adapter.Proxy().Table().Sessions(gate->number.load())) {
                if (session->Ip() == silence->server->Address() && !session->Stopped()) {
                  silence->links.emplace_back(session, session->Connection());
                }
              }
            }
            silence->server->SetKeepAlive(milliseconds(0));
            silence->server->SetSilent(true);
            ++actions["silence"];
            break;
          }
          case 3: {  // bytes that begin no frame
            ctisim::Bytes junk(1 + pick(40));
            for (auto& byte : junk) byte = static_cast<std::uint8_t>(pick(0x80));
            all[pick(3)]->Send(junk, ctisim::kAllConnections,
                               ctisim::SendShape{milliseconds(0), chunks(), milliseconds(1)});
            ++actions["junk"];
            break;
          }
          case 4:  // answers cut at random points, or whole again
            splitting = !splitting;
            script.Apply(word, splitting ? chunks() : std::vector<std::size_t>{});
            ++actions[splitting ? "split on" : "split off"];
            break;
          case 5: {  // answers delayed past the wait of their request
            ctisim::ReplyRule late;
            late.result = word;
            late.shape.delay = kPastTheWait + milliseconds(pick(100));
            ctisim::SimServer* server = all[pick(3)];
            for (unsigned n = 1 + pick(2); n > 0; --n) {
              server->AddOnceRule(ctisim::kClassCall, kCallCodes[pick(std::size(kCallCodes))],
                                  late);
            }
            ++actions["late reply"];
            break;
          }
          case 6: {  // HA notices: the active told it stands by, or any server told it is active
            auto [on, other] = active_with_standby();
            if (on && pick(2) == 0) {
              on->PushHaNotice(false, ctisim::kAllConnections,
                               ctisim::SendShape{milliseconds(0), chunks(), milliseconds(1)});
              ++actions["notice standby"];
            } else {
              all[pick(3)]->PushHaNotice(true);
              ++actions["notice active"];
            }
            break;
          }
          case 7:  // another result word
            word = kWords[pick(std::size(kWords))];
            script.Apply(word, splitting ? chunks() : std::vector<std::size_t>{});
            ++actions["result word"];
            break;
          case 10:  // the single server goes away past the fail-over wait, then comes back
            if (outage_end || Clock::now() + kOutage >= chaos_end) break;
            c.StopListening();
            c.DropConnections(pick(2) == 0);
            outage_end = Clock::now() + kOutage;
            ++actions["outage"];
            break;
          default: {  // a few call events, some cut into pieces
            ctisim::SimServer* server = all[pick(3)];
            for (unsigned n = 1 + pick(4); n > 0; --n) {
              const std::uint8_t code = kPushedEvents[pick(std::size(kPushedEvents))];
              const auto body =
                  ctisim::CallEventBody(code, {kDn, "01012345678", 100 + pick(50), 0x50});
              ctisim::SendShape shape;
              if (pick(2) == 0) {
                shape.chunks = chunks();
                shape.chunk_gap = milliseconds(1);
              }
              server->PushEvent(code, body, {}, ctisim::kAllConnections, shape);
              ++actions["event"];
            }
            break;
          }
        }
        std::this_thread::sleep_for(milliseconds(2 + pick(20)));  // the pace of the chaos
      }
      end_silence(true);
      if (outage_end) c.ResumeListening();
      chaos_over.store(true);
      for (auto& thread : requesters) thread.join();

      // --- The server behaves again: each gate serves within a deadline ---------------------
      for (ctisim::SimServer* server : all) {
        server->SetSilent(false);
        server->SetKeepAlive(kKeepAlive);
      }
      script.Apply(1, {});
      for (SoakGate* gate : gates) {
        int last = 0;
        EXPECT_TRUE(WaitUntil(
            [&] {
              const int number = gate->number.load();
              last = MakeCall(adapter, kDn, "01012345678", "", "", "", "", "", number);
              const auto active = adapter.Proxy().FindActive(number);
              return last == kOk && active && active->State() == kStateActive;
            },
            milliseconds(8000)))
            << "a gate does not serve again; last result " << last;
      }
      polling_over.store(true);
      for (auto& thread : pollers) thread.join();

      // --- Results -----------------------------------------------------------------------
      std::map<long long, long long> requests;
      for (const auto& per_thread : request_results) {
        for (const auto& [code, n] : per_thread) requests[code] += n;
      }
      std::ostringstream summary;
      summary << "requests:" << Histogram(requests) << "\nchaos:";
      for (const auto& [name, n] : actions) summary << " [" << name << "] " << n;
      for (int g = 0; g < 2; ++g) {
        summary << "\ngate " << g << " polls:" << Histogram(poll_results[g])
                << " kinds:" << Histogram(event_kinds[g]) << " lost " << gates[g]->lost
                << " reopened " << gates[g]->reopened;
      }
      summary << "\nopens:" << Histogram(open_results);
      std::cout << summary.str() << std::endl;

      for (const auto& [code, n] : requests) {
        EXPECT_TRUE(allowed.count(code)) << "request result " << code << " (" << n << " times)";
      }
      EXPECT_GT(requests[kOk], 0);
      for (int g = 0; g < 2; ++g) {
        for (const auto& [code, n] : poll_results[g]) {
          EXPECT_TRUE(code == kOk || code == kNoEvent)
              << "gate " << g << ": poll result " << code << " (" << n << " times)";
        }
        for (const auto& [kind, n] : event_kinds[g]) {
          const bool pushed = std::find(std::begin(kPushedEvents), std::end(kPushedEvents),
                                        kind) != std::end(kPushedEvents);
          EXPECT_TRUE(pushed || kind == 0 || kind == 999)
              << "gate " << g << ": event kind " << kind << " (" << n << " times)";
        }
      }
      for (const auto& [code, n] : open_results) {
        EXPECT_TRUE(code == kOk || code == kNotConnected || code == kTimeout)
            << "open, monitor or device result " << code << " (" << n << " times)";
      }

      // --- Closing leaves nothing behind ---------------------------------------------------
      adapter.Proxy().Close(ha.number.load());
      adapter.Proxy().Close(single.number.load());
      adapter.Proxy().CloseAll();
      for (ctisim::SimServer* server : all) {
        EXPECT_TRUE(server->WaitForLiveConnections(0, milliseconds(3000)))
            << server->Address() << " keeps " << server->LiveConnections() << " connections";
      }
      EXPECT_TRUE(WaitUntil([&] { return CountThreads() == threads_with_servers; },
                            milliseconds(3000)))
          << CountThreads() << " threads after closing the gates, " << threads_with_servers
          << " before opening them";
      EXPECT_TRUE(WaitUntil([&] { return CountSockets() == sockets_with_servers; },
                            milliseconds(3000)))
          << CountSockets() << " sockets after closing the gates, " << sockets_with_servers
          << " before opening them";
    }
  }
  EXPECT_TRUE(WaitUntil([&] { return CountThreads() == threads_at_start; }, milliseconds(3000)))
      << CountThreads() << " threads at the end, " << threads_at_start << " at the start";
  EXPECT_TRUE(WaitUntil([&] { return CountSockets() == sockets_at_start; }, milliseconds(3000)))
      << CountSockets() << " sockets at the end, " << sockets_at_start << " at the start";
}

}  // namespace
}  // namespace vomtel::test
