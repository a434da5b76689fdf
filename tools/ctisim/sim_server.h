// An in-process CTI server for tests: listens on a loopback address, decodes every request it
// receives, answers by script, and pushes events, notices, envelopes, list frames or any bytes
// on demand. One thread accepts and serves all connections; it is joined by Stop() and the
// destructor. Every public call is thread-safe and may be made from a reply hook too. The
// thread holds no lock while it polls or runs a hook or the request observer; it alone reads,
// writes and closes sockets, so the calls that close something return once it has done so.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tools/ctisim/frame.h"
#include "tools/ctisim/reply_rule.h"
#include "tools/ctisim/request.h"
#include "tools/ctisim/wire.h"

namespace ctisim {

struct SimOptions {
  std::string address = "127.0.0.1";  // any 127.0.0.0/8 address; others are refused
  std::uint16_t port = 0;             // 0: a free port (see Port())
  OpenDefaults open;                  // session id, active flag and version of the open reply
};

// What happens to a connection that a client makes.
enum class AcceptMode {
  kServe,        // accepted and served
  kCloseAtOnce,  // accepted and closed at once (the client sees the link end)
  kLeavePending  // left in the listen backlog, never answered
};

inline constexpr int kAllConnections = -1;

class SimServer {
 public:
  // Binds and listens before it returns (so a client may connect at once), then starts the
  // server thread. Throws std::runtime_error when the address is not a loopback address or the
  // socket cannot be bound.
  explicit SimServer(SimOptions options = {});
  ~SimServer();
  SimServer(const SimServer&) = delete;
  SimServer& operator=(const SimServer&) = delete;

  // Closes every connection and the listening socket and joins the thread. Idempotent.
  void Stop();

  const std::string& Address() const { return options_.address; }
  std::uint16_t Port() const { return port_; }

  // --- Scripting --------------------------------------------------------------------------
  // A standing rule for (class, code), used whenever no once-rule is queued for it.
  void SetRule(std::uint8_t cls, std::uint8_t code, ReplyRule rule);
  // A rule used for the next request of (class, code) only; several queue up in order.
  void AddOnceRule(std::uint8_t cls, std::uint8_t code, ReplyRule rule);
  // The rule for requests that have no rule of their own, in place of the defaults below.
  void SetDefaultRule(ReplyRule rule);
  // Back to the defaults: the open answered as OpenDefaults says, every other request as
  // DefaultReplyRule (default_replies.h) says: result 1 with its number and well-formed empty
  // data where the reply carries data; no answer to the close and the other requests sent
  // without waiting.
  void ResetRules();
  void SetSessionId(std::uint32_t session_id);
  void SetActiveFlag(std::uint8_t flag);
  // While silent, requests are recorded but none is answered; the links stay up.
  void SetSilent(bool silent);
  // Called on the server thread, no lock held, for every request before it is answered.
  void SetOnRequest(std::function<void(const Request&)> observer);
  // Called on the server thread, no lock held, for every request once its answer is queued (or
  // withheld), so that what it pushes to the request's connection goes out after the answer.
  void SetOnAnswered(std::function<void(const Request&)> observer);
  // While set, every frame the server builds (answers, events, HA notices, list frames) goes
  // out sealed in a 0x81 envelope with this nonce; raw Send() bytes are never sealed.
  void SetEnvelopeNonce(std::optional<std::uint32_t> nonce);
  // Every `period` (0: off, the default) an event frame with code 0, which the client consumes
  // and does not deliver, goes to every live connection, so that a client's silence limit
  // does not end an idle link.
  void SetKeepAlive(Millis period);

  // --- Pushing ----------------------------------------------------------------------------
  // Each returns the number of live connections the bytes were queued on (0 when none).
  // `connection` is a connection id or kAllConnections. Batches of one connection go out
  // whole and in order of their due time; a delayed batch lets later undelayed ones pass.
  int Send(Bytes bytes, int connection = kAllConnections, SendShape shape = {});
  int PushEvent(std::uint8_t code, const Bytes& body, const EventHead& head = {},
                int connection = kAllConnections, SendShape shape = {});
  int PushHaNotice(bool active, int connection = kAllConnections, SendShape shape = {});
  // `frame` enciphered in an envelope with this nonce (its top byte is the kind; see
  // CipheredNonce), or an empty envelope of kind 0x82/0x83.
  int PushEnvelope(const Bytes& frame, std::uint32_t nonce, int connection = kAllConnections,
                   SendShape shape = {});
  int PushEmptyEnvelope(std::uint8_t kind, int connection = kAllConnections, SendShape shape = {});
  int PushList(const Bytes& content, int connection = kAllConnections, SendShape shape = {});
  // Closes the connection(s) once every batch queued before it has gone out.
  int CloseAfterSent(int connection = kAllConnections, Millis delay = Millis{0});

