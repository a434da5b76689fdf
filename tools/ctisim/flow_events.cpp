#include "tools/ctisim/flow_events.h"

#include <ctime>

#include "tools/ctisim/agent_state_events.h"
#include "tools/ctisim/call_events.h"
#include "tools/ctisim/frame_reader.h"

namespace ctisim {
namespace {

constexpr std::uint8_t kCodeAgentState = 0xDD;

bool Is(const Request* r, std::uint8_t cls, std::uint8_t code) {
  return r != nullptr && r->cls == cls && r->code == code;
}

// The agent-state request's fields: DN, mode, agent id, group, part, reason, work mode.
AgentStateParties FromAgentStateRequest(const Request& r) {
  FrameReader in = r.Fields();
  AgentStateParties p;
  p.device = in.GetStr8();
  in.GetU8();  // the mode asked for: the event code tells it
  p.agent_id = in.GetStr8();
  p.group = in.GetStr8();
  in.GetStr8();  // part
  p.reason = in.GetU8();
  p.work_mode = in.GetU8();
  return p;
}

}  // namespace

BuiltEvent BuildFlowEvent(const FlowEvent& e, const FlowContext& context) {
  BuiltEvent out;
  out.code = e.code;
  const Request* r = context.request;
  switch (e.kind) {
    case FlowEventKind::kCall: {
      CallParties p;
      p.monitored = context.device;
      if (Is(r, kClassCall, kCodeMakeCall)) {
        FrameReader in = r->Fields();
        p.monitored = in.GetStr8();
        p.other = in.GetStr8();
        p.call_id = 1000u + r->number;
      }
      if (e.device) p.monitored = *e.device;
      if (e.party) {
        p.other = *e.party;
      } else if (e.code == kEventConnectionCleared) {
        p.other = p.monitored;
      }
      if (e.call) p.call_id = *e.call;
      p.version = context.version;
      CallData data;
      data.uei = e.uei;
      data.ci = e.ci;
      data.cnid = e.cnid;
      data.queue = e.queue;
      data.cause = e.cause.value_or(0);
      out.body = CallEventBody(e.code, p, data);
      out.call = p.call_id;
      break;
    }
    case FlowEventKind::kAgentState: {
      AgentStateParties p;
      p.device = context.device;
      if (Is(r, kClassCall, kCodeAgentState)) p = FromAgentStateRequest(*r);
      if (e.device) p.device = *e.device;
      if (e.agent) p.agent_id = *e.agent;
      if (e.group) p.group = *e.group;
      if (e.work) p.work_mode = *e.work;
      if (e.reason) p.reason = *e.reason;
      out.body = AgentStateEventBody(e.code, p);
      break;
    }
    case FlowEventKind::kPrivate:
      out.body = Frame().PutU32(e.sub).PutBytes(e.bytes).Take();
      break;
    case FlowEventKind::kRaw:
      out.body = e.bytes;
      break;
  }
  return out;
}

EventHead FlowEventHead(std::uint8_t version, std::chrono::system_clock::time_point now) {
  EventHead head;
  head.version = version;
  const std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  head.year = static_cast<std::uint16_t>(local.tm_year + 1900);
  head.month = static_cast<std::uint8_t>(local.tm_mon + 1);
  head.day = static_cast<std::uint8_t>(local.tm_mday);
  head.hour = static_cast<std::uint8_t>(local.tm_hour);
  head.minute = static_cast<std::uint8_t>(local.tm_min);
  head.second = static_cast<std::uint8_t>(local.tm_sec);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
      1000;
  head.millisecond = static_cast<std::uint16_t>(ms);
  return head;
}

}  // namespace ctisim
