#include "tools/ctisim/flow_runner.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>

#include "tools/ctisim/flow_events.h"
#include "tools/ctisim/flow_names.h"
#include "tools/ctisim/frame_reader.h"

namespace ctisim {
namespace {

constexpr std::uint8_t kCodeAgentState = 0xDD;

// The agent mode an agent-state request asks for (the byte after its DN).
std::optional<std::uint8_t> ModeOf(const Request& r) {
  if (r.cls != kClassCall || r.code != kCodeAgentState) return std::nullopt;
  FrameReader in = r.Fields();
  in.GetStr8();
  const std::uint8_t mode = in.GetU8();
  return in.ok() ? std::optional<std::uint8_t>(mode) : std::nullopt;
}

bool Matches(const RequestMatch& m, std::uint8_t cls, std::uint8_t code,
             std::optional<std::uint8_t> mode) {
  return m.cls == cls && m.code == code && (!m.mode || m.mode == mode);
}

std::string Hex2(std::uint8_t v) {
  static const char* digits = "0123456789abcdef";
  return std::string("0x") + digits[v >> 4] + digits[v & 15];
}

std::string RequestText(std::uint8_t cls, std::uint8_t code) {
  const std::string_view name = NameOfRequest(cls, code);
  const std::string bytes = Hex2(cls) + " " + Hex2(code);
  return name.empty() ? bytes : std::string(name) + " (" + bytes + ")";
}

std::string EventText(const FlowEvent& e, const BuiltEvent& built) {
  std::string text = EventLogName(built.code) + " (" + std::to_string(built.code) + ")";
  if (e.kind == FlowEventKind::kCall) text += " call " + std::to_string(built.call);
  if (e.kind == FlowEventKind::kPrivate) text += " sub-code " + std::to_string(e.sub);
  return text;
}

bool WaitsSomewhere(const std::vector<FlowStep>& steps) {
  for (const FlowStep& s : steps) {
    if (s.kind == FlowStep::Kind::kAwait) return true;
    if (s.kind == FlowStep::Kind::kRepeat && WaitsSomewhere(s.body)) return true;
  }
  return false;
}

}  // namespace

struct FlowRunner::State {
  SimServer& sim;
  const Flow flow;
  const Options options;
  const bool records = WaitsSomewhere(flow.steps);

  std::mutex mu;
  std::condition_variable changed;
  bool stopping = false;
  bool finished = false;
  std::map<int, std::uint8_t> versions;  // per connection, from its open request
  std::string learned_device;            // from the client's device or agent-state request
  struct Seen {
    std::uint8_t cls, code;
    std::optional<std::uint8_t> mode;
  };
  std::deque<Seen> seen;  // requests not yet passed by an await

  State(SimServer& s, Flow f, Options o) : sim(s), flow(std::move(f)), options(std::move(o)) {}

  void Trace(const std::string& line) const {
    if (options.trace) options.trace(line);
  }

  FlowContext Context(int connection, const Request* request) {
    std::lock_guard<std::mutex> lock(mu);
    FlowContext c;
    c.device = flow.device.value_or(learned_device);
    auto v = versions.find(connection);
    c.version = v != versions.end() ? v->second : options.version.value_or(0);
    c.request = request;
    return c;
  }

  // Server thread: after the answer to `r` was queued.
  void Answered(const Request& r) {
    const std::optional<std::uint8_t> mode = ModeOf(r);
    {
      std::lock_guard<std::mutex> lock(mu);
      if (stopping) return;
      if (IsOpen(r.cls, r.code)) versions[r.connection] = options.version.value_or(r.version);
      if (r.cls == kClassSession && r.code == kCodeAddDevice) {
        FrameReader in = r.Fields();
        in.Skip(2);  // device type, link mode
        std::string dn = in.GetStr8();
        if (in.ok() && !dn.empty()) learned_device = std::move(dn);
      } else if (mode && learned_device.empty()) {
        FrameReader in = r.Fields();
        learned_device = in.GetStr8();
      }
      if (records) {
        seen.push_back({r.cls, r.code, mode});
        changed.notify_all();
      }
    }
    for (const FlowTrigger& t : flow.triggers) {
      if (!Matches(t.match, r.cls, r.code, mode)) continue;
      const FlowContext context = Context(r.connection, &r);
      const BuiltEvent built = BuildFlowEvent(t.event, context);
      SendShape shape;
      shape.delay = t.event.after;
      const int n = sim.PushEvent(built.code, built.body,
                                  FlowEventHead(context.version, std::chrono::system_clock::now()),
                                  r.connection, shape);
      Trace("flow line " + std::to_string(t.line) + ": on " + RequestText(r.cls, r.code) +
            (mode ? " mode " + std::to_string(*mode) : "") + ": " + EventText(t.event, built) +
            (t.event.after.count() > 0 ? " in " + std::to_string(t.event.after.count()) + " ms"
                                       : "") +
            (n > 0 ? " to conn " + std::to_string(r.connection) : " (connection gone)"));
    }
  }

