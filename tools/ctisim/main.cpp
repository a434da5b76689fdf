// ctisim: a CTI server simulator to run beside the library. Answers the open (active, or
// standby with --standby), the monitor and device requests and every later request with
// result 1 (or as a --rule says), prints one line per request, and after each make-call
// request pushes a few call events. With --flow it runs a flow file (timed pushes, pushes on
// requests, link drops; see README.md). Ends on SIGINT or SIGTERM, or after --exit-after seconds.
//
// Output, one line each, flushed at once:
//   ctisim listening on ADDRESS:PORT (active|standby)
//   conn N class 0xCC code 0xCC session 0xSSSSSSSS number N body HEX HEX ...
//   flow line N: ...            (what a flow step or trigger did)
//   flow finished               (every step of the flow has run)
//   ctisim stopped
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tools/ctisim/flow_parser.h"
#include "tools/ctisim/flow_runner.h"
#include "tools/ctisim/make_call_answer.h"
#include "tools/ctisim/rule_text.h"
#include "tools/ctisim/sim_server.h"

namespace {

struct Args {
  std::string address = "127.0.0.1";
  unsigned port = 7000;
  bool standby = false;
  int events = 4;
  double exit_after = 0;  // 0: run until a signal
  double keep_alive = 10;  // seconds between keep-alive frames; 0: none
  int version_byte = -1;   // version byte of the open reply; -1: the request's own
  std::vector<ctisim::RuleText> rules;  // a rule for 0x41:0x65 replaces the call events
  std::string flow;                     // flow file; its make-call triggers replace them too
  bool help = false;
};

// One line per option; on standard output for --help, on standard error after a bad argument.
// `program`: the name it was started as (ctisim in the build tree, vomtel-ctisim installed).
void Usage(std::FILE* out, const char* program) {
  const char* slash = std::strrchr(program, '/');
  std::fprintf(out, "usage: %s [OPTION]...\n", slash ? slash + 1 : program);
  std::fprintf(out,
               "  --address ADDRESS     loopback address to listen on: 127.x.y.z or localhost"
               " (default 127.0.0.1)\n"
               "  --port N              port to listen on; 0 picks a free one (default 7000)\n"
               "  --standby             answer the open as the standby server\n"
               "  --events N            call events pushed after each make-call request"
               " (default 4)\n"
               "  --exit-after SECONDS  stop after this many seconds (default: at SIGINT or"
               " SIGTERM)\n"
               "  --keepalive SECONDS   seconds between keep-alive frames; 0: none (default 10)\n"
               "  --version-byte N      version byte of the open reply (default: the request's)\n"
               "  --rule CLASS:CODE=RESULT[/HEXDATA][@DELAYMS]  reply to a request kind so\n"
               "  --rule CLASS:CODE=withhold                    never reply to a request kind\n"
               "  --flow FILE           run a flow file of timed and triggered pushes\n"
               "  --help                print this help and exit\n");
}

bool Parse(int argc, char** argv, Args* args) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    const char* v = nullptr;
    if (a == "--help") {
      args->help = true;
    } else if (a == "--standby") {
      args->standby = true;
    } else if (a == "--address" && (v = value())) {
      args->address = std::strcmp(v, "localhost") == 0 ? "127.0.0.1" : v;
    } else if (a == "--port" && (v = value())) {
      args->port = static_cast<unsigned>(std::strtoul(v, nullptr, 10));
    } else if (a == "--events" && (v = value())) {
      args->events = std::atoi(v);
    } else if (a == "--exit-after" && (v = value())) {
      args->exit_after = std::strtod(v, nullptr);
    } else if (a == "--keepalive" && (v = value())) {
      args->keep_alive = std::strtod(v, nullptr);
    } else if (a == "--rule" && (v = value())) {
      auto rule = ctisim::ParseRuleText(v);
      if (!rule) {
        std::fprintf(stderr, "ctisim: bad rule: %s\n", v);
        return false;
      }
      args->rules.push_back(*rule);
    } else if (a == "--flow" && (v = value())) {
      args->flow = v;
    } else if (a == "--version-byte" && (v = value())) {
      args->version_byte = static_cast<int>(std::strtol(v, nullptr, 0));
    } else {
      return false;
    }
  }
  return args->port <= 65535 && args->events >= 0 && args->keep_alive >= 0 &&
         args->version_byte <= 255;
}

}  // namespace

