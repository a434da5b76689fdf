// CSession: the library's side of one connection to one CTI server.
//
// A session owns its logger, its socket service (CSocket) and the list of devices it has
// registered, runs the session-level requests (open, close, monitor start and stop, device
// add and remove) and, while its server is being retried, one reconnect thread that it owns
// and joins. Every request frame sent on it carries its version byte and header word.
//
// States (SessionState, failover.h): constructed (never opened), active, standby, down (its
// connection was lost). Every change of state is a step of NextStep (Apply); the gate proxy
// (CSessionProxy) decides which session of a gate serves.
//
// Threads: the operations run on their callers' threads (request threads, the event fetch,
// the reconnect thread). One exchange (a request frame out and its reply in) runs at a time
// per session: the session's own requests take LockExchange, and the request operations of
// the adapter hold it around their send and wait. Never call a session-level request while
// holding LockExchange of the same session.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "vomtel/core/failover.h"
#include "vomtel/core/logger.h"
#include "vomtel/core/reply_policy.h"
#include "vomtel/core/state_signal.h"
#include "vomtel/core/stream.h"
#include "vomtel/core/timings.h"

namespace vomtel {

class CSocket;
class CRecvQueue;

// The lock of one exchange of a session. While it is held an answer is awaited, and the
// session's receive side keeps the replies and list frames of a whole answer (CRecvQueue::
// SetAnswering); otherwise only a few that nothing asked for.
class ExchangeMutex {
 public:
  void lock();
  void unlock();
  bool try_lock();
  // The receive side told of the lock; set once, before the lock is first taken.
  void Attach(CRecvQueue& queue) { queue_ = &queue; }

 private:
  std::mutex mutex_;
  CRecvQueue* queue_ = nullptr;
};
using ExchangeLock = std::unique_lock<ExchangeMutex>;

// How an open reads the server's reply: kHa takes the active/standby flag of the reply,
// kSingle always opens as active.
enum class SessionMode : std::uint8_t { kHa = 1, kSingle = 2 };

// One registered device, as the reconnect loop registers it again.
struct DeviceEntry {
  std::string dn;
  std::uint8_t dType = 0;
  std::uint8_t ext = 0;
  bool operator==(const DeviceEntry&) const = default;
};

class CSession {
 public:
  // Constructed, request counter 1, session id 0. The logger is named after `ip` with `dn` as
  // its DN. `timings` is copied.
  CSession(std::uint16_t port, std::uint8_t ext, std::string ip, std::string dn, std::string app,
           const Timings& timings = Timings{});
  // Stops without traffic: ends and joins the reconnect loop and the socket service; sends
  // nothing to the server (process exit).
  ~CSession();

  CSession(const CSession&) = delete;
  CSession& operator=(const CSession&) = delete;

  // Set by the gate proxy after construction, before the session is opened.
  void SetDType(std::uint8_t dType) { dtype_ = dType; }
  void SetVersion(std::uint8_t version) { version_ = version; }
  void SetHeaderWord(std::uint16_t word) { header_word_ = word; }
  void SetStateSignal(std::shared_ptr<StateSignal> signal) { signal_ = std::move(signal); }

  // Connects and sends the open request (class 0x45, code 0x46), waiting one reply unit for
  // the reply. A link still up is ended first, under the exchange lock; its connection-lost
  // notice is then no loss of the session (Apply ignores it), unless no new link is made.
  // 1 on success (active, or standby for an HA open whose reply flag is not 1); 3014
  // when the connection cannot be made or is gone; 2 or 3013 from the send; 3013 when no reply
  // came; the server's result otherwise; 3025 when Dn or the application name exceeds 255
  // bytes. Every failure after the connect stops the socket service again; a failed open
  // leaves the state as it was. Remembers `mode` as the mode the session reconnects in.
  int Open(SessionMode mode);