  // Runner thread. False once stopped.
  bool Run(const std::vector<FlowStep>& steps) {
    for (const FlowStep& step : steps) {
      if (!RunStep(step)) return false;
    }
    return true;
  }

  bool RunStep(const FlowStep& step) {
    const std::string at = "flow line " + std::to_string(step.line) + ": ";
    switch (step.kind) {
      case FlowStep::Kind::kWait: {
        std::unique_lock<std::mutex> lock(mu);
        return !changed.wait_for(lock, step.wait, [&] { return stopping; });
      }
      case FlowStep::Kind::kPush: {
        int sent = 0;
        BuiltEvent built;
        for (int id : sim.ConnectionIds()) {
          const FlowContext context = Context(id, nullptr);
          built = BuildFlowEvent(step.event, context);
          sent += sim.PushEvent(built.code, built.body,
                                FlowEventHead(context.version, std::chrono::system_clock::now()),
                                id);
        }
        if (sent == 0) built = BuildFlowEvent(step.event, Context(0, nullptr));
        Trace(at + EventText(step.event, built) + " to " +
              (sent == 0 ? std::string("no connection") : std::to_string(sent) + " connection(s)"));
        break;
      }
      case FlowStep::Kind::kAwait: {
        Trace(at + "waiting for a " + RequestText(step.match.cls, step.match.code) +
              (step.match.mode ? " mode " + std::to_string(*step.match.mode) : "") + " request");
        std::unique_lock<std::mutex> lock(mu);
        bool found = false;
        changed.wait(lock, [&] {
          while (!seen.empty() && !found) {
            found = Matches(step.match, seen.front().cls, seen.front().code, seen.front().mode);
            seen.pop_front();
          }
          return found || stopping;
        });
        if (!found) return false;
        break;
      }
      case FlowStep::Kind::kDrop:
        Trace(at + "dropping every connection" + (step.abortive ? " with a reset" : ""));
        sim.WaitUntilSent(options.drain);
        sim.DropConnections(step.abortive);
        break;
      case FlowStep::Kind::kRepeat:
        for (std::uint64_t i = 0; step.count == 0 || i < step.count; ++i) {
          if (!Run(step.body)) return false;
        }
        break;
    }
    std::lock_guard<std::mutex> lock(mu);
    return !stopping;
  }
};

FlowRunner::FlowRunner(SimServer& sim, Flow flow, Options options)
    : sim_(sim), state_(std::make_shared<State>(sim, std::move(flow), std::move(options))) {}

FlowRunner::~FlowRunner() { Stop(); }

void FlowRunner::Start() {
  if (thread_.joinable()) return;
  std::shared_ptr<State> state = state_;
  sim_.SetOnAnswered([state](const Request& r) { state->Answered(r); });
  thread_ = std::thread([state] {
    const bool done = state->Run(state->flow.steps);
    if (done) state->Trace("flow finished");
    std::lock_guard<std::mutex> lock(state->mu);
    state->finished = done;
    state->changed.notify_all();
  });
}

void FlowRunner::Stop() {
  {
    std::lock_guard<std::mutex> lock(state_->mu);
    state_->stopping = true;
    state_->changed.notify_all();
  }
  if (thread_.joinable()) {
    thread_.join();
    sim_.SetOnAnswered(nullptr);
  }
}

bool FlowRunner::WaitFinished(Millis timeout) {
  std::unique_lock<std::mutex> lock(state_->mu);
  return state_->changed.wait_for(lock, timeout, [&] { return state_->finished; });
}

}  // namespace ctisim
