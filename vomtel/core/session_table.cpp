#include "vomtel/core/session_table.h"

namespace vomtel {

void CSessionTable::Add(int gate, SessionPtr session) {
  std::lock_guard<std::mutex> lock(mutex_);
  all_[gate].push_back(std::move(session));
}

void CSessionTable::Remove(int gate) {
  std::lock_guard<std::mutex> lock(mutex_);
  all_.erase(gate);
  active_.erase(gate);
}

bool CSessionTable::RemoveIfSame(int gate, const std::vector<SessionPtr>& sessions) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = all_.find(gate);
  if (found == all_.end() || found->second != sessions) return false;
  all_.erase(found);
  active_.erase(gate);
  return true;
}

CSessionTable::SessionPtr CSessionTable::FirstInState(int gate, SessionState state,
                                                      const CSession* except) const {
  const auto found = all_.find(gate);
  if (found == all_.end()) return nullptr;
  for (const SessionPtr& session : found->second) {
    if (session.get() != except && session->State() == state) return session;
  }
  return nullptr;
}

void CSessionTable::SelectActive(int gate) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (SessionPtr session = FirstInState(gate, kStateActive)) active_[gate] = std::move(session);
}

bool CSessionTable::PromoteStandby(int gate, const CSession* except) {
  std::lock_guard<std::mutex> lock(mutex_);
  SessionPtr session = FirstInState(gate, kStateStandby, except);
  if (!session || !session->Apply(FailoverEvent::kTakeOver)) return false;
  active_[gate] = std::move(session);
  return true;
}

int CSessionTable::Count(int gate) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = all_.find(gate);
  return found == all_.end() ? 0 : static_cast<int>(found->second.size());
}

CSessionTable::SessionPtr CSessionTable::FindActive(int gate) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = active_.find(gate);
  if (found != active_.end() && found->second->State() == kStateActive) return found->second;
  if (SessionPtr session = FirstInState(gate, kStateActive)) return session;
  return found == active_.end() ? nullptr : found->second;
}

std::vector<CSessionTable::SessionPtr> CSessionTable::Sessions(int gate) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = all_.find(gate);
  return found == all_.end() ? std::vector<SessionPtr>{} : found->second;
}

std::vector<int> CSessionTable::Gates() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<int> gates;
  for (const auto& [gate, sessions] : all_) {
    if (!sessions.empty()) gates.push_back(gate);
  }
  return gates;
}

int CSessionTable::LowestFreeGate() const {
  std::lock_guard<std::mutex> lock(mutex_);
  int gate = 0;
  for (const auto& [number, sessions] : all_) {
    if (number < gate || sessions.empty()) continue;
    if (number != gate) break;
    ++gate;
  }
  return gate;
}

}  // namespace vomtel