int main(int argc, char** argv) {
  Args args;
  if (!Parse(argc, argv, &args)) {
    Usage(stderr, argc > 0 ? argv[0] : "ctisim");
    return 2;
  }
  if (args.help) {
    Usage(stdout, argc > 0 ? argv[0] : "ctisim");
    return 0;
  }
  std::optional<ctisim::Flow> flow;
  if (!args.flow.empty()) {
    ctisim::FlowError error;
    flow = ctisim::LoadFlowFile(args.flow, &error);
    if (!flow) {
      if (error.line > 0) {
        std::fprintf(stderr, "ctisim: %s:%d: %s\n", args.flow.c_str(), error.line,
                     error.message.c_str());
      } else {
        std::fprintf(stderr, "ctisim: %s\n", error.message.c_str());
      }
      return 2;
    }
  }
  bool flow_makes_calls = false;
  if (flow) {
    for (const ctisim::FlowTrigger& t : flow->triggers) {
      flow_makes_calls |= t.match.cls == ctisim::kClassCall && t.match.code == ctisim::kCodeMakeCall;
    }
  }
  // Signals are taken by sigtimedwait below; block them before the server thread starts.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  ctisim::SimOptions options;
  options.address = args.address;
  options.port = static_cast<std::uint16_t>(args.port);
  options.open.active_flag = args.standby ? 0 : 1;
  if (args.version_byte >= 0) options.open.version = static_cast<std::uint8_t>(args.version_byte);
  std::optional<ctisim::SimServer> server;
  try {
    server.emplace(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }

  // The version byte each connection opened with decides the layout of its event bodies.
  std::mutex versions_mu;
  std::map<int, std::uint8_t> versions;
  server->SetOnRequest([&](const ctisim::Request& r) {
    if (ctisim::IsOpen(r.cls, r.code)) {
      std::lock_guard<std::mutex> lock(versions_mu);
      versions[r.connection] =
          args.version_byte >= 0 ? static_cast<std::uint8_t>(args.version_byte) : r.version;
    }
    std::printf("conn %d class 0x%02x code 0x%02x session 0x%08x number %u body %s\n",
                r.connection, r.cls, r.code, r.session_id, r.number, ctisim::Hex(r.body).c_str());
    std::fflush(stdout);
  });

  ctisim::SimServer& sim = *server;
  ctisim::MakeCallEvents call_events;
  call_events.count = args.events;
  const ctisim::ReplyRule make_call =
      ctisim::MakeCallRule(sim, call_events, [&](int connection) {
        std::lock_guard<std::mutex> lock(versions_mu);
        return versions[connection];
      });
  if (!flow_makes_calls) sim.SetRule(ctisim::kClassCall, ctisim::kCodeMakeCall, make_call);
  for (const ctisim::RuleText& r : args.rules) sim.SetRule(r.cls, r.code, r.rule);
  sim.SetKeepAlive(std::chrono::duration_cast<ctisim::Millis>(
      std::chrono::duration<double>(args.keep_alive)));

  std::printf("ctisim listening on %s:%u (%s)\n", sim.Address().c_str(), sim.Port(),
              args.standby ? "standby" : "active");
  std::fflush(stdout);

  std::optional<ctisim::FlowRunner> runner;
  if (flow) {
    ctisim::FlowRunner::Options flow_options;
    if (args.version_byte >= 0) flow_options.version = static_cast<std::uint8_t>(args.version_byte);
    flow_options.trace = [](const std::string& line) {
      std::printf("%s\n", line.c_str());
      std::fflush(stdout);
    };
    runner.emplace(sim, std::move(*flow), std::move(flow_options));
    runner->Start();
  }

  const auto deadline =
      std::chrono::steady_clock::now() +
      std::chrono::duration_cast<std::chrono::steady_clock::duration>(
          std::chrono::duration<double>(args.exit_after));
  for (;;) {
    timespec ts{1, 0};
    if (args.exit_after > 0) {
      const auto left = deadline - std::chrono::steady_clock::now();
      if (left <= std::chrono::steady_clock::duration::zero()) break;
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      ts.tv_sec = static_cast<time_t>(ns / 1000000000);
      ts.tv_nsec = static_cast<long>(ns % 1000000000);
    }
    const int sig = sigtimedwait(&signals, nullptr, &ts);
    if (sig == SIGINT || sig == SIGTERM) break;
  }
  if (runner) runner->Stop();
  sim.Stop();
  std::printf("ctisim stopped\n");
  return 0;
}
