// Soak of the library against a misbehaving server. Sixteen threads issue call requests on two
// gates (one of two servers, active and standby, and one of a single server) while a chaos
// thread drops the active link (and others), lets a server go silent past the heartbeat limit,
// takes the single server away past the fail-over wait, sends junk and empty envelopes, cuts
// frames at random points, enciphers them, delays replies past their waits or drops the link
// instead of answering, and sends HA notices; one thread per gate polls its events meanwhile
// and opens the gate again when it is lost. Once through the request operations on an adapter
// of the test's own, once through the exported functions, and once closing the gates while
// everything runs.
//
// Afterwards: every call returned one of its documented codes (the server answers each request
// code with words of its own), every poll one of its own, the gates serve again once the server
// behaves, and closing the gates leaves no thread and no socket behind. The run is bounded by a
// request count and a time budget; both shrink under the sanitizers and can be set with
// VOMTEL_SOAK_MS and VOMTEL_SOAK_REQUESTS. The random state is printed and can be set with
// VOMTEL_SOAK_STATE.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
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
#include <shared_mutex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tools/ctisim/call_events.h"
#include "tools/ctisim/envelope.h"
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
#include "vomtel/requests/call/one_step_conference.h"
#include "vomtel/requests/call/phone_features.h"
#include "vomtel/vomtel.h"

namespace vomtel::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Under a sanitizer the run is shorter and every wait of the library twice as long.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kDefaultBudgetMs = 6000;
constexpr int kDefaultRequestsPerThread = 600;
constexpr int kSlow = 2;
#else
constexpr int kDefaultBudgetMs = 9000;
constexpr int kDefaultRequestsPerThread = 4000;
constexpr int kSlow = 1;
#endif
constexpr unsigned kDefaultRandomState = 8111;

constexpr int kRequestThreads = 16;
constexpr int kHeartbeatMs = 250 * kSlow;
constexpr milliseconds kKeepAlive{60};
constexpr const char* kDn = "1001";
// The device record of the exported open and device calls: device type 1, header byte 0x50.
constexpr DeviceRecord kDevice{1, 0x50, 0, "1001"};

// The simulator answers each call request with a result word of its own code (WordFor), so
// that a request that takes another request's reply shows it; base 0 stands for success.
constexpr std::uint32_t kBases[] = {0, 0x10000, 0x20000, 0x30000};
constexpr std::uint32_t WordFor(std::uint32_t base, std::uint8_t code) {
  return base == 0 ? 1 : base + code;
}
// Call events the simulator pushes.
constexpr std::uint8_t kPushedEvents[] = {ctisim::kEventConnectionCleared,
                                          ctisim::kEventDelivered, ctisim::kEventEstablished,
                                          ctisim::kEventOriginated};
// Call-class codes of the requests the threads issue, in the order of Soak::OneRequest.
constexpr std::uint8_t kCallCodes[] = {0x65, 0x14, 0x28, 0x5A, 0x78, 0xDF, 0xDD};
// The one-step conference, the eighth kind, is recorded under this code of none of them; its
// result is the word of its consultation (0x3C), conference (0x32) or retrieve.
constexpr std::uint8_t kOneStep = 0;
constexpr std::uint8_t kOneStepCodes[] = {0x3C, 0x32, 0x78};
constexpr unsigned kKinds = std::size(kCallCodes) + 1;
// Every code the simulator has a word for.
constexpr std::uint8_t kScriptedCodes[] = {0x65, 0x14, 0x28, 0x5A, 0x78, 0xDF, 0xDD, 0x3C, 0x32};

int EnvInt(const char* name, int fallback) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  return (end && *end == '\0' && value > 0 && value < 1000000000) ? static_cast<int>(value)
                                                                  : fallback;
}

// Reply waits of three units are 75 ms (times kSlow); the fail-over wait is one second.
Timings SoakTimings() {
  Timings timings;
  timings.sendWait = milliseconds(300 * kSlow);
  timings.connectTimeout = milliseconds(200 * kSlow);
  timings.replyUnit = milliseconds(25 * kSlow);
  timings.retryPeriod = milliseconds(80);
  timings.activeCheckPeriod = milliseconds(20);
  timings.activeChecks = 50;
  timings.conferenceWait = milliseconds(200);
  return timings;
}
constexpr milliseconds kPastTheWait{75 * kSlow + 60};

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

