// The server thread of SimServer: accepting, reading and answering requests, writing what
// is due on each connection.
#include "tools/ctisim/sim_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <thread>
#include <cerrno>
#include <cstdio>

#include "tools/ctisim/envelope.h"
#include "tools/ctisim/sim_connection.h"

namespace ctisim {

using Clock = std::chrono::steady_clock;

void SimServer::QueueOn(Connection& conn, Bytes bytes, const SendShape& shape, bool close_after) {
  Batch batch;
  batch.due = Clock::now() + shape.delay;
  batch.seq = next_seq_++;
  batch.close_after = close_after;
  std::size_t at = 0;
  for (std::size_t chunk : shape.chunks) {
    if (at >= bytes.size()) break;
    if (chunk == 0) continue;
    const std::size_t n = std::min(chunk, bytes.size() - at);
    Piece piece;
    piece.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
    piece.gap_before = batch.pieces.empty() ? Millis{0} : shape.chunk_gap;
    batch.pieces.push_back(std::move(piece));
    at += n;
  }
  if (at < bytes.size()) {
    Piece piece;
    piece.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
    piece.gap_before = batch.pieces.empty() ? Millis{0} : shape.chunk_gap;
    batch.pieces.push_back(std::move(piece));
  }
  conn.waiting.push_back(std::move(batch));
}

void SimServer::CloseLocked(int id, bool abortive) {
  auto it = connections_.find(id);
  if (it == connections_.end()) return;
  if (abortive) {
    linger lg{1, 0};
    ::setsockopt(it->second->fd, SOL_SOCKET, SO_LINGER, &lg, sizeof lg);
  }
  ::close(it->second->fd);
  connections_.erase(it);
  changed_.notify_all();
}

// --- The server thread --------------------------------------------------------------------

void SimServer::AcceptLocked() {
  while (listen_fd_ >= 0) {
    const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;  // EAGAIN, or an error that the next pass meets again
    }
    ++accepted_;
    if (accept_mode_ == AcceptMode::kCloseAtOnce) {
      ::close(fd);
      continue;
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    auto conn = std::make_unique<Connection>();
    conn->id = next_id_++;
    conn->fd = fd;
    connections_[conn->id] = std::move(conn);
  }
  changed_.notify_all();
}

std::optional<Clock::time_point> SimServer::NextWake(const Connection& conn) const {
  if (conn.current) {
    if (conn.blocked) return std::nullopt;
    return conn.current->piece_ready;
  }
  std::optional<Clock::time_point> next;
  for (const Batch& b : conn.waiting) {
    if (!next || b.due < *next) next = b.due;
  }
  return next;
}

bool SimServer::WriteDue(Connection& conn, Clock::time_point now) {
  for (;;) {
    if (!conn.current) {
      auto best = conn.waiting.end();
      for (auto it = conn.waiting.begin(); it != conn.waiting.end(); ++it) {
        if (it->due > now) continue;
        if (best == conn.waiting.end() || it->due < best->due ||
            (it->due == best->due && it->seq < best->seq)) {
          best = it;
        }
      }
      if (best == conn.waiting.end()) return true;
      conn.current = std::move(*best);
      conn.waiting.erase(best);
      conn.current->piece_ready = now;
    }
    Batch& batch = *conn.current;
    while (batch.next < batch.pieces.size()) {
      if (batch.piece_ready > now) return true;
      Piece& piece = batch.pieces[batch.next];
      while (piece.sent < piece.bytes.size()) {
        const ssize_t n = ::send(conn.fd, piece.bytes.data() + piece.sent,
                                 piece.bytes.size() - piece.sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0) {
          if (errno == EINTR) continue;
          if (errno == EAGAIN || errno == EWOULDBLOCK) {
            conn.blocked = true;
            return true;
          }
          CloseLocked(conn.id, false);
          return false;
        }
        piece.sent += static_cast<std::size_t>(n);
      }
      conn.blocked = false;
      ++batch.next;
      if (batch.next < batch.pieces.size()) {
        batch.piece_ready = now + batch.pieces[batch.next].gap_before;
      }
    }
    const bool close = batch.close_after;
    conn.current.reset();
    if (close) {
      CloseLocked(conn.id, false);
      return false;
    }
  }
}

void SimServer::ServeReadable(Connection& conn, std::unique_lock<std::mutex>& lock) {
  const int id = conn.id;
  std::uint8_t buffer[65536];
  const ssize_t n = ::recv(conn.fd, buffer, sizeof buffer, MSG_DONTWAIT);
  if (n == 0) {
    CloseLocked(id, false);
    return;
  }
  if (n < 0) {
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) CloseLocked(id, false);
    return;
  }
  const std::size_t skipped_before = conn.decoder.skipped();
  conn.decoder.Feed(buffer, static_cast<std::size_t>(n));
  std::vector<Bytes> frames;
  while (auto frame = conn.decoder.Next()) frames.push_back(std::move(*frame));
  junk_ += conn.decoder.skipped() - skipped_before;
  // The connection may be closed by a hook from here on: only its id is used.
  for (Bytes& frame : frames) HandleFrame(id, std::move(frame), lock);
  // The answers go out now rather than at the top of the next round.
  if (frames.empty()) return;
  auto it = connections_.find(id);
  if (it != connections_.end() && !it->second->blocked) WriteDue(*it->second, Clock::now());
}

