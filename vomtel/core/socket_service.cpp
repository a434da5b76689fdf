#include "vomtel/core/socket_service.h"

#include <algorithm>
#include <exception>
#include <string>
#include <system_error>
#include <thread>

#include "platform/sockets/poll_wait.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {
namespace {

// Connection ids are unique in the process, so a notice of one connection is never taken for
// one of another, whichever CSocket made them.
std::atomic<std::uint64_t> next_connection{0};

std::int64_t SteadyNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The line after "Connect fail.": where to and why, the cause as its errno value and text.
std::string ConnectFailureText(const std::string& ip, std::uint16_t port, int error) {
  return "[vomtelSock : StartService] connect to " + ip + ":" + std::to_string(port) +
         " failed: errno[" + std::to_string(error) + "] " +
         std::error_code(error, std::generic_category()).message();
}

}  // namespace

CSocket::CSocket(CLogger& logger, const Timings& timings)
    : logger_(logger), timings_(timings), send_queue_(logger), recv_queue_(logger) {
  send_queue_.SetQueuedHook([this] { wake_.Signal(); });
  send_queue_.EndConnection();  // no connection yet
  TouchActivity();
}

CSocket::~CSocket() { StopService(); }

bool CSocket::StartService(const std::string& ip, std::uint16_t port) {
  std::lock_guard<std::mutex> life(life_mutex_);
  StopLocked();
  int error = 0;
  if (!channel_.Connect(ip, port, timings_.connectTimeout, &error)) {
    logger_.Write("[vomtelSock : StartService] Connect fail.", kLogInfo);
    if (logger_.Enabled(kLogInfo)) {
      logger_.Write(ConnectFailureText(ip, port, error), kLogInfo);
    }
    return false;
  }
  // A new connection: nothing of the last one is carried over but its events.
  const std::uint64_t connection = ++next_connection;
  {
    WaitReader();  // a caller of the last connection may still be about to look at it
    ReaderHold hold(*this);
    connection_.store(connection);
    send_queue_.BeginConnection(&channel_);
    recv_queue_.BeginConnection(connection);
    reader_wake_.Drain();
    std::lock_guard<std::mutex> lock(reader_mutex_);
    write_watched_ = false;
    watch_.SetInterest(true, false);
    watch_.Attach(channel_.Fd());
  }
  wake_.Drain();
  TouchActivity();
  stop_.store(false);
  stopped_.store(false);
  {
    std::lock_guard<std::mutex> lock(started_mutex_);
    started_ = false;
  }
  try {
    thread_ = std::thread(&CSocket::Run, this, connection);
  } catch (const std::exception&) {
    {
      std::lock_guard<std::mutex> lock(reader_mutex_);
      watch_.Detach();
    }
    send_queue_.EndConnection([this] { channel_.Close(); });
    stop_.store(true);
    stopped_.store(true);
    logger_.Write("[vomtelSock : StartService] Connect fail.", kLogInfo);
    return false;
  }
  {
    std::unique_lock<std::mutex> lock(started_mutex_);
    started_signal_.wait(lock, [&] { return started_; });
  }
  logger_.Write("[vomtelSock : StartService] Connect Success.", kLogInfo);
  return true;
}

void CSocket::StopService() {
  if (service_thread_id_.load() == std::this_thread::get_id()) {
    stop_.store(true);  // asked from inside the loop: it ends after this pass
    return;
  }
  std::lock_guard<std::mutex> life(life_mutex_);
  StopLocked();
}

void CSocket::StopLocked() {
  if (!thread_.joinable()) return;
  stop_.store(true);
  channel_.Shutdown();
  wake_.Signal();
  thread_.join();
}

void CSocket::SetSelectTimeout(int sec, int usec) {
  select_sec_.store(sec);
  select_usec_.store(usec);
}

std::chrono::milliseconds CSocket::PassTimeout() const {
  const std::int64_t sec = std::max(select_sec_.load(), 0);
  const std::int64_t usec = std::max(select_usec_.load(), 0);
  const std::int64_t ms = sec * 1000 + (usec + 999) / 1000;
  return std::chrono::milliseconds(std::max<std::int64_t>(ms, 1));
}

void CSocket::TouchActivity() { last_activity_ns_.store(SteadyNowNs()); }

bool CSocket::IsAlive() const {
  const std::int64_t elapsed_ms = (SteadyNowNs() - last_activity_ns_.load()) / 1000000;
  return elapsed_ms < 0 || elapsed_ms < heartbeat_ms_.load();
}