// Open descriptors of the process: sockets only, or all of them (log files included).
int CountDescriptors(bool socketsOnly) {
  int count = 0;
  std::error_code error;
  for (auto it = std::filesystem::directory_iterator("/proc/self/fd", error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    std::error_code link_error;
    const auto target = std::filesystem::read_symlink(it->path(), link_error);
    if (!socketsOnly || (!link_error && target.string().rfind("socket:", 0) == 0)) ++count;
  }
  return count;
}
int CountSockets() { return CountDescriptors(true); }
int CountFiles() { return CountDescriptors(false); }

std::string Histogram(const std::map<long long, long long>& counts) {
  std::ostringstream out;
  for (const auto& [code, n] : counts) out << " " << code << "x" << n;
  return out.str();
}

ctisim::SimOptions SimAt(const char* address, std::uint8_t flag, std::uint32_t sessionId,
                         std::uint16_t port = 0) {
  ctisim::SimOptions options;
  options.address = address;
  options.port = port;
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

using Counts = std::map<long long, long long>;

// The simulator's scripting during the soak: call requests answered with the result word of
// their code under `base`, session-level requests with 1; while splitting, all cut in pieces.
class Script {
 public:
  explicit Script(std::vector<ctisim::SimServer*> servers) : servers_(std::move(servers)) {}

  void Apply(std::uint32_t base, std::vector<std::size_t> chunks) {
    for (ctisim::SimServer* server : servers_) {
      ctisim::ReplyRule plain;
      plain.shape.chunks = chunks;
      plain.shape.chunk_gap = milliseconds(1);
      for (auto [cls, code] : kSessionRequests) server->SetRule(cls, code, plain);
      server->SetDefaultRule(plain);
      for (std::uint8_t code : kScriptedCodes) {
        ctisim::ReplyRule call = plain;
        call.result = WordFor(base, code);
        server->SetRule(ctisim::kClassCall, code, call);
      }
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

// The two servers of the HA gate: a on 127.0.0.1 answering the open as active, b on 127.0.0.2
// as standby, both on one port (the exported HA open takes one port for both). A port that is
// free on the first address may be taken on the second: then another one is tried.
struct HaServers {
  std::unique_ptr<ctisim::SimServer> a;
  std::unique_ptr<ctisim::SimServer> b;

  static HaServers Make() {
    for (int attempt = 1;; ++attempt) {
      auto a = std::make_unique<ctisim::SimServer>(SimAt("127.0.0.1", 1, 0x1001));
      try {
        auto b = std::make_unique<ctisim::SimServer>(SimAt("127.0.0.2", 0, 0x2002, a->Port()));
        return HaServers{std::move(a), std::move(b)};
      } catch (const std::runtime_error&) {
        if (attempt == 20) throw;
      }
    }
  }
};

// How the soak reaches the library.
enum class Calls {
  kInternal,  // an adapter of its own and the request operations
  kExported   // the process's adapter and the exported C functions
};

// Three servers, a (active) and b (standby, on a's port) behind the HA gate and c behind the
// single gate, an adapter with short timings, and the request threads, event pollers and
// chaos that the tests run over them.
class Soak {
 public:
  Soak(const std::string& logPath, unsigned randomState, int requestsPerThread,
       Calls calls = Calls::kInternal)
      : ha_servers_(HaServers::Make()),
        a_(*ha_servers_.a),
        b_(*ha_servers_.b),
        c_(SimAt("127.0.0.3", 1, 0x3003)),
        all_{&a_, &b_, &c_},
        script_(all_),
        random_state_(randomState),
        requests_per_thread_(requestsPerThread),
        request_results_(kRequestThreads),
        requests_done_(kRequestThreads),
        exported_(calls == Calls::kExported) {
    for (ctisim::SimServer* server : all_) server->SetKeepAlive(kKeepAlive);
    script_.Apply(0, {});
    ha_.servers = {&a_, &b_};
    single_.servers = {&c_};
    if (exported_) {
      adapter_ = &OrbaAdapter::Instance();
    } else {
      Settings settings;
      settings.logPath = logPath;
      settings.heartbeatPeriod = kHeartbeatMs;
      own_adapter_ = std::make_unique<OrbaAdapter>(settings);
      adapter_ = own_adapter_.get();
    }
    adapter_->SetTimings(SoakTimings());
  }

  ~Soak() { Stop(); }

  Soak(const Soak&) = delete;
  Soak& operator=(const Soak&) = delete;

  // Opens (or opens again) a gate: the first server of an HA gate answers the open as active,
  // and every later open of it as standby, so that a lost link comes back as standby. Opens
  // of the two gates may run at the same time; none starts after ForbidOpens, which waits for
  // those under way.
  int Open(SoakGate& gate) {
    std::shared_lock<std::shared_mutex> opening(opens_mutex_);
    if (!opens_allowed_) return kNotConnected;
    const bool ha = gate.servers.size() == 2;
    if (ha) gate.servers[0]->SetActiveFlag(1);
    int number = -1;
    int result = 0;
    if (exported_) {
      const ctisim::SimServer& first = *gate.servers[0];
      result = ha ? vomtelOpenServerHA(&number, 0, &kDevice, first.Address().c_str(),
                                       gate.servers[1]->Address().c_str(), first.Port(), "",
                                       "soak", 0, 0)
                  : vomtelOpenServer(&number, 0, &kDevice, first.Address().c_str(),
                                     first.Port(), "", "soak", 0, 0);
    } else {
      for (ctisim::SimServer* server : gate.servers) {
        adapter_->AddServer(server->Address(), server->Port(), 0, 1, kDn, "soak", 0x50, 0);
      }
      result = adapter_->OpenServer(&number);
    }
    if (ha) gate.servers[0]->SetActiveFlag(0);
    std::vector<int> results = {result};
    if (result == kOk) {
      if (exported_) {
        results.push_back(vomtelMonitorStart(number, 0));
        results.push_back(vomtelAddDevice(number, 0, &kDevice));
      } else {
        results.push_back(adapter_->Proxy().MonitorStart(number));
        results.push_back(adapter_->Proxy().AddDevice(kDn, 1, 0, number));
      }
      gate.number.store(number);
    }
    std::lock_guard<std::mutex> lock(results_mutex_);
    for (const int r : results) ++open_results_[r];
    return result;
  }
  // The first opens wait one short reply unit; on a loaded machine they may take a few tries.
  bool OpenGates() {
    const bool opened = WaitUntil([&] { return Open(ha_) == kOk; }, milliseconds(10000)) &&
                        WaitUntil([&] { return Open(single_) == kOk; }, milliseconds(10000));
    std::lock_guard<std::mutex> lock(results_mutex_);
    open_results_.clear();
    return opened && ha_.number.load() != single_.number.load();
  }
  void ForbidOpens() {
    std::unique_lock<std::shared_mutex> lock(opens_mutex_);
    opens_allowed_ = false;
  }

  // Sixteen threads, each up to its request count or until StopRequests, alternating gates.
  void StartRequests() {
    for (int t = 0; t < kRequestThreads; ++t) {
      requesters_.emplace_back([this, t] {
        std::mt19937 random(random_state_ + 1000u * static_cast<unsigned>(t + 1));
        for (int i = 0; i < requests_per_thread_ && !requests_over_.load(); ++i) {
          SoakGate& gate = *Gates()[(t + i) % 2];
          const unsigned pick = random();
          const bool after_close = closed_.load();
          const int result = OneRequest(gate.number.load(), pick, 100 + pick % 50);
          const unsigned kind = pick % kKinds;
          ++request_results_[t][kind < std::size(kCallCodes) ? kCallCodes[kind] : kOneStep]
                            [result];
          if (after_close && result != kNoSession) ++after_close_unexpected_;
          ++requests_done_[t];
        }
      });
    }
  }
  void StopRequests() {
    requests_over_.store(true);
    for (auto& thread : requesters_) thread.join();
    requesters_.clear();
  }

  // One thread per gate polls its events; a lost gate (event 999) is opened again.
  void StartPolling() {
    for (int g = 0; g < 2; ++g) {
      pollers_.emplace_back([this, g] {
        SoakGate& gate = *Gates()[g];
        auto data = std::make_unique<EventData>();
        bool lost = false;
        while (!polling_over_.load()) {
          if (lost) {
            lost = Open(gate) != kOk;
            if (lost) {
              std::this_thread::sleep_for(milliseconds(20));  // the next attempt
            } else {
              ++gate.reopened;
            }
            continue;
          }
          *data = EventData{};
          const int result = exported_ ? vomtelGetEvent(gate.number.load(), data.get(), 0)
                                       : GetEvent(*adapter_, gate.number.load(), data.get());
          ++poll_results_[g][result];
          if (result == kOk) {
            ++event_kinds_[g][data->EventKind];
            if (IsPushed(data->EventKind) && !CallFieldsAgree(*data)) {
              if (bad_events_[g]++ == 0) first_bad_event_[g] = Describe(*data);
            }
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
  }
  void StopPolling() {
    polling_over_.store(true);
    for (auto& thread : pollers_) thread.join();
    pollers_.clear();
  }

  void Stop() {
    StopRequests();
    StopPolling();
  }

  // The simulator's faults at random until `budget` has passed (outages of the single server
  // past the fail-over wait only when `outages`); afterwards the servers behave again.
  void RunChaos(milliseconds budget, bool outages);

  // Requests made so far, per thread.
  std::vector<long long> RequestsDone() const {
    std::vector<long long> done;
    for (const auto& n : requests_done_) done.push_back(n.load());
    return done;
  }
  // True when every request thread has made `count` more requests than `before` says, or
  // all of its own.
  bool EveryThreadDid(const std::vector<long long>& before, long long count) const {
    for (int t = 0; t < kRequestThreads; ++t) {
      const long long done = requests_done_[t].load();
      if (done < before[t] + count && done < requests_per_thread_) return false;
    }
    return true;
  }

  // 1 once the gate serves a request on an active session within `timeout`; else the last
  // result that was not 1.
  int ServesAgain(SoakGate& gate, milliseconds timeout) {
    int last = 0;
    const bool served = WaitUntil(
        [&] {
          const int number = gate.number.load();
          last = MakeCall(*adapter_, kDn, "01012345678", "", "", "", "", "", number);
          const auto active = adapter_->Proxy().FindActive(number);
          return last == kOk && active && active->State() == kStateActive;
        },
        timeout);
    return served ? static_cast<int>(kOk) : last;
  }

  // Closes both gates at once from two threads, then whatever may be left.
  void CloseGates() {
    auto close = [&](int gate) {
      if (exported_) {
        vomtelCloseServerHA(gate, 0);
      } else {
        adapter_->Proxy().Close(gate);
      }
    };
    std::thread other([&] { close(single_.number.load()); });
    close(ha_.number.load());
    other.join();
    adapter_->Proxy().CloseAll();
    closed_.store(true);
  }

  // Every result against its documented codes; prints what happened.
  void CheckResults() {
    const std::set<long long> library{kOk, kNoRoom, kNoSession, kTimeout, kNotConnected};
    std::map<std::uint8_t, Counts> by_code;
    Counts requests;
    for (const auto& per_thread : request_results_) {
      for (const auto& [code, results] : per_thread) {
        for (const auto& [result, n] : results) {
          by_code[code][result] += n;
          requests[result] += n;
        }
      }
    }
    // A result word of another request code: the request took a reply not its own.
    long long of_another = 0;
    for (const auto& [code, results] : by_code) {
      for (const auto& [result, n] : results) {
        auto word_of = [&](std::uint8_t request) {
          return std::any_of(std::begin(kBases), std::end(kBases),
                             [&](auto base) { return result == WordFor(base, request); });
        };
        const bool own = code == kOneStep ? std::any_of(std::begin(kOneStepCodes),
                                                         std::end(kOneStepCodes), word_of)
                                          : word_of(code);
        const bool another =
            std::any_of(std::begin(kScriptedCodes), std::end(kScriptedCodes), word_of);
        if (!own && another) of_another += n;
        EXPECT_TRUE(library.count(result) || own)
            << "request code " << int{code} << ": result " << result << " (" << n << " times)"
            << (another ? ", the word of another request" : "");
      }
    }
    std::ostringstream summary;
    summary << "requests:" << Histogram(requests) << "\nwords of other requests: " << of_another
            << "\nchaos:";
    for (const auto& [name, n] : actions_) summary << " [" << name << "] " << n;
    for (int g = 0; g < 2; ++g) {
      summary << "\ngate " << g << " polls:" << Histogram(poll_results_[g])
              << " kinds:" << Histogram(event_kinds_[g]) << " lost " << Gates()[g]->lost
              << " reopened " << Gates()[g]->reopened;
    }
    {
      std::lock_guard<std::mutex> lock(results_mutex_);
      summary << "\nopens:" << Histogram(open_results_);
      for (const auto& [code, n] : open_results_) {
        EXPECT_TRUE(code == kOk || code == kNotConnected || code == kTimeout)
            << "open, monitor or device result " << code << " (" << n << " times)";
      }
    }
    std::cout << summary.str() << std::endl;

    EXPECT_GT(requests[kOk], 0);
    EXPECT_EQ(after_close_unexpected_.load(), 0)
        << "requests begun after the close that did not give 3007";
    for (int g = 0; g < 2; ++g) {
      for (const auto& [code, n] : poll_results_[g]) {
        EXPECT_TRUE(code == kOk || code == kNoEvent)
            << "gate " << g << ": poll result " << code << " (" << n << " times)";
      }
      for (const auto& [kind, n] : event_kinds_[g]) {
        EXPECT_TRUE(IsPushed(static_cast<std::int32_t>(kind)) || kind == 0 || kind == 999)
            << "gate " << g << ": event kind " << kind << " (" << n << " times)";
      }
      EXPECT_EQ(bad_events_[g], 0) << "gate " << g << ", the first: " << first_bad_event_[g];
    }
  }

  // No server keeps a connection of the closed gates.
  void CheckNoConnections() {
    for (ctisim::SimServer* server : all_) {
      EXPECT_TRUE(server->WaitForLiveConnections(0, milliseconds(10000)))
          << server->Address() << " keeps " << server->LiveConnections() << " connections";
    }
  }

  SoakGate& Ha() { return ha_; }
  SoakGate& Single() { return single_; }

 private:
  std::array<SoakGate*, 2> Gates() { return {&ha_, &single_}; }

  // One call request of a kind picked by `pick` (kCallCodes[pick % kKinds], or the one-step
  // conference); its result.
  int OneRequest(int gate, unsigned pick, std::uint32_t callId) {
    if (exported_) return OneExportedRequest(gate, pick, callId);
    OrbaAdapter& adapter = *adapter_;
    switch (pick % kKinds) {
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
      case 6:
        return AgentStatus(adapter, kDn, "agent7", "group", "part", 3, 0, 0, gate);
      default:
        return OneStepConference(adapter, kDn, callId, "2002", "uui", "uei", "ci", gate);
    }
  }

  // The same through the exported functions.
  static int OneExportedRequest(int gate, unsigned pick, std::uint32_t callId) {
    ConnectionId call{};
    call.CallId = static_cast<std::int32_t>(callId);
    std::snprintf(call.Device, sizeof call.Device, "%s", kDn);
    UserDataBlock uei{};
    std::snprintf(uei.Text, sizeof uei.Text, "uei");
    UserDataBlock ci{};
    std::snprintf(ci.Text, sizeof ci.Text, "ci");
    switch (pick % kKinds) {
      case 0:
        return vomtelMakeCall(gate, 0, kDn, "01012345678", "uui", "", "", nullptr, &uei, &ci,
                              nullptr);
      case 1:
        return vomtelAnswerCall(gate, 0, &call, nullptr);
      case 2:
        return vomtelClearConnection(gate, 0, &call, nullptr);
      case 3:
        return vomtelHoldCall(gate, 0, &call, 0, nullptr);
      case 4:
        return vomtelRetrieveCall(gate, 0, &call, nullptr);
      case 5:
        return vomtelSetFeatureDND(gate, 0, kDn, static_cast<int>(pick & 1), nullptr);
      case 6:
        return vomtelSetFeatureAgentStatus(gate, 0, kDn, 3, "agent7", "part", "group", 0, 0,
                                           nullptr);
      default:
        return vomtelOneStepConference(gate, 0, &call, "2002", nullptr, "uui", nullptr, &uei,
                                       &ci, nullptr);
    }
  }

  static bool IsPushed(std::int32_t kind) {
    return std::find(std::begin(kPushedEvents), std::end(kPushedEvents), kind) !=
           std::end(kPushedEvents);
  }
  // A pushed call event names call 100-149 as its call reference, in its number id text and
  // in its universal call id.
  static bool CallFieldsAgree(const EventData& data) {
    const std::string id = std::to_string(data.CallRefID);
    return data.CallRefID >= 100 && data.CallRefID < 150 && std::string(data.cnidText) == id &&
           std::string(data.ucid) == "UCID" + id;
  }
  static std::string Describe(const EventData& data) {
    return "kind " + std::to_string(data.EventKind) + " call " + std::to_string(data.CallRefID) +
           " cnid [" + std::string(data.cnidText) + "] ucid [" + std::string(data.ucid) + "]";
  }

  // The HA gate's session on `server`, or null.
  std::shared_ptr<CSession> HaSessionOn(const ctisim::SimServer& server) {
    for (const auto& session : adapter_->Proxy().Table().Sessions(ha_.number.load())) {
      if (session->Ip() == server.Address()) return session;
    }
    return nullptr;
  }
  // The HA gate's active server and the other one, when the other stands by; else nulls.
  std::pair<ctisim::SimServer*, ctisim::SimServer*> ActiveWithStandby() {
    const auto active = adapter_->Proxy().FindActive(ha_.number.load());
    if (!active || active->State() != kStateActive) return {nullptr, nullptr};
    ctisim::SimServer* on = active->Ip() == a_.Address() ? &a_ : &b_;
    ctisim::SimServer* other = on == &a_ ? &b_ : &a_;
    const auto standby = HaSessionOn(*other);
    if (!standby || standby->State() != kStateStandby) return {nullptr, nullptr};
    return {on, other};
  }

  HaServers ha_servers_;
  ctisim::SimServer& a_;
  ctisim::SimServer& b_;
  ctisim::SimServer c_;
  std::vector<ctisim::SimServer*> all_;
  Script script_;
  const unsigned random_state_;
  const int requests_per_thread_;
  SoakGate ha_;
  SoakGate single_;

  std::shared_mutex opens_mutex_;  // shared by the opens under way, ForbidOpens alone
  bool opens_allowed_ = true;      // guarded by opens_mutex_
  std::mutex results_mutex_;
  Counts open_results_;            // guarded by results_mutex_

  std::atomic<bool> requests_over_{false};
  std::atomic<bool> polling_over_{false};
  std::atomic<bool> closed_{false};
  std::atomic<int> after_close_unexpected_{0};
  std::vector<std::map<std::uint8_t, Counts>> request_results_;  // per thread, per code
  std::vector<std::atomic<long long>> requests_done_;
  std::array<Counts, 2> poll_results_;  // one per poller
  std::array<Counts, 2> event_kinds_;
  std::array<int, 2> bad_events_{};  // pushed events whose call fields disagree
  std::array<std::string, 2> first_bad_event_;
  std::map<std::string, int> actions_;  // the chaos thread's alone

  // Last: the adapter goes before the servers, the threads before the adapter.
  const bool exported_;
  std::unique_ptr<OrbaAdapter> own_adapter_;
  OrbaAdapter* adapter_ = nullptr;
  std::vector<std::thread> requesters_;
  std::vector<std::thread> pollers_;
};

void Soak::RunChaos(milliseconds budget, bool outages) {
  std::mt19937 random(random_state_);
  auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
  auto chunks = [&] {
    std::vector<std::size_t> sizes;
    for (unsigned pieces = 1 + pick(4); pieces > 0; --pieces) sizes.push_back(1 + pick(16));
    return sizes;
  };
  auto cut = [&] { return ctisim::SendShape{milliseconds(0), chunks(), milliseconds(1)}; };

  // A silence runs while the chaos goes on: it ends once the client has given up every link
  // it had to the silent server, or at its deadline.
  struct Silence {
    ctisim::SimServer* server = nullptr;
    std::vector<std::pair<std::shared_ptr<CSession>, std::uint64_t>> links;
    Clock::time_point deadline;
  };
  std::optional<Silence> silence;
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
  // An outage of the single server past the fail-over wait: it listens again at this time.
  std::optional<Clock::time_point> outage_end;
  const Timings timings = SoakTimings();
  const auto outage = timings.activeCheckPeriod * timings.activeChecks + milliseconds(300);

  std::uint32_t base = 0;
  bool splitting = false;
  const auto chaos_end = Clock::now() + budget;
  for (int step = 0; step < 100000 && Clock::now() < chaos_end; ++step) {
    end_silence(false);
    if (outage_end && Clock::now() >= *outage_end) {
      c_.ResumeListening();
      outage_end.reset();
    }
    // How often each action comes, out of 24.
    static constexpr int kAction[24] = {0, 0, 1, 1, 2, 3, 3, 3, 4, 4, 5, 6,
                                        6, 7, 7, 8, 9, 9, 10, 10, 10, 10, 10, 10};
    switch (kAction[pick(24)]) {
      case 0: {  // the active link of the HA gate drops
        auto [on, other] = ActiveWithStandby();
        if (!on) break;
        on->DropConnections(pick(2) == 0);
        ++actions_["drop active"];
        break;
      }
      case 1: {  // the single server's link drops, or the standby's
        auto [on, other] = ActiveWithStandby();
        ctisim::SimServer* server = other && pick(2) == 0 ? other : &c_;
        server->DropConnections(pick(2) == 0);
        ++actions_[server == &c_ ? "drop single" : "drop standby"];
        break;
      }
      case 2: {  // a server goes silent past the heartbeat limit
        if (silence) break;
        silence.emplace();
        silence->server = all_[pick(3)];
        silence->deadline = Clock::now() + milliseconds(kHeartbeatMs * 5);
        for (SoakGate* gate : Gates()) {
          for (const auto& session : adapter_->Proxy().Table().Sessions(gate->number.load())) {
            if (session->Ip() == silence->server->Address() && !session->Stopped()) {
              silence->links.emplace_back(session, session->Connection());
            }
          }
        }
        silence->server->SetKeepAlive(milliseconds(0));
        silence->server->SetSilent(true);
        ++actions_["silence"];
        break;
      }
      case 3: {  // bytes that begin no frame
        ctisim::Bytes junk(1 + pick(40));
        for (auto& byte : junk) byte = static_cast<std::uint8_t>(pick(0x80));
        all_[pick(3)]->Send(junk, ctisim::kAllConnections, cut());
        ++actions_["junk"];
        break;
      }
      case 4:  // answers cut at random points, or whole again
        splitting = !splitting;
        script_.Apply(base, splitting ? chunks() : std::vector<std::size_t>{});
        ++actions_[splitting ? "split on" : "split off"];
        break;
      case 5: {  // answers delayed past the wait of their request, or the link drops instead
        ctisim::SimServer* server = all_[pick(3)];
        const bool drop = pick(3) == 0;
        for (unsigned n = 1 + pick(2); n > 0; --n) {
          const std::uint8_t code = kScriptedCodes[pick(std::size(kScriptedCodes))];
          ctisim::ReplyRule late;
          late.result = WordFor(base, code);
          late.shape.delay = kPastTheWait + milliseconds(pick(100));
          late.withhold = drop;
          late.drop_after = drop;
          server->AddOnceRule(ctisim::kClassCall, code, late);
        }
        ++actions_[drop ? "drop for reply" : "late reply"];
        break;
      }
      case 6: {  // HA notices: the active told it stands by, or any server told it is active
        auto [on, other] = ActiveWithStandby();
        if (on && pick(2) == 0) {
          on->PushHaNotice(false, ctisim::kAllConnections, cut());
          ++actions_["notice standby"];
        } else {
          all_[pick(3)]->PushHaNotice(true);
          ++actions_["notice active"];
        }
        break;
      }
      case 7:  // another result word
        base = kBases[pick(std::size(kBases))];
        script_.Apply(base, splitting ? chunks() : std::vector<std::size_t>{});
        ++actions_["result word"];
        break;
      case 8:  // the single server goes away past the fail-over wait, then comes back
        if (!outages || outage_end || Clock::now() + outage >= chaos_end) break;
        c_.StopListening();
        c_.DropConnections(pick(2) == 0);
        outage_end = Clock::now() + outage;
        ++actions_["outage"];
        break;
      case 9:  // what a server builds goes out enciphered or plain; an empty envelope
        if (pick(3) == 0) {
          all_[pick(3)]->PushEmptyEnvelope(pick(2) == 0 ? ctisim::kEnvelopeEmpty2
                                                        : ctisim::kEnvelopeEmpty3,
                                           ctisim::kAllConnections, cut());
          ++actions_["empty envelope"];
        } else {
          ctisim::SimServer* server = all_[pick(3)];
          const bool seal = pick(2) == 0;
          std::optional<std::uint32_t> nonce;
          if (seal) nonce = ctisim::CipheredNonce(pick(1u << 24));
          server->SetEnvelopeNonce(nonce);
          ++actions_[seal ? "seal on" : "seal off"];
        }
        break;
      default: {  // a few call events, some cut into pieces
        ctisim::SimServer* server = all_[pick(3)];
        for (unsigned n = 1 + pick(4); n > 0; --n) {
          const std::uint8_t code = kPushedEvents[pick(std::size(kPushedEvents))];
          ctisim::CallParties parties;
          parties.monitored = kDn;
          parties.other = "01012345678";
          parties.call_id = 100 + pick(50);
          parties.version = 0x50;
          const auto body = ctisim::CallEventBody(code, parties);
          server->PushEvent(code, body, {}, ctisim::kAllConnections,
                            pick(2) == 0 ? cut() : ctisim::SendShape{});
          ++actions_["event"];
        }
        break;
      }
    }
    std::this_thread::sleep_for(milliseconds(2 + pick(20)));  // the pace of the chaos
  }
  end_silence(true);
  if (outage_end) c_.ResumeListening();
  for (ctisim::SimServer* server : all_) {
    server->SetSilent(false);
    server->SetKeepAlive(kKeepAlive);
    server->SetEnvelopeNonce(std::nullopt);
  }
  script_.Apply(0, {});
}

class SoakTest : public ::testing::Test {
 protected:
  SoakTest()
      : budget_(milliseconds(EnvInt("VOMTEL_SOAK_MS", kDefaultBudgetMs))),
        requests_per_thread_(EnvInt("VOMTEL_SOAK_REQUESTS", kDefaultRequestsPerThread)),
        random_state_(static_cast<unsigned>(EnvInt("VOMTEL_SOAK_STATE", kDefaultRandomState))) {
    std::cout << "random state " << random_state_ << ", budget " << budget_.count() << " ms, "
              << requests_per_thread_ << " requests per thread" << std::endl;
    RecordProperty("random_state", std::to_string(random_state_));
    // A first thread makes a sanitizer runtime start its own helper thread before the count.
    std::thread([] {}).join();
    threads_at_start_ = CountThreads();
    sockets_at_start_ = CountSockets();
  }

  // With the gates closed, the threads, sockets and other descriptors are those counted with
  // the servers up.
  static void ExpectGatesLeftNothing(int threads, int sockets, int files) {
    EXPECT_TRUE(WaitUntil([&] { return CountThreads() == threads; }, milliseconds(10000)))
        << CountThreads() << " threads after closing the gates, " << threads
        << " before opening them";
    EXPECT_TRUE(WaitUntil([&] { return CountSockets() == sockets; }, milliseconds(10000)))
        << CountSockets() << " sockets after closing the gates, " << sockets
        << " before opening them";
    EXPECT_TRUE(WaitUntil([&] { return CountFiles() == files; }, milliseconds(10000)))
        << CountFiles() << " descriptors after closing the gates, " << files
        << " before opening them";
  }
  // Requests and polls under `budget` of faults; then the server behaves again, each gate
  // serves within a deadline (the pollers carry out the fail-overs and open lost gates again
  // meanwhile), every result is checked, and closing the gates leaves nothing behind.
  static void RunUnderFaults(Soak& soak, milliseconds budget) {
    const int threads = CountThreads();
    const int sockets = CountSockets();
    const int files = CountFiles();
    ASSERT_TRUE(soak.OpenGates());
    soak.StartRequests();
    soak.StartPolling();
    soak.RunChaos(budget, true);
    soak.StopRequests();
    EXPECT_EQ(soak.ServesAgain(soak.Ha(), milliseconds(8000 * kSlow)), kOk) << "the HA gate";
    EXPECT_EQ(soak.ServesAgain(soak.Single(), milliseconds(8000 * kSlow)), kOk)
        << "the single gate";
    soak.StopPolling();
    soak.CheckResults();

    soak.CloseGates();
    soak.CheckNoConnections();
    ExpectGatesLeftNothing(threads, sockets, files);
  }

  // With the servers and the adapter gone, they are those of the start.
  void ExpectNothingLeft() const {
    EXPECT_TRUE(WaitUntil([&] { return CountThreads() == threads_at_start_; },
                          milliseconds(10000)))
        << CountThreads() << " threads at the end, " << threads_at_start_ << " at the start";
    EXPECT_TRUE(WaitUntil([&] { return CountSockets() == sockets_at_start_; },
                          milliseconds(10000)))
        << CountSockets() << " sockets at the end, " << sockets_at_start_ << " at the start";
  }

  TempDir dir_;
  const milliseconds budget_;
  const int requests_per_thread_;
  const unsigned random_state_;
  int threads_at_start_ = 0;
  int sockets_at_start_ = 0;
};

// The whole budget of faults with requests and polls running; then the gates serve again,
// and closing them leaves nothing behind.
TEST_F(SoakTest, RequestsAndEventsUnderAMisbehavingServer) {
  {
    Soak soak(dir_.Path(), random_state_, requests_per_thread_);
    RunUnderFaults(soak, budget_);
  }
  ExpectNothingLeft();
}

// The same faults through the exported functions, on the process's adapter.
TEST_F(SoakTest, ExportedCallsUnderAMisbehavingServer) {
  // The process's adapter reads vomtel.ini from the current directory when it is made.
  dir_.WriteFile(kSettingsFileName, "HEARTBEAT_PERIOD=" + std::to_string(kHeartbeatMs) +
                                        "\nLOGPATH=" + dir_.Path() + "\n");
  {
    CurrentDirectoryScope here(dir_.Path());
    OrbaAdapter::Instance();
  }
  {
    Soak soak(dir_.Path(), random_state_ + 2, requests_per_thread_, Calls::kExported);
    RunUnderFaults(soak, budget_ / 3);
  }
  ExpectNothingLeft();
}

// The gates are closed while requests and polls run on them: every request begun after the
// close gives 3007, and nothing is left behind.
TEST_F(SoakTest, ClosingWhileRequestsRunLeavesNothingBehind) {
  {
    Soak soak(dir_.Path(), random_state_ + 1, requests_per_thread_);
    const int threads = CountThreads();
    const int sockets = CountSockets();
    const int files = CountFiles();
    ASSERT_TRUE(soak.OpenGates());
    soak.StartRequests();
    soak.StartPolling();
    soak.RunChaos(budget_ / 6, false);

    soak.ForbidOpens();
    soak.CloseGates();
    const auto before = soak.RequestsDone();
    EXPECT_TRUE(WaitUntil([&] { return soak.EveryThreadDid(before, 3); }, milliseconds(10000)))
        << "requests stopped after the close";
    soak.Stop();
    soak.CheckResults();

    soak.CheckNoConnections();
    ExpectGatesLeftNothing(threads, sockets, files);
  }
  ExpectNothingLeft();
}

}  // namespace
}  // namespace vomtel::test
