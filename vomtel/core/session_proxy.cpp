#include "vomtel/core/session_proxy.h"

#include <algorithm>
#include <string>
#include <vector>

#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/core/socket_service.h"

namespace vomtel {

CSessionProxy::CSessionProxy(const Timings& timings) : timings_(timings) {}

CSessionProxy::~CSessionProxy() = default;

void CSessionProxy::SetTimings(const Timings& timings) {
  std::lock_guard<std::mutex> lock(timings_mutex_);
  timings_ = timings;
}

Timings CSessionProxy::GetTimings() const {
  std::lock_guard<std::mutex> lock(timings_mutex_);
  return timings_;
}

void CSessionProxy::SetQueueLimits(const QueueLimits& limits) {
  std::lock_guard<std::mutex> lock(timings_mutex_);
  queue_limits_ = limits;
}

QueueLimits CSessionProxy::GetQueueLimits() const {
  std::lock_guard<std::mutex> lock(timings_mutex_);
  return queue_limits_;
}

void CSessionProxy::AddSession(std::uint16_t port, std::uint8_t ext, std::uint8_t dType,
                               std::uint8_t version, std::uint16_t headerWord,
                               const std::string& ip, const std::string& dn,
                               const std::string& app) {
  auto session = std::make_shared<CSession>(port, ext, ip, dn, app, GetTimings());
  session->SetDType(dType);
  session->SetVersion(version);
  session->SetHeaderWord(headerWord);
  session->SetStateSignal(signal_);
  session->Socket().RecvQueue().SetLimits(GetQueueLimits());
  std::lock_guard<std::mutex> lock(assemble_mutex_);
  // The number is taken under the lock, with the session added at once, so that two threads
  // never take the same one.
  const auto [it, fresh] = assembling_.try_emplace(std::this_thread::get_id(), 0);
  if (fresh) it->second = table_.LowestFreeGate();
  table_.Add(it->second, std::move(session));
}

int CSessionProxy::NextGate() const {
  std::lock_guard<std::mutex> lock(assemble_mutex_);
  const auto it = assembling_.find(std::this_thread::get_id());
  return it != assembling_.end() ? it->second : table_.LowestFreeGate();
}

std::vector<std::shared_ptr<CSession>> CSessionProxy::AssemblingSessions() const {
  std::lock_guard<std::mutex> lock(assemble_mutex_);
  const auto it = assembling_.find(std::this_thread::get_id());
  if (it == assembling_.end()) return {};
  return table_.Sessions(it->second);
}

int CSessionProxy::Open(int heartbeatMs, int selectSec, int selectUsec, int* gateOut) {
  std::lock_guard<std::mutex> serial(open_mutex_);
  int gate = 0;
  {
    std::lock_guard<std::mutex> lock(assemble_mutex_);
    const auto it = assembling_.find(std::this_thread::get_id());
    if (it != assembling_.end()) {
      gate = it->second;
      assembling_.erase(it);  // sessions this thread adds from now on make its next gate
    } else {
      gate = table_.LowestFreeGate();
    }
  }
  const std::vector<std::shared_ptr<CSession>> sessions = table_.Sessions(gate);
  const SessionMode mode = sessions.size() <= 1 ? SessionMode::kSingle : SessionMode::kHa;

  int result = kNotConnected;
  std::vector<std::shared_ptr<CSession>> failed;
  for (const auto& session : sessions) {
    CSocket& socket = session->Socket();
    if (!IsOpen(session->State())) socket.SetSelectTimeout(selectSec, selectUsec);
    socket.SetHeartbeatLimit(heartbeatMs);
    socket.TouchActivity();
    const int opened = session->Open(mode);
    if (opened == kOk && session->State() == kStateActive) {
      table_.SelectActive(gate);
      result = kOk;
    } else if (opened != kOk) {
      failed.push_back(session);
    }
  }

  if (result == kOk) {
    for (const auto& session : failed) {
      const FailoverStep step =
          NextStep(session->State(), FailoverEvent::kOpenFailed, mode == SessionMode::kHa);
      if (step.reconnect) session->StartTryOpen(mode);
    }
  } else {
    // Nothing serves: the connections this open made go, and the gate number is free again.
    // Only this open's sessions go: with none, the number may be another thread's by now.
    for (const auto& session : sessions) session->Close();
    if (!sessions.empty()) table_.RemoveIfSame(gate, sessions);
  }
  if (gateOut != nullptr) *gateOut = gate;
  return result;
}

namespace {

// Runs `operation` on every session of the gate but those never opened; the result is that
// of the session active right after its call.
template <class Operation>
int AcrossGate(const std::vector<std::shared_ptr<CSession>>& sessions, Operation operation) {
  if (sessions.empty()) return kNoSession;
  int result = kNotConnected;
  for (const auto& session : sessions) {
    if (session->State() == kStateConstructed) continue;
    const int r = operation(*session);
    if (session->State() == kStateActive) result = r;
  }
  return result;
}

}  // namespace

int CSessionProxy::MonitorStart(int gate) {
  return AcrossGate(table_.Sessions(gate), [](CSession& s) { return s.MonitorStart(); });
}

int CSessionProxy::MonitorStop(int gate) {
  return AcrossGate(table_.Sessions(gate), [](CSession& s) { return s.MonitorStop(); });
}

int CSessionProxy::AddDevice(const std::string& dn, std::uint8_t dType, std::uint8_t ext,
                             int gate) {
  return AcrossGate(table_.Sessions(gate),
                    [&](CSession& s) { return s.AddDevice(dn, dType, ext); });
}

int CSessionProxy::RemoveDevice(const std::string& dn, int gate) {
  return AcrossGate(table_.Sessions(gate), [&](CSession& s) { return s.RemoveDevice(dn); });
}

void CSessionProxy::Close(int gate) {
  const std::vector<std::shared_ptr<CSession>> sessions = table_.Sessions(gate);
  for (const auto& session : sessions) session->Close();
  table_.Remove(gate);
  std::lock_guard<std::mutex> lock(assemble_mutex_);
  std::erase_if(assembling_, [gate](const auto& entry) { return entry.second == gate; });
}

void CSessionProxy::CloseAll() {
  for (const int gate : table_.Gates()) Close(gate);
}

void CSessionProxy::SetConnectionLost(Stream& event) {
  const std::uint8_t lost = kConnectionLost;
  event = Stream(&lost, 1);
}

bool CSessionProxy::IsLostNotice(const Stream& event) {
  return event.Size() == 1 && event.At(0) == kConnectionLost;
}

bool CSessionProxy::IsHaNotice(const Stream& event) {
  return event.Size() == 1 && (event.At(0) == kHaActive || event.At(0) == kHaStandby);
}

int CSessionProxy::ReadCurrentEvent(CSession& session, Stream& out, std::uint64_t& connection,
                                    bool noticesOnly) {
  for (;;) {
    const int result =
        noticesOnly ? session.ReadNotice(out, &connection) : session.ReadEvent(out, &connection);
    if (result != kOk || !IsLostNotice(out)) return result;
    if (connection == session.Connection()) return result;
    // A notice of an earlier connection (a failed attempt): the session is not concerned.
  }
}

std::optional<FailoverEvent> CSessionProxy::NoticeEvent(const Stream& event) {
  if (IsLostNotice(event)) return FailoverEvent::kLinkLost;
  if (event.Size() == 1 && event.At(0) == kHaStandby) return FailoverEvent::kToStandby;
  return std::nullopt;
}

bool CSessionProxy::FollowNotice(FailoverEvent event, std::uint64_t connection, CSession& session,
                                 int gate) {
  std::optional<FailoverStep> step;
  if (event == FailoverEvent::kLinkLost) {
    step = session.Apply(event, connection);
    if (!step) return false;  // a new connection began meanwhile
    Log(gate, "<CSessionProxy::IsTerminatedSession>gate[" + std::to_string(session.SessionId()) +
                  "] active down",
        kLogDebug);
  } else {
    if (session.State() != kStateActive) return false;
    // Written while the session still serves, to its log.
    Log(gate, "<CSessionProxy::IsActiveToStandby>gate[" + std::to_string(session.SessionId()) +
                  "] active to standby",
        kLogDebug);
    step = session.Apply(event);
    if (!step) return false;
  }
  if (step->promoteStandby) table_.PromoteStandby(gate, &session);
  return step->reconnect;
}

int CSessionProxy::Notify(Stream& event, int gate) {
  const std::vector<std::shared_ptr<CSession>> sessions = table_.Sessions(gate);
  if (sessions.empty()) {
    // Never opened, or closed: nothing can come back, so the caller hears so at once.
    SetConnectionLost(event);
    return kOk;
  }

  int result = kNotConnected;
  bool taken = false;  // the caller's Stream holds an event of this fetch
  std::vector<std::shared_ptr<CSession>> lost;
  for (const auto& session : sessions) {
    std::uint64_t connection = 0;
    if (session->State() == kStateActive && taken) {
      // Two sessions active at once (both servers answered the open as active): the event
      // already taken stays the caller's, this session's events wait for the next fetch. Only
      // a notice that changes its role is acted on now.
      Stream notice;
      if (ReadCurrentEvent(*session, notice, connection, true) != kOk) continue;
      const std::optional<FailoverEvent> change = NoticeEvent(notice);
      if (change && FollowNotice(*change, connection, *session, gate)) lost.push_back(session);
    } else if (session->State() == kStateActive) {
      const int r = ReadCurrentEvent(*session, event, connection);
      // Only a frame read now is looked at: after 3010 the caller's Stream still holds the
      // frame of an earlier session, whose notice must not demote this one too.
      const std::optional<FailoverEvent> change =
          r == kOk ? NoticeEvent(event) : std::nullopt;
      if (change && FollowNotice(*change, connection, *session, gate)) lost.push_back(session);
      if (change == FailoverEvent::kLinkLost) continue;  // the notice is no event for the caller
      result = r;
      // An HA notice is no event of the caller's: a session promoted by it, later in table
      // order, may still hand its event over in this fetch.
      taken = r == kOk && !IsHaNotice(event);
    } else {
      // A session that does not serve: its events are dropped, only the loss of its link
      // concerns the gate.
      Stream scratch;
      const int r = ReadCurrentEvent(*session, scratch, connection);
      if (r == kOk && IsLostNotice(scratch) &&
          FollowNotice(FailoverEvent::kLinkLost, connection, *session, gate)) {
        lost.push_back(session);
      }
    }
  }
  for (const auto& session : lost) session->StartTryOpen(session->OpenMode());

  if (result == kOk || result == kNoEvent) return result;
  if (WaitForActive(gate, sessions)) return kNoEvent;

  // All down. Only the sessions this fetch saw are closed: when the gate was closed meanwhile
  // and its number taken again, the new gate is not this fetch's to close.
  SetConnectionLost(event);
  if (table_.Sessions(gate) == sessions) {
    Log(gate, "<CSessionProxy::Notify>gate[" + std::to_string(gate) + "] active - standby all down",
        kLogVerbose);
  }
  for (const auto& session : sessions) session->Close();
  table_.RemoveIfSame(gate, sessions);
  return kOk;
}

bool CSessionProxy::WaitForActive(int gate) { return WaitForActive(gate, table_.Sessions(gate)); }

bool CSessionProxy::WaitForActive(int gate,
                                  const std::vector<std::shared_ptr<CSession>>& sessions) {
  const Timings timings = GetTimings();
  const auto deadline =
      StateSignal::Clock::now() + timings.activeCheckPeriod * std::max(timings.activeChecks, 0);
  for (;;) {
    const std::uint64_t seen = signal_->Generation();
    if (table_.Sessions(gate) != sessions) return false;
    for (const auto& session : sessions) {
      if (session->State() == kStateActive) return true;
    }
    const auto now = StateSignal::Clock::now();
    if (now >= deadline) return false;
    signal_->WaitChange(seen, std::min(deadline, now + timings.activeCheckPeriod));
  }
}

void CSessionProxy::Log(int gate, std::string_view text, int level) {
  if (const std::shared_ptr<CSession> session = table_.FindActive(gate)) {
    session->Logger().Write(text, level);
  }
}

std::shared_ptr<CSession> CSessionProxy::FindActive(int gate) { return table_.FindActive(gate); }

bool CSessionProxy::HasSessions(int gate) { return table_.Count(gate) > 0; }

std::optional<std::uint32_t> CSessionProxy::GetGateId(int gate) {
  const std::shared_ptr<CSession> session = table_.FindActive(gate);
  if (!session) return std::nullopt;
  return session->SessionId();
}

std::uint8_t CSessionProxy::GetVersion(int gate) {
  const std::shared_ptr<CSession> session = table_.FindActive(gate);
  return session ? session->Version() : 0;
}

std::uint8_t CSessionProxy::GetExtMode(int gate) {
  const std::shared_ptr<CSession> session = table_.FindActive(gate);
  return session ? session->ExtMode() : 0;
}

void CSessionProxy::SetLogLevel(int level) {
  for (const auto& session : AssemblingSessions()) session->Logger().SetLevel(level);
}

int CSessionProxy::SetLogFile(const std::string& directory, const std::string& folder) {
  int result = 0;
  for (const auto& session : AssemblingSessions()) result = session->SetLogPath(directory, folder);
  return result;
}

void CSessionProxy::SetLogUtf8(int flag) {
  for (const auto& session : AssemblingSessions()) session->Logger().SetUtf8(flag != 0);
}

}  // namespace vomtel