  // --- The link ---------------------------------------------------------------------------
  // Closes the live connections now (queued bytes are dropped); returns once they are closed.
  // `abortive` closes with a reset instead of an orderly end.
  void DropConnections(bool abortive = false);
  void DropConnection(int connection, bool abortive = false);
  void SetAcceptMode(AcceptMode mode);
  void SetAccepting(bool accepting) {
    SetAcceptMode(accepting ? AcceptMode::kServe : AcceptMode::kCloseAtOnce);
  }
  // Closes the listening socket (a new connect is refused); live connections stay.
  void StopListening();
  // Listens again on the same address and port; false when the port cannot be bound.
  bool ResumeListening();

  // --- Observation ------------------------------------------------------------------------
  std::vector<Request> Received() const;
  void ClearReceived();
  std::size_t RequestCount() const;
  std::size_t CountRequests(std::uint8_t cls, std::uint8_t code) const;
  // The nth (1-based) received request of (class, code), waiting up to `timeout` for it.
  std::optional<Request> WaitForRequest(std::uint8_t cls, std::uint8_t code, Millis timeout,
                                        std::size_t nth = 1);
  // The nth (1-based) received request for which `match` holds (it runs under the server's
  // lock: it must not call the server).
  std::optional<Request> WaitForRequestMatching(const std::function<bool(const Request&)>& match,
                                                Millis timeout, std::size_t nth = 1);
  // True once at least `count` requests were received in all, within `timeout`.
  bool WaitForRequestCount(std::size_t count, Millis timeout);
  int LiveConnections() const;
  int AcceptedConnections() const;  // in all, since start
  std::vector<int> ConnectionIds() const;
  bool WaitForLiveConnections(int count, Millis timeout);  // exactly `count` live
  bool WaitForAccepted(int count, Millis timeout);         // at least `count` in all
  // True once nothing queued remains unsent on any connection.
  bool WaitUntilSent(Millis timeout);
  // Bytes from clients that began no frame, and frames that were no request.
  std::size_t JunkReceived() const;

 private:
  struct Piece {
    Bytes bytes;
    std::size_t sent = 0;
    Millis gap_before{0};
  };
  struct Batch {
    std::chrono::steady_clock::time_point due;
    std::uint64_t seq = 0;
    std::vector<Piece> pieces;
    std::size_t next = 0;  // index of the piece being written
    std::chrono::steady_clock::time_point piece_ready;
    bool close_after = false;
  };
  struct Connection;
  struct CallerMark;
  class CallLock;

  void Run();
  void ServeReadable(Connection& conn, std::unique_lock<std::mutex>& lock);
  void HandleFrame(int conn_id, Bytes frame, std::unique_lock<std::mutex>& lock);
  void Answer(const Request& request, std::unique_lock<std::mutex>& lock);
  // Writes what is due; returns false when the connection was closed.
  bool WriteDue(Connection& conn, std::chrono::steady_clock::time_point now);
  std::optional<std::chrono::steady_clock::time_point> NextWake(const Connection& conn) const;
  int SendFrame(Bytes frame, int connection, const SendShape& shape);
  Bytes SealIfAsked(Bytes frame) const;
  int Queue(Bytes bytes, int connection, const SendShape& shape, bool close_after);
  void QueueOn(Connection& conn, Bytes bytes, const SendShape& shape, bool close_after);
  void CloseLocked(int id, bool abortive);
  void AcceptLocked();
  bool ListenLocked();
  void RunOnLoop(std::unique_lock<std::mutex>& lock, std::function<void()> fn);
  void Wake();
  void ResetRulesLocked();
  ReplyRule RuleFor(const Request& request);
  bool OnLoopThread() const { return std::this_thread::get_id() == loop_id_; }

  SimOptions options_;
  std::uint16_t port_ = 0;
  int wake_fd_ = -1;

  mutable std::mutex mu_;
  // Public calls in progress (see CallLock).
  mutable std::atomic<int> callers_{0};
  std::condition_variable changed_;
  int listen_fd_ = -1;
  AcceptMode accept_mode_ = AcceptMode::kServe;
  std::map<int, std::unique_ptr<Connection>> connections_;
  int next_id_ = 1;
  int accepted_ = 0;
  std::uint64_t next_seq_ = 0;
  std::vector<Request> received_;
  std::size_t junk_ = 0;
  bool silent_ = false;
  std::optional<std::uint32_t> envelope_nonce_;
  Millis keep_alive_{0};
  std::chrono::steady_clock::time_point next_keep_alive_{};
  std::map<std::uint16_t, ReplyRule> rules_;
  std::map<std::uint16_t, std::vector<ReplyRule>> once_rules_;
  std::optional<ReplyRule> default_rule_;
  std::function<void(const Request&)> observer_;
  std::function<void(const Request&)> answered_;
  std::vector<std::function<void()>> loop_tasks_;
  std::uint64_t tasks_posted_ = 0;
  std::uint64_t tasks_done_ = 0;
  bool stopping_ = false;

  std::thread thread_;
  std::thread::id loop_id_;
};

}  // namespace ctisim