  // Ends the session for good: stops and joins the reconnect loop (an attempt under way
  // included), then, when the session is open, stops the monitor and sends the close request
  // (class 0x45, code 0x1E) without waiting for a reply, and stops the socket service. After
  // Close no connection of this session is live and no reconnect loop starts again. Close does
  // not change the state. A second Close sends nothing again.
  void Close();

  // Monitor start (0x42 0x1E, one reply unit), monitor stop (0x42 0x28, three units), device
  // add (0x45 0x0A) and remove (0x45 0x50), three units each. 3014 without sending when the
  // socket service has stopped; else the first result that is not 1, or the reply's result.
  // AddDevice with 1 appends {dn, dType, ext} unless that Dn is listed; RemoveDevice with 1
  // removes every entry of that Dn.
  int MonitorStart();
  int MonitorStop();
  int AddDevice(const std::string& dn, std::uint8_t dType, std::uint8_t ext);
  int RemoveDevice(const std::string& dn);

  // Stamps the version byte into byte 5 and the header word into bytes 6-7 and queues the
  // frame: 3014 when the socket service has stopped, else CSocket::Write (1, 2, 3013, 3014). No
  // reply is awaited and LockExchange is not taken (callers that wait for a reply hold it).
  int Send(Stream& frame);

  // Starts the reconnect loop (TryOpen) on the session's own thread, unless one runs already
  // or the session was closed. The loop opens every retry period until an open and a monitor
  // start succeed, then registers the listed devices again, in order. After an open whose
  // monitor start failed the session keeps the state and the link that open gave it until the
  // next attempt, whose open ends that link first.
  void StartTryOpen(SessionMode mode);

  // The next list frame without waiting: 1 (logged with its dump) or 3010.
  int ReadListPacket(Stream& out);
  void DiscardListPackets();

  // The next event without waiting: 1 or 3010. `connection` receives the connection the
  // event came on (for the connection-lost notice 0xA4, the connection that ended).
  int ReadEvent(Stream& out, std::uint64_t* connection = nullptr);
  // The next event only when it is the connection-lost notice 0xA4 or the standby notice 18
  // (CRecvQueue::ReadNotice): 1 or 3010.
  int ReadNotice(Stream& out, std::uint64_t* connection = nullptr);

  // One request's send and wait at a time.
  ExchangeLock LockExchange();
  // The reply of `awaited`, waiting up to `wait`: 1 or 3013; 3014 at once when the connection
  // ends with no reply queued (CRecvQueue::ReadReply). Late replies (reply_policy.h) are
  // dropped on the way, each with its log line. The reply is read from its first byte.
  int ReadReply(Stream& out, std::chrono::milliseconds wait,
                const AwaitedReply& awaited = AwaitedReply{});
  // The requests of this session that gave up on their replies (reply_policy.h).
  GivenUpReplies& GivenUp() { return given_up_; }

  // Hands both texts to CLogger::SetPath and returns its result (1 made, 0 not).
  int SetLogPath(const std::string& directory, const std::string& folder);

  std::uint32_t SessionId() const { return session_id_; }
  std::uint8_t Version() const { return version_; }
  std::uint16_t HeaderWord() const { return header_word_; }
  std::uint8_t ExtMode() const { return ext_; }
  std::uint8_t DType() const { return dtype_; }
  std::uint16_t Port() const { return port_; }
  const std::string& Ip() const { return ip_; }
  const std::string& Dn() const { return dn_; }
  // The value the next session-level request takes from the counter.
  std::uint16_t Counter() const { return counter_; }

  SessionState State() const { return state_; }
  // Sets the state outside the fail-over steps (tests).
  void SetState(SessionState state);
  // Takes the step of `event` from the current state (NextStep) and returns it; the caller
  // carries out what it says the gate does next. Empty when the event changes nothing here:
  // it does not apply in this state, or (kLinkLost) the notice is of `connection` and that is
  // not the current connection (a stale notice).
  std::optional<FailoverStep> Apply(FailoverEvent event, std::uint64_t connection = 0);

