// CSocket: the socket service of one session. It keeps one TCP connection to one server and,
// while connected, runs one service thread that reads what the server sends into the receive
// queue, flushes the send queue and ends the connection when the server has been silent for
// the heartbeat limit or longer (steady clock). The client sends no keep-alive of its own.
//
// Threads: the service thread is owned and joined. StartService returns only once the new
// loop runs; StopService asks the loop to end, shuts the socket down and joins the thread.
// Only the service thread closes its socket. When a loop ends (whatever the reason) it marks
// the service stopped, closes the socket abortively under the send queue's lock, drops unsent
// bytes (their writers, and any writer still on its way in, get 3014 at once) and then posts
// the connection-lost notice 0xA4 of its connection on the event queue, which also ends a wait
// for a reply on it (3014 when no reply is queued). A writer that finds nothing pending sends
// its frame to the socket itself (CSendQueue); what the socket does not take at once is queued
// and wakes the loop through an eventfd; the select time-out still bounds one pass, so the
// silence limit is tested at least that often.
//
// One thread reads the socket at a time: whoever holds its reader token. A caller waiting for
// its reply (ReadReply) takes it when it is free and reads the socket itself, sorting what
// comes into the receive queue as the loop does (events stay in order, the HA and
// connection-lost notices are queued, every read counts as the server heard), which saves the
// hand-off of the reply from the service thread. The loop takes the token for each read. While
// a caller holds it the socket is out of the loop's watch (an epoll set), so that what arrives
// wakes the caller alone; given back, the socket is watched again, and what the caller left
// unread wakes the loop at once. A caller that finds the connection closed asks the loop to
// end; the loop ends the connection as always, after taking the token, so no caller reads a
// socket being closed.
//
// One CSocket can be started again after its loop ended: each start is a new connection with
// a new process-wide unique id, on which the send and reply queues start empty.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/sockets/socket_watch.h"
#include "platform/sockets/wake_event.h"
#include "vomtel/core/logger.h"
#include "vomtel/core/recv_queue.h"
#include "vomtel/core/send_queue.h"
#include "vomtel/core/stream.h"
#include "vomtel/core/tcp_channel.h"
#include "vomtel/core/timings.h"

namespace vomtel {

class CSocket final : private ReplyWaitReader {
 public:
  CSocket(CLogger& logger, const Timings& timings);
  // Stops the service and joins its thread.
  ~CSocket();
  CSocket(const CSocket&) = delete;
  CSocket& operator=(const CSocket&) = delete;

  // Ends a loop still running, connects to the dotted IPv4 address within the connect
  // time-out and starts the service thread. True once the new loop runs; false when the
  // connection could not be made (no thread runs then). Start and stop calls of several
  // threads are taken one at a time.
  bool StartService(const std::string& ip, std::uint16_t port);
  // Asks the loop to end, shuts the socket down and joins the service thread. Returns at once
  // when no loop runs. Never call it from the service thread (nothing calls out of it).
  void StopService();
  // True when no loop runs: never started, or the connection is gone.
  bool Stopped() const { return stopped_.load(); }

  // The longest allowed silence of the server, in milliseconds (default 40000).
  void SetHeartbeatLimit(int ms) { heartbeat_ms_.store(ms); }
  // The longest wait of one pass of the loop (default 0 s, 10000 us). Below 1 ms counts as 1 ms.
  void SetSelectTimeout(int sec, int usec);
  // Counts now as the last moment the server was heard.
  void TouchActivity();
  // True while the silence since the server was last heard is shorter than the limit.
  bool IsAlive() const;

  // Id of the current (or last) connection; 0 before the first. Unique in the process.
  std::uint64_t Connection() const { return connection_.load(); }

  // Queues the frame and waits up to the send wait of the timings: 1, 2, 3013 or 3014 as
  // CSendQueue::Write; 3014 at once when no loop runs, or when the loop ends before the
  // frame's last byte has gone out.
  int Write(const Stream& frame);

  // The oldest reply, waiting up to `wait` (CRecvQueue::ReadReply), reading the socket on this
  // thread while no other thread reads it.
  int ReadReply(Stream& out, std::chrono::milliseconds wait) {
    return recv_queue_.ReadReply(out, wait, this);
  }

  CSendQueue& SendQueue() { return send_queue_; }
  CRecvQueue& RecvQueue() { return recv_queue_; }

  // Called on a waiting caller's thread each time it is about to take the socket to read its
  // reply (tests: what the loop does in that moment). Set before the service starts.
  void SetCallerReadHook(std::function<void()> hook) { caller_read_hook_ = std::move(hook); }

 private:
  // Gives the reader token back when it goes.
  class ReaderHold {
   public:
    explicit ReaderHold(CSocket& socket) : socket_(socket) {}
    ~ReaderHold() { socket_.GiveReaderBack(); }
    ReaderHold(const ReaderHold&) = delete;
    ReaderHold& operator=(const ReaderHold&) = delete;

   private:
    CSocket& socket_;
  };

  void Run(std::uint64_t connection);
  void StopLocked();
  std::chrono::milliseconds PassTimeout() const;
  // A caller's read of the socket (ReplyWaitReader).
  bool ReadFor(std::uint64_t connection, std::chrono::steady_clock::time_point deadline) override;
  // The reader token: TakeReader true when taken here (by a caller waiting for its reply, or
  // by the loop); a caller's hold takes the socket out of the loop's watch until it is given
  // back. WaitReader takes it whatever the wait (no caller keeps it long).
  bool TakeReader(bool caller);
  void GiveReaderBack();
  void WaitReader();
  // The loop watches the socket for writing while the send queue holds bytes.
  void WatchWrites(bool write);
  // What a read found: the service thread's, or a caller's for it.
  void ReadSocket();

  CLogger& logger_;
  const Timings timings_;
  CSendQueue send_queue_;
  CRecvQueue recv_queue_;
  CTcpChannel channel_;
  WakeEvent wake_;
  // The loop's wait on the socket and its wake-up.
  SocketWatch watch_{wake_.Fd()};
  // The reader token and the watch's interest in the socket, under reader_mutex_; and the
  // wake-up of a caller's wait on the socket when the loop ends.
  std::mutex reader_mutex_;
  bool reader_ = false;
  bool caller_reading_ = false;
  bool write_watched_ = false;
  WakeEvent reader_wake_;

  std::atomic<bool> stop_{true};
  std::atomic<bool> stopped_{true};
  std::atomic<int> heartbeat_ms_{40000};
  std::atomic<int> select_sec_{0};
  std::atomic<int> select_usec_{10000};
  std::atomic<std::int64_t> last_activity_ns_{0};  // steady clock
  std::atomic<std::uint64_t> connection_{0};

  std::mutex life_mutex_;  // start and stop, one at a time; never taken by the service thread
  std::thread thread_;
  std::atomic<std::thread::id> service_thread_id_{};

  std::function<void()> caller_read_hook_;

  std::mutex started_mutex_;
  std::condition_variable started_signal_;
  bool started_ = false;
};

}  // namespace vomtel
