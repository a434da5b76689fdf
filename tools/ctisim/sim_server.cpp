#include "tools/ctisim/sim_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "tools/ctisim/default_replies.h"
#include "tools/ctisim/envelope.h"
#include "tools/ctisim/sim_connection.h"

namespace ctisim {
namespace {

using Clock = std::chrono::steady_clock;

std::uint16_t RuleKey(std::uint8_t cls, std::uint8_t code) {
  return static_cast<std::uint16_t>((cls << 8) | code);
}

bool ParseLoopback(const std::string& address, in_addr* out) {
  if (inet_pton(AF_INET, address.c_str(), out) != 1) return false;
  return (ntohl(out->s_addr) >> 24) == 127;
}

}  // namespace

// Counts a public call for as long as it is in progress: waiting for the lock, holding it, or
// waiting on `changed_`.
struct SimServer::CallerMark {
  explicit CallerMark(std::atomic<int>& count) : count_(count) { count_.fetch_add(1); }
  ~CallerMark() { count_.fetch_sub(1); }
  CallerMark(const CallerMark&) = delete;
  CallerMark& operator=(const CallerMark&) = delete;
  std::atomic<int>& count_;
};

// The lock as a public call takes it: the call is counted before it waits for the lock and
// until it has let go of it, so that the server thread gives way to it (see Run).
class SimServer::CallLock : private CallerMark, public std::unique_lock<std::mutex> {
 public:
  explicit CallLock(const SimServer& sim)
      : CallerMark(sim.callers_), std::unique_lock<std::mutex>(sim.mu_) {}
};

SimServer::SimServer(SimOptions options) : options_(std::move(options)) {
  in_addr addr{};
  if (!ParseLoopback(options_.address, &addr)) {
    throw std::runtime_error("ctisim: not a loopback address: " + options_.address);
  }
  port_ = options_.port;
  wake_fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake_fd_ < 0) throw std::runtime_error("ctisim: eventfd failed");
  std::unique_lock<std::mutex> lock(mu_);
  if (!ListenLocked()) {
    lock.unlock();
    ::close(wake_fd_);
    throw std::runtime_error("ctisim: cannot listen on " + options_.address + ":" +
                             std::to_string(options_.port) + ": " + std::strerror(errno));
  }
  ResetRulesLocked();
  thread_ = std::thread([this] { Run(); });
  loop_id_ = thread_.get_id();
}

SimServer::~SimServer() {
  Stop();
  if (wake_fd_ >= 0) ::close(wake_fd_);
}

void SimServer::Stop() {
  {
    CallLock lock(*this);
    stopping_ = true;
  }
  Wake();
  if (thread_.joinable() && !OnLoopThread()) thread_.join();
}

void SimServer::Wake() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(wake_fd_, &one, sizeof one);
}

bool SimServer::ListenLocked() {
  in_addr addr{};
  ParseLoopback(options_.address, &addr);
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr = addr;
  sa.sin_port = htons(port_);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof sa) != 0 || ::listen(fd, 64) != 0) {
    const int saved = errno;
    ::close(fd);
    errno = saved;
    return false;
  }
  if (port_ == 0) {  // only the first bind picks the port; listening again reuses it
    socklen_t len = sizeof sa;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
    port_ = ntohs(sa.sin_port);
  }
  listen_fd_ = fd;
  return true;
}

// --- Scripting ----------------------------------------------------------------------------

void SimServer::SetRule(std::uint8_t cls, std::uint8_t code, ReplyRule rule) {
  CallLock lock(*this);
  rules_[RuleKey(cls, code)] = std::move(rule);
}

void SimServer::AddOnceRule(std::uint8_t cls, std::uint8_t code, ReplyRule rule) {
  CallLock lock(*this);
  once_rules_[RuleKey(cls, code)].push_back(std::move(rule));
}

void SimServer::SetDefaultRule(ReplyRule rule) {
  CallLock lock(*this);
  default_rule_ = std::move(rule);
}

void SimServer::ResetRules() {
  CallLock lock(*this);
  ResetRulesLocked();
}

