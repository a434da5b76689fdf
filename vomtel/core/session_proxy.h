// CSessionProxy: maps the caller's gates to their one or two sessions, routes requests to the
// gate's active session, delivers events and carries out fail-over.
//
// A gate is assembled by AddSession calls and opened by Open, which hands its number out:
// opens are serialised and each gate takes the lowest number that no other gate uses, so a
// new gate never joins a live one. Each calling thread assembles a gate of its own: an Open
// opens exactly the sessions that its own thread added, whatever other threads add or open
// meanwhile, and the log setters reach only the calling thread's gate being assembled. The event fetch (Notify) notices a lost or demoted active
// session, promotes the standby, starts the lost session's reconnect loop and, when no session
// of the gate is active within the fail-over wait, closes the gate and hands the caller the
// one-byte connection-lost frame 0xA4.
//
// Threads: every operation runs on its caller's thread; the reconnect loops belong to their
// sessions. No lock is held while a session operation runs. Lock order, where two are held:
// the assembling lock before the table's, the table's before a session's state lock.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "vomtel/core/recv_queue.h"
#include "vomtel/core/session.h"
#include "vomtel/core/session_table.h"
#include "vomtel/core/state_signal.h"
#include "vomtel/core/stream.h"
#include "vomtel/core/timings.h"

namespace vomtel {

class CSessionProxy {
 public:
  explicit CSessionProxy(const Timings& timings = Timings{});
  // Sessions are stopped without traffic (CSession::~CSession).
  ~CSessionProxy();

  CSessionProxy(const CSessionProxy&) = delete;
  CSessionProxy& operator=(const CSessionProxy&) = delete;

  // Timings given to the sessions added from now on.
  void SetTimings(const Timings& timings);
  Timings GetTimings() const;

  // Queue limits given to the sessions added from now on.
  void SetQueueLimits(const QueueLimits& limits);
  QueueLimits GetQueueLimits() const;

  // Records one server under the calling thread's gate being assembled (the lowest free
  // number when it has none). Nothing is sent.
  void AddSession(std::uint16_t port, std::uint8_t ext, std::uint8_t dType, std::uint8_t version,
                  std::uint16_t headerWord, const std::string& ip, const std::string& dn,
                  const std::string& app);

  // Opens the sessions of the calling thread's gate being assembled: single mode for one session, HA for two.
  // 1 when a session opened as active (with HA, each failed session then gets its reconnect
  // loop); else 3014, and the connections the open made are closed and the gate is dropped.
  // The gate number goes to `*gate` when `gate` is not null, whatever the result.
  int Open(int heartbeatMs, int selectSec, int selectUsec, int* gate);
  // The number the calling thread's next Open hands out (its gate being assembled, else the
  // lowest free).
  int NextGate() const;

  // Across the gate's sessions, state-3 sessions skipped: the result of the session that is
  // active after its call, 3014 when none is, 3007 when the gate has no session.
  int MonitorStart(int gate);
  int MonitorStop(int gate);
  int AddDevice(const std::string& dn, std::uint8_t dType, std::uint8_t ext, int gate);
  int RemoveDevice(const std::string& dn, int gate);

  // Closes every session of the gate (CSession::Close) and drops the gate. A gate without
  // sessions: nothing happens.
  void Close(int gate);
  // Closes every gate, one being assembled or in fail-over included.
  void CloseAll();

  // The event fetch: 1 with the active session's next event, 3010 when none waits (also after
  // a fail-over that left an active session). When no session of the gate is active within
  // the fail-over wait, or the gate has no session at all (then at once), the gate is closed
  // and the result is 1 with the one-byte frame 0xA4. Connection-lost notices never come out
  // as events; a stale one (of an earlier connection) is dropped.
  int Notify(Stream& event, int gate);
  // Up to activeChecks x activeCheckPeriod for a session of the gate in state 17.
  bool WaitForActive(int gate);

  // Writes through the logger of the gate's active session; nothing when there is none.
  void Log(int gate, std::string_view text, int level);

  std::shared_ptr<CSession> FindActive(int gate);
  bool HasSessions(int gate);
  // The active session's id (every 32-bit value is valid); empty when there is none.
  std::optional<std::uint32_t> GetGateId(int gate);
  // 0 when the gate has no active session.
  std::uint8_t GetVersion(int gate);
  std::uint8_t GetExtMode(int gate);

  // Setters for the sessions of the calling thread's gate being assembled (a gate already
  // open keeps its logger settings). SetLogFile returns the last result, 0 when there is no such session.
  void SetLogLevel(int level);
  int SetLogFile(const std::string& directory, const std::string& folder);
  void SetLogUtf8(int flag);

  CSessionTable& Table() { return table_; }

 private:
  // WaitForActive over the sessions a fetch saw: false at once when the gate no longer has
  // them (it was closed, perhaps made again under the same number).
  bool WaitForActive(int gate, const std::vector<std::shared_ptr<CSession>>& sessions);
  // The fail-over event a notice of the receive side stands for (the connection-lost notice,
  // the standby notice); none for any other frame.
  static std::optional<FailoverEvent> NoticeEvent(const Stream& event);
  // Takes the notice's step on `session` (a connection-lost notice of `connection`) and does
  // what it says the gate does next, with its log line. True when the session must get its
  // reconnect loop.
  bool FollowNotice(FailoverEvent event, std::uint64_t connection, CSession& session, int gate);
  // Reads the session's next event (with `noticesOnly`, only a connection-lost or standby
  // notice at the front of its queue), dropping stale connection-lost notices.
  int ReadCurrentEvent(CSession& session, Stream& out, std::uint64_t& connection,
                       bool noticesOnly = false);
  std::vector<std::shared_ptr<CSession>> AssemblingSessions() const;
  static void SetConnectionLost(Stream& event);
  static bool IsLostNotice(const Stream& event);
  static bool IsHaNotice(const Stream& event);

  mutable std::mutex timings_mutex_;
  Timings timings_;            // guarded by timings_mutex_
  QueueLimits queue_limits_;   // guarded by timings_mutex_
  std::shared_ptr<StateSignal> signal_ = std::make_shared<StateSignal>();

  std::mutex open_mutex_;              // one Open at a time
  mutable std::mutex assemble_mutex_;  // guards assembling_
  // Per thread, the gate its AddSession calls add to, until its Open.
  std::map<std::thread::id, int> assembling_;

  CSessionTable table_;  // last: its sessions go first
};

}  // namespace vomtel