bool CSocket::TakeReader(bool caller) {
  std::lock_guard<std::mutex> lock(reader_mutex_);
  if (reader_) return false;
  reader_ = true;
  caller_reading_ = caller;
  // What comes while a caller reads wakes the caller alone.
  if (caller) watch_.SetInterest(false, write_watched_);
  return true;
}

void CSocket::GiveReaderBack() {
  std::lock_guard<std::mutex> lock(reader_mutex_);
  reader_ = false;
  // The loop watches the socket again; what the caller left unread wakes it at once.
  if (caller_reading_) watch_.SetInterest(true, write_watched_);
  caller_reading_ = false;
}

void CSocket::WatchWrites(bool write) {
  std::lock_guard<std::mutex> lock(reader_mutex_);
  if (write == write_watched_) return;
  write_watched_ = write;
  watch_.SetInterest(!caller_reading_, write);
}

void CSocket::WaitReader() {
  while (!TakeReader(false)) {
    reader_wake_.Signal();
    std::this_thread::yield();
  }
}

void CSocket::ReadSocket() {
  const int result = recv_queue_.ReceiveAvailable(channel_);
  TouchActivity();
  if (result == kConnectionClosed) {
    stop_.store(true);
    wake_.Signal();
  }
}

bool CSocket::ReadFor(std::uint64_t connection, std::chrono::steady_clock::time_point deadline) {
  if (caller_read_hook_) caller_read_hook_();
  // Without its own wake-up a caller's wait could keep the loop from ending: the loop reads.
  if (reader_wake_.Fd() < 0 || !watch_.Shared() || !TakeReader(true)) return false;
  ReaderHold hold(*this);
  if (stop_.load() || stopped_.load() || connection_.load() != connection) return false;
  // The loop may have read the reply after the caller last looked at the queue and before it
  // took the socket: nothing would come on the socket for it, so the caller looks again first.
  if (recv_queue_.ReplyCount() > 0) return true;
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  const PollOutcome outcome = PollSocket(channel_.Fd(), false, reader_wake_.Fd(),
                                         std::max(left, std::chrono::milliseconds(0)));
  if (outcome.status < 0 || outcome.woken) return false;  // the loop ends the connection
  if (!outcome.readable) return true;                       // the deadline has come
  try {
    ReadSocket();
  } catch (const std::exception&) {
    // Out of memory while queueing a frame: as on the service thread, the connection ends.
    stop_.store(true);
    wake_.Signal();
  }
  return !stop_.load();
}

int CSocket::Write(const Stream& frame) {
  if (Stopped()) return kNotConnected;
  return send_queue_.Write(frame, timings_.sendWait);
}

void CSocket::Run(std::uint64_t connection) {
  service_thread_id_.store(std::this_thread::get_id());
  logger_.Write("[vomtelSock : StartService] StartService OK", kLogInfo);
  {
    std::lock_guard<std::mutex> lock(started_mutex_);
    started_ = true;
  }
  started_signal_.notify_all();

  try {
    while (!stop_.load()) {
      WatchWrites(send_queue_.HasPending());
      const PollOutcome outcome = watch_.Wait(PassTimeout());
      if (outcome.status < 0) stop_.store(true);
      if (outcome.woken) wake_.Drain();
      if (outcome.readable) {
        if (TakeReader(false)) {
          ReaderHold hold(*this);
          ReadSocket();
        } else {
          // A caller took the socket a moment ago (or it reports an error the caller reads).
          std::this_thread::yield();
        }
      }
      if (send_queue_.Flush(channel_) == kConnectionClosed) stop_.store(true);
      if (!IsAlive()) stop_.store(true);
    }
  } catch (const std::exception&) {
    // Out of memory while queueing a frame: the connection ends as if it had been lost.
    stop_.store(true);
  }

  logger_.Write("[vomtelSock : StopService] StopService OK", kLogInfo);
  // A caller reading the socket lets go of it before it is closed, and none takes it after.
  stop_.store(true);
  WaitReader();
  {
    ReaderHold hold(*this);
    {
      std::lock_guard<std::mutex> lock(reader_mutex_);
      watch_.Detach();
    }
    // Stopped before the pending writers are woken: one that fails now sees the service
    // stopped. A writer that passed the stopped test a moment ago is refused by the send queue
    // itself. The socket is closed under the send queue's lock, which writers hold while they
    // send on it.
    stopped_.store(true);
    send_queue_.EndConnection([this] { channel_.Close(); });
    recv_queue_.PostConnectionLost(connection);
  }
  service_thread_id_.store(std::thread::id());
}

}  // namespace vomtel