void SimServer::ResetRulesLocked() {
  rules_.clear();
  once_rules_.clear();
  default_rule_.reset();
  ReplyRule no_answer;  // sent without waiting, also under a default rule of the test's
  no_answer.withhold = true;
  rules_[RuleKey(kClassSession, kCodeClose)] = no_answer;
}

void SimServer::SetSessionId(std::uint32_t session_id) {
  CallLock lock(*this);
  options_.open.session_id = session_id;
}

void SimServer::SetActiveFlag(std::uint8_t flag) {
  CallLock lock(*this);
  options_.open.active_flag = flag;
}

void SimServer::SetSilent(bool silent) {
  CallLock lock(*this);
  silent_ = silent;
}

void SimServer::SetOnRequest(std::function<void(const Request&)> observer) {
  CallLock lock(*this);
  observer_ = std::move(observer);
}

void SimServer::SetOnAnswered(std::function<void(const Request&)> observer) {
  CallLock lock(*this);
  answered_ = std::move(observer);
}

void SimServer::SetEnvelopeNonce(std::optional<std::uint32_t> nonce) {
  CallLock lock(*this);
  envelope_nonce_ = nonce;
}

void SimServer::SetKeepAlive(Millis period) {
  {
    CallLock lock(*this);
    keep_alive_ = period;
    next_keep_alive_ = Clock::now() + period;
  }
  Wake();
}

Bytes SimServer::SealIfAsked(Bytes frame) const {
  return envelope_nonce_ ? SealEnvelope(frame, *envelope_nonce_) : frame;
}

ReplyRule SimServer::RuleFor(const Request& request) {
  const std::uint16_t key = RuleKey(request.cls, request.code);
  auto once = once_rules_.find(key);
  if (once != once_rules_.end() && !once->second.empty()) {
    ReplyRule rule = std::move(once->second.front());
    once->second.erase(once->second.begin());
    return rule;
  }
  auto standing = rules_.find(key);
  if (standing != rules_.end()) return standing->second;
  return default_rule_ ? *default_rule_ : DefaultReplyRule(request);
}

// --- Pushing ------------------------------------------------------------------------------

int SimServer::Queue(Bytes bytes, int connection, const SendShape& shape, bool close_after) {
  int queued = 0;
  {
    CallLock lock(*this);
    for (auto& [id, conn] : connections_) {
      if (connection != kAllConnections && id != connection) continue;
      QueueOn(*conn, bytes, shape, close_after);
      ++queued;
    }
  }
  if (queued > 0) Wake();
  return queued;
}

int SimServer::Send(Bytes bytes, int connection, SendShape shape) {
  return Queue(std::move(bytes), connection, shape, false);
}

int SimServer::SendFrame(Bytes frame, int connection, const SendShape& shape) {
  {
    CallLock lock(*this);
    frame = SealIfAsked(std::move(frame));
  }
  return Queue(std::move(frame), connection, shape, false);
}

int SimServer::PushEvent(std::uint8_t code, const Bytes& body, const EventHead& head,
                         int connection, SendShape shape) {
  return SendFrame(EventFrame(code, body, head), connection, shape);
}

int SimServer::PushHaNotice(bool active, int connection, SendShape shape) {
  return SendFrame(HaNoticeFrame(active), connection, shape);
}

int SimServer::PushEnvelope(const Bytes& frame, std::uint32_t nonce, int connection,
                            SendShape shape) {
  return Send(SealEnvelope(frame, nonce), connection, shape);
}

int SimServer::PushEmptyEnvelope(std::uint8_t kind, int connection, SendShape shape) {
  return Send(EmptyEnvelope(kind), connection, shape);
}

int SimServer::PushList(const Bytes& content, int connection, SendShape shape) {
  return SendFrame(ListFrame(content), connection, shape);
}

int SimServer::CloseAfterSent(int connection, Millis delay) {
  SendShape shape;
  shape.delay = delay;
  return Queue(Bytes{}, connection, shape, true);
}

// --- The link -----------------------------------------------------------------------------

void SimServer::RunOnLoop(std::unique_lock<std::mutex>& lock, std::function<void()> fn) {
  if (OnLoopThread()) {
    fn();
    return;
  }
  if (stopping_) return;
  loop_tasks_.push_back(std::move(fn));
  const std::uint64_t mine = ++tasks_posted_;
  Wake();
  changed_.wait(lock, [&] { return tasks_done_ >= mine || stopping_; });
}