void SimServer::HandleFrame(int conn_id, Bytes frame, std::unique_lock<std::mutex>& lock) {
  bool enciphered = false;
  if (!frame.empty() && frame[0] == kEnvelope) {
    std::optional<Bytes> opened = OpenEnvelope(frame);
    if (!opened) {
      ++junk_;
      return;
    }
    frame = std::move(*opened);
    enciphered = true;
  }
  std::optional<Request> request = DecodeRequest(frame);
  if (!request) {
    ++junk_;
    return;
  }
  request->connection = conn_id;
  request->enciphered = enciphered;
  request->received_at = Clock::now();
  received_.push_back(*request);
  changed_.notify_all();
  if (observer_) {
    auto observer = observer_;
    lock.unlock();
    try {
      observer(*request);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "ctisim: request observer threw: %s\n", e.what());
    }
    lock.lock();
  }
  Answer(*request, lock);
  if (answered_) {
    auto answered = answered_;
    lock.unlock();
    try {
      answered(*request);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "ctisim: answer observer threw: %s\n", e.what());
    }
    lock.lock();
  }
}

void SimServer::Answer(const Request& request, std::unique_lock<std::mutex>& lock) {
  if (silent_) return;
  ReplyRule rule = RuleFor(request);
  std::vector<Bytes> frames;
  if (rule.hook) {
    auto hook = rule.hook;
    lock.unlock();
    try {
      frames = hook(request);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "ctisim: reply hook threw, no answer: %s\n", e.what());
    }
    lock.lock();
  } else if (!rule.withhold) {
    frames = BuildAnswer(request, rule, options_.open);
  }
  if (envelope_nonce_) {
    for (Bytes& f : frames) f = SealIfAsked(std::move(f));
  }
  auto it = connections_.find(request.connection);
  if (it == connections_.end()) return;
  if (frames.empty()) {
    if (rule.drop_after) QueueOn(*it->second, Bytes{}, rule.shape, true);
    return;
  }
  if (rule.gap.count() == 0 || !rule.shape.chunks.empty()) {
    Bytes all;
    for (const Bytes& f : frames) all.insert(all.end(), f.begin(), f.end());
    QueueOn(*it->second, std::move(all), rule.shape, rule.drop_after);
    return;
  }
  // One frame a piece, `gap` apart, going out as one batch.
  QueueOn(*it->second, std::move(frames.front()), rule.shape, rule.drop_after);
  Batch& batch = it->second->waiting.back();
  for (std::size_t i = 1; i < frames.size(); ++i) {
    Piece piece;
    piece.bytes = std::move(frames[i]);
    piece.gap_before = rule.gap;
    batch.pieces.push_back(std::move(piece));
  }
}

void SimServer::Run() {
  std::unique_lock<std::mutex> lock(mu_);
  std::vector<pollfd> fds;
  std::vector<int> ids;
  while (!stopping_) {
    if (!loop_tasks_.empty()) {
      std::vector<std::function<void()>> tasks;
      tasks.swap(loop_tasks_);
      for (auto& task : tasks) task();
      tasks_done_ += tasks.size();
      changed_.notify_all();
    }

    const Clock::time_point now = Clock::now();
    if (keep_alive_.count() > 0 && now >= next_keep_alive_) {
      next_keep_alive_ = now + keep_alive_;
      const Bytes beat = SealIfAsked(EventFrame(0, {}));
      for (auto& entry : connections_) QueueOn(*entry.second, beat, SendShape{}, false);
    }
    for (auto it = connections_.begin(); it != connections_.end();) {
      Connection& conn = *it->second;
      ++it;  // WriteDue may erase the connection
      WriteDue(conn, now);
    }
    changed_.notify_all();

    fds.clear();
    ids.clear();
    fds.push_back({wake_fd_, POLLIN, 0});
    ids.push_back(0);
    if (listen_fd_ >= 0 && accept_mode_ != AcceptMode::kLeavePending) {
      fds.push_back({listen_fd_, POLLIN, 0});
      ids.push_back(-1);
    }
    std::optional<Clock::time_point> wake_at;
    if (keep_alive_.count() > 0) wake_at = next_keep_alive_;
    for (const auto& [id, conn] : connections_) {
      const short events = static_cast<short>(POLLIN | (conn->blocked ? POLLOUT : 0));
      fds.push_back({conn->fd, events, 0});
      ids.push_back(id);
      if (auto next = NextWake(*conn); next && (!wake_at || *next < *wake_at)) wake_at = next;
    }
    timespec ts{};
    timespec* timeout = nullptr;
    if (wake_at) {
      const auto wait = std::max(Clock::duration::zero(), *wake_at - Clock::now());
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
      ts.tv_sec = static_cast<time_t>(ns / 1000000000);
      ts.tv_nsec = static_cast<long>(ns % 1000000000);
      timeout = &ts;
    }

    lock.unlock();
    const int ready = ::ppoll(fds.data(), fds.size(), timeout, nullptr);
    // A flood of input makes every poll return at once: let a public call waiting for the lock
    // have it between two rounds, or a test's wait could starve. With no call in progress the
    // round goes on at once.
    if (callers_.load() > 0) std::this_thread::yield();
    lock.lock();
    if (stopping_) break;
    if (ready <= 0) continue;

    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      if (ids[i] == 0) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = ::read(wake_fd_, &count, sizeof count);
      } else if (ids[i] == -1) {
        if (listen_fd_ == fds[i].fd && accept_mode_ != AcceptMode::kLeavePending) AcceptLocked();
      } else {
        auto it = connections_.find(ids[i]);
        if (it == connections_.end()) continue;
        if (fds[i].revents & POLLOUT) it->second->blocked = false;
        if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) ServeReadable(*it->second, lock);
      }
    }
  }
  while (!connections_.empty()) CloseLocked(connections_.begin()->first, false);
  if (listen_fd_ >= 0) ::close(listen_fd_);
  listen_fd_ = -1;
  tasks_done_ = tasks_posted_;
  changed_.notify_all();
}

}  // namespace ctisim