  // The mode of the last successful open (kSingle before any).
  SessionMode OpenMode() const { return open_mode_; }
  bool Reconnecting() const { return reconnecting_; }
  // True when no socket loop runs (never connected, or the connection is gone).
  bool Stopped() const;
  // Id of the current (or last) connection.
  std::uint64_t Connection() const;
  // A copy of the device list, in order of registration.
  std::vector<DeviceEntry> Devices() const;

  CLogger& Logger() { return logger_; }
  const Timings& GetTimings() const { return timings_; }
  CSocket& Socket() { return *socket_; }

 private:
  // The reconnect thread's body: TryOpen, run again a retry period after anything it throws.
  void ReconnectLoop(SessionMode mode) noexcept;
  void TryOpen(SessionMode mode);
  // Marks the session closed, wakes its reconnect loop and joins it. True for the first call.
  bool EndLoop();
  // Attempts every retry period until an open and a monitor start succeed, or Close. Returns
  // the earliest moment of a next attempt (the last one's start plus the retry period).
  std::chrono::steady_clock::time_point RunAttempts(SessionMode mode);
  // Waits until `deadline` or until Close.
  void WaitRetry(std::chrono::steady_clock::time_point deadline);
  bool KeepTrying() const;
  // Sends one session-level request built from `body` (which carries `number`) and reads
  // its reply's result (the next reply that is not late, whatever number it echoes).
  // `replied` tells whether a reply was read.
  int Exchange(std::uint8_t cls, std::uint8_t code, std::uint16_t number, const Stream& body,
               int waitUnits, bool& replied);
  // Writes the log line of a late reply that a wait dropped.
  void LogDropped(ReplyVerdict verdict, const Stream& reply) noexcept;
  void WriteDropped(ReplyVerdict verdict, const Stream& reply);
  // Monitor start or stop: the request line "<label>: gate[..] Inv[..]" and its outcome line.
  int MonitorRequest(std::uint8_t code, std::string_view label, int waitUnits);
  // Marks the live link, if any, as one the open replaces and ends it: true when there was one.
  bool ReplaceLink();
  // The replaced link's end counts as the session's loss after all (no new link was made): a
  // connection-lost notice of the current connection is queued for the event fetch.
  void LoseReplacedLink();
  std::uint16_t NextCounter() { return static_cast<std::uint16_t>(counter_.fetch_add(1) + 1); }
  std::string OpenLine(std::string_view head) const;

  const std::uint8_t ext_;
  std::atomic<std::uint8_t> dtype_{0};
  const std::uint16_t port_;
  std::atomic<std::uint32_t> session_id_{0};
  std::atomic<std::uint16_t> counter_{1};
  std::atomic<std::uint8_t> version_{0};
  std::atomic<std::uint16_t> header_word_{0};
  std::atomic<SessionState> state_{SessionState::kConstructed};
  std::mutex state_mutex_;  // makes each step's test and set one step against the others
  std::uint64_t replaced_connection_ = 0;  // guarded by state_mutex_: the link an open ended
  const std::string ip_;
  const std::string dn_;
  const std::string app_;
  const Timings timings_;
  std::atomic<SessionMode> open_mode_{SessionMode::kSingle};
  std::shared_ptr<StateSignal> signal_;

  ExchangeMutex exchange_mutex_;

  GivenUpReplies given_up_;

  // Reconnect loop: the thread, whether it runs, and Close's request to end it.
  mutable std::mutex loop_mutex_;
  std::condition_variable loop_wake_;
  bool closed_ = false;  // guarded by loop_mutex_
  std::atomic<bool> reconnecting_{false};  // set and cleared under loop_mutex_
  std::thread reconnect_;

  mutable std::mutex devices_mutex_;
  std::vector<DeviceEntry> devices_;

  CLogger logger_;                   // declared before the socket, which writes to it
  std::unique_ptr<CSocket> socket_;  // stopped and joined before the logger goes
};

}  // namespace vomtel