void SimServer::DropConnections(bool abortive) {
  CallLock lock(*this);
  RunOnLoop(lock, [this, abortive] {
    while (!connections_.empty()) CloseLocked(connections_.begin()->first, abortive);
  });
}

void SimServer::DropConnection(int connection, bool abortive) {
  CallLock lock(*this);
  RunOnLoop(lock, [this, connection, abortive] { CloseLocked(connection, abortive); });
}

void SimServer::SetAcceptMode(AcceptMode mode) {
  {
    CallLock lock(*this);
    accept_mode_ = mode;
  }
  Wake();
}

void SimServer::StopListening() {
  CallLock lock(*this);
  RunOnLoop(lock, [this] {
    if (listen_fd_ >= 0) ::close(listen_fd_);
    listen_fd_ = -1;
  });
}

bool SimServer::ResumeListening() {
  CallLock lock(*this);
  bool ok = false;
  RunOnLoop(lock, [this, &ok] { ok = listen_fd_ >= 0 || ListenLocked(); });
  return ok;
}

// --- Observation --------------------------------------------------------------------------

std::vector<Request> SimServer::Received() const {
  CallLock lock(*this);
  return received_;
}

void SimServer::ClearReceived() {
  CallLock lock(*this);
  received_.clear();
}

std::size_t SimServer::RequestCount() const {
  CallLock lock(*this);
  return received_.size();
}

std::size_t SimServer::CountRequests(std::uint8_t cls, std::uint8_t code) const {
  CallLock lock(*this);
  std::size_t n = 0;
  for (const Request& r : received_) n += (r.cls == cls && r.code == code) ? 1 : 0;
  return n;
}

std::optional<Request> SimServer::WaitForRequest(std::uint8_t cls, std::uint8_t code,
                                                 Millis timeout, std::size_t nth) {
  return WaitForRequestMatching(
      [cls, code](const Request& r) { return r.cls == cls && r.code == code; }, timeout, nth);
}

std::optional<Request> SimServer::WaitForRequestMatching(
    const std::function<bool(const Request&)>& match, Millis timeout, std::size_t nth) {
  CallLock lock(*this);
  std::optional<Request> found;
  changed_.wait_until(lock, Clock::now() + timeout, [&] {
    std::size_t seen = 0;
    for (const Request& r : received_) {
      if (match(r) && ++seen == nth) {
        found = r;
        return true;
      }
    }
    return false;
  });
  return found;
}

bool SimServer::WaitForRequestCount(std::size_t count, Millis timeout) {
  CallLock lock(*this);
  return changed_.wait_until(lock, Clock::now() + timeout,
                             [&] { return received_.size() >= count; });
}

int SimServer::LiveConnections() const {
  CallLock lock(*this);
  return static_cast<int>(connections_.size());
}

int SimServer::AcceptedConnections() const {
  CallLock lock(*this);
  return accepted_;
}

std::vector<int> SimServer::ConnectionIds() const {
  CallLock lock(*this);
  std::vector<int> ids;
  for (const auto& entry : connections_) ids.push_back(entry.first);
  return ids;
}

bool SimServer::WaitForLiveConnections(int count, Millis timeout) {
  CallLock lock(*this);
  return changed_.wait_until(lock, Clock::now() + timeout, [&] {
    return static_cast<int>(connections_.size()) == count;
  });
}

bool SimServer::WaitForAccepted(int count, Millis timeout) {
  CallLock lock(*this);
  return changed_.wait_until(lock, Clock::now() + timeout, [&] { return accepted_ >= count; });
}

bool SimServer::WaitUntilSent(Millis timeout) {
  CallLock lock(*this);
  return changed_.wait_until(lock, Clock::now() + timeout, [&] {
    for (const auto& entry : connections_) {
      if (entry.second->current || !entry.second->waiting.empty()) return false;
    }
    return true;
  });
}

std::size_t SimServer::JunkReceived() const {
  CallLock lock(*this);
  return junk_;
}

}  // namespace ctisim
