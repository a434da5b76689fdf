#include "tests/e2e/harness/desk_server.h"

#include <algorithm>

namespace desk {
namespace {

constexpr std::uint8_t kCallClass = 0x41;
constexpr std::uint8_t kSwitchCodes[] = {
    kAgentStateCode, kMakeCallCode,     kAnswerCode,   kClearCode,      kHoldCode,
    kRetrieveCode,   kConsultationCode, kTransferCode, kConferenceCode, kReconnectCode};

}  // namespace

std::optional<AgentStateRequest> DecodeAgentState(const ctisim::Request& r) {
  if (r.cls != kCallClass || r.code != kAgentStateCode) return std::nullopt;
  ctisim::FrameReader f = r.Fields();
  AgentStateRequest a;
  a.dn = f.GetStr8();
  a.mode = f.GetU8();
  a.agentId = f.GetStr8();
  a.agentGroup = f.GetStr8();
  a.agentPart = f.GetStr8();
  a.reason = f.GetU8();
  a.workMode = f.GetU8();
  a.connection = r.connection;
  if (!f.ok()) return std::nullopt;
  return a;
}

std::string CalledNumber(const ctisim::Request& r) {
  ctisim::FrameReader f = r.Fields();
  if (r.code == kMakeCallCode) {
    f.GetStr8();  // calling
    return f.GetStr8();
  }
  if (r.code == kConsultationCode) {
    f.GetU32();   // active call
    f.GetStr8();  // its device
    return f.GetStr8();
  }
  return {};
}

DeskServer::DeskServer(std::string agentDn, ctisim::SimOptions options)
    : dn_(std::move(agentDn)), sim_(std::make_unique<ctisim::SimServer>(std::move(options))) {
  InstallRules();
}

DeskServer::~DeskServer() { sim_->Stop(); }

void DeskServer::InstallRules() {
  for (std::uint8_t code : kSwitchCodes) {
    ctisim::ReplyRule rule;
    rule.hook = [this](const ctisim::Request& r) { return Answer(r); };
    sim_->SetRule(kCallClass, code, rule);
  }
}

void DeskServer::PlaySwitch(bool on) {
  std::lock_guard<std::mutex> lock(mu_);
  play_ = on;
}

void DeskServer::EndDialledCalls(bool on) {
  std::lock_guard<std::mutex> lock(mu_);
  endDialled_ = on;
}

std::uint32_t DeskServer::NextId() { return ++nextId_; }

ctisim::Bytes DeskServer::EventFrameOf(CallEvent e) const {
  e.monitored = dn_;
  e.version = version_;
  return ctisim::EventFrame(e.code, CallEventBody(e));
}

std::vector<ctisim::Bytes> DeskServer::Answer(const ctisim::Request& r) {
  std::vector<ctisim::Bytes> out = ctisim::BuildAnswer(r, ctisim::ReplyRule{}, {});
  std::lock_guard<std::mutex> lock(mu_);
  version_ = r.version;
  if (!play_) return out;
  auto event = [&](CallEvent e) { out.push_back(EventFrameOf(std::move(e))); };
  switch (r.code) {
    case kAgentStateCode: {
      const std::optional<AgentStateRequest> a = DecodeAgentState(r);
      if (!a || a->mode < 0 || a->mode > 5) break;
      AgentStateEvent e;
      e.mode = a->mode;
      e.monitored = a->dn;
      e.agentId = a->agentId;
      e.agentGroup = a->agentGroup;
      e.reason = static_cast<std::uint8_t>(a->reason);
      out.push_back(ctisim::EventFrame(AgentStateCode(a->mode), AgentStateBody(e)));
      break;
    }
    case kMakeCallCode: {
      current_ = {NextId(), CalledNumber(r)};
      event(CallEvent::Of(kOriginated, current_.id).Other(current_.other).Called(current_.other));
      event(CallEvent::Of(kEstablished, current_.id)
                .Other(current_.other)
                .Called(current_.other)
                .Cnid(current_.id));
      if (endDialled_) {
        event(CallEvent::Of(kConnectionCleared, current_.id).Other(dn_));
        current_ = {};
      }
      break;
    }
    case kAnswerCode:
      event(CallEvent::Of(kEstablished, current_.id)
                .Other(current_.other)
                .Called(dn_)
                .Cnid(current_.id));
      break;
    case kHoldCode:
      held_ = current_;
      event(CallEvent::Of(kHeld, held_.id).Other(held_.other));
      break;
    case kRetrieveCode:
      current_ = held_;
      held_ = {};
      event(CallEvent::Of(kRetrieved, current_.id).Other(current_.other));
      break;
    case kClearCode:
      event(CallEvent::Of(kConnectionCleared, current_.id).Other(dn_));
      current_ = {};
      break;
    case kConsultationCode: {
      // The active call goes on hold at the switch and the new call rings at the destination.
      held_ = current_;
      consult_ = {NextId(), CalledNumber(r)};
      event(CallEvent::Of(kHeld, held_.id).Other(held_.other));
      event(CallEvent::Of(kOriginated, consult_.id).Other(consult_.other).Called(consult_.other));
      event(CallEvent::Of(kDelivered, consult_.id).Other(consult_.other).Called(consult_.other));
      event(CallEvent::Of(kEstablished, consult_.id)
                .Other(consult_.other)
                .Called(consult_.other)
                .Cnid(consult_.id));
      break;
    }
    case kTransferCode:
      // The agent leaves: the held caller and the consulted party are joined.
      event(CallEvent::Of(kTransferred, consult_.id)
                .OldIds(held_.id, consult_.id)
                .Other(held_.other)
                .Third(dn_));
      current_ = held_ = consult_ = {};
      break;
    case kConferenceCode:
      event(CallEvent::Of(kConferenced, consult_.id)
                .OldIds(held_.id, consult_.id)
                .Other(held_.other)
                .Third(consult_.other));
      current_ = consult_;
      held_ = {};
      break;
    case kReconnectCode:
      event(CallEvent::Of(kConnectionCleared, consult_.id).Other(consult_.other));
      event(CallEvent::Of(kRetrieved, held_.id).Other(held_.other));
      current_ = held_;
      held_ = consult_ = {};
      break;
    default:
      break;
  }
  return out;
}

int DeskServer::Push(CallEvent e) {
  ctisim::Bytes frame;
  {
    std::lock_guard<std::mutex> lock(mu_);
    frame = EventFrameOf(std::move(e));
  }
  return sim_->Send(std::move(frame));
}

int DeskServer::PushAll(const std::vector<CallEvent>& events) {
  ctisim::Bytes frames;
  {
    std::lock_guard<std::mutex> lock(mu_);
    for (const CallEvent& e : events) {
      const ctisim::Bytes f = EventFrameOf(e);
      frames.insert(frames.end(), f.begin(), f.end());
    }
  }
  return sim_->Send(std::move(frames));
}

int DeskServer::PushAgentState(int mode, std::uint8_t reason) {
  AgentStateEvent e;
  e.mode = mode;
  e.monitored = dn_;
  e.reason = reason;
  return sim_->Send(ctisim::EventFrame(AgentStateCode(mode), AgentStateBody(e)));
}

std::uint32_t DeskServer::PushDelivered(const std::string& caller, const std::string& uei,
                                        std::optional<std::uint32_t> queue) {
  ctisim::Bytes frame;
  std::uint32_t id;
  {
    std::lock_guard<std::mutex> lock(mu_);
    current_ = {NextId(), caller};
    id = current_.id;
    frame =
        EventFrameOf(CallEvent::Of(kDelivered, id).Other(caller).Called(dn_).Uei(uei).Queue(queue));
  }
  sim_->Send(std::move(frame));
  return id;
}

int DeskServer::PushEstablished(std::uint32_t cnid) {
  ctisim::Bytes frame;
  {
    std::lock_guard<std::mutex> lock(mu_);
    frame = EventFrameOf(
        CallEvent::Of(kEstablished, current_.id).Other(current_.other).Called(dn_).Cnid(cnid));
  }
  return sim_->Send(std::move(frame));
}

int DeskServer::PushCleared() {
  ctisim::Bytes frame;
  {
    std::lock_guard<std::mutex> lock(mu_);
    frame = EventFrameOf(CallEvent::Of(kConnectionCleared, current_.id).Other(dn_));
    current_ = {};
  }
  return sim_->Send(std::move(frame));
}

std::uint32_t DeskServer::PushWholeCall(const std::string& caller, std::uint32_t cnid) {
  ctisim::Bytes frames;
  std::uint32_t id;
  {
    std::lock_guard<std::mutex> lock(mu_);
    id = NextId();
    for (const ctisim::Bytes& f :
         {EventFrameOf(CallEvent::Of(kDelivered, id).Other(caller).Called(dn_)),
          EventFrameOf(CallEvent::Of(kEstablished, id).Other(caller).Called(dn_).Cnid(cnid)),
          EventFrameOf(CallEvent::Of(kConnectionCleared, id).Other(dn_))}) {
      frames.insert(frames.end(), f.begin(), f.end());
    }
  }
  sim_->Send(std::move(frames));
  return id;
}

std::uint32_t DeskServer::CurrentCall() const {
  std::lock_guard<std::mutex> lock(mu_);
  return current_.id;
}

std::vector<AgentStateRequest> DeskServer::AgentStates() const {
  std::vector<AgentStateRequest> out;
  for (const ctisim::Request& r : sim_->Received()) {
    if (std::optional<AgentStateRequest> a = DecodeAgentState(r)) out.push_back(std::move(*a));
  }
  return out;
}

std::size_t DeskServer::CountAgentStates(int mode) const {
  const std::vector<AgentStateRequest> all = AgentStates();
  return static_cast<std::size_t>(std::count_if(
      all.begin(), all.end(), [&](const AgentStateRequest& a) { return a.mode == mode; }));
}

std::optional<AgentStateRequest> DeskServer::WaitForAgentState(int mode, Millis timeout,
                                                               std::size_t nth) {
  const std::optional<ctisim::Request> r = sim_->WaitForRequestMatching(
      [&](const ctisim::Request& q) {
        const std::optional<AgentStateRequest> a = DecodeAgentState(q);
        return a && a->mode == mode;
      },
      timeout, nth);
  if (!r) return std::nullopt;
  return DecodeAgentState(*r);
}

}  // namespace desk
