// CRecvQueue: the receive side of one socket service. The connection's reader (the service
// thread, or a caller waiting for its reply, one at a time) hands it the connection to read
// from; it reads what the socket holds into one buffer of 8 KB, feeds those
// bytes to the frame decoder (FrameDecoder), opens enciphered envelopes and sorts
// the frames into three queues that callers take from: replies (0xA2, with a timed wait),
// events (0xA1, the HA notices 17 and 18 and the connection-lost notice 0xA4) and list frames
// (0xA0), both without waiting.
//
// Nothing received is trusted: a deciphered frame must carry a length that fits in what was
// deciphered and stays below 8190, an HA notice must hold its flag byte, and an established
// event is matched only when its device text lies within the frame. A frame on the wire whose
// length is 8190 or more is stepped over with one line at the level of the packet lines:
// "recv drop (too long) : <size>" and its first five bytes (head, class, code).
//
// A frame's log lines and its queueing are done with the log held (CLogger::Hold), so the
// "ReadQueue" line of whoever takes it always comes after them.
//
// Nothing received grows without bound. Replies and list frames are kept up to a small limit,
// or up to the size of a whole answer while one is awaited; beyond it the oldest go, with a
// log line. Event
// frames that the caller does not poll are kept up to the event limit; beyond it the oldest
// event frame goes for each new one, with a log line (so the caller, when it polls again,
// finds the newest events, which tell the current state of its calls). Reading goes on all
// the while, so the link's silence check sees what the server sends. The HA notices and the
// connection-lost notice are never dropped and do not count against the limit.
//
// An envelope whose rest length is shorter than its own head says is dropped and the bytes
// its head announces are stepped over, so that its ciphertext is not searched for frames.
//
// Every event carries the id of the connection it arrived on; a connection-lost notice carries
// the connection that ended, so a late notice of an earlier connection can be told apart.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "vomtel/core/byte_io.h"
#include "vomtel/core/established_waiters.h"
#include "vomtel/core/frame_decoder.h"
#include "vomtel/core/logger.h"
#include "vomtel/core/stream.h"

namespace vomtel {

// Most frames each queue keeps.
struct QueueLimits {
  std::size_t events = 100000;  // event frames not yet polled (the EVENT_QUEUE_MAX setting)
  // Replies and list frames, each queue, while no answer is awaited: only late and unasked
  // ones pile up then.
  std::size_t unasked = 64;
  // The same while an answer is awaited (SetAnswering): one more than the most frames one
  // answer may carry, so that an answer past that count still shows as such.
  std::size_t answer = 10001;
};

// Reads the connection on the thread of a caller that waits for its reply, while no other
// thread reads it (CSocket). ReadFor reads what arrives on `connection` until `deadline` at
// the latest, sorting it into the queues, and returns true; it returns false at once, reading
// nothing, when another thread reads the connection or `connection` is over (the wait then
// waits for what that thread queues, or for the end).
class ReplyWaitReader {
 public:
  virtual bool ReadFor(std::uint64_t connection,
                       std::chrono::steady_clock::time_point deadline) = 0;

 protected:
  ~ReplyWaitReader() = default;
};

class CRecvQueue {
 public:
  // Established events are reported to EstablishedWaiters::Instance().
  explicit CRecvQueue(CLogger& logger);
  // The same, reporting established events to `waiters` (tests).
  CRecvQueue(CLogger& logger, EstablishedWaiters& waiters);
  CRecvQueue(const CRecvQueue&) = delete;
  // Limits below 1 count as 1. Any thread; frames already queued stay until taken.
  void SetLimits(const QueueLimits& limits);
  QueueLimits Limits() const;
  // Whether a request on this connection awaits its answer (the session's exchange lock is
  // held): the reply and list queues then keep a whole answer. When the answer is over, the
  // oldest of what is left in them goes at once down to the unasked limit (one overflow line
  // as for any drop), so that the rest of an abandoned answer is not read frame by frame by
  // the next request.
  void SetAnswering(bool answering);
  CRecvQueue& operator=(const CRecvQueue&) = delete;

  // --- Callers' threads ---

  // Takes the oldest reply into `out`. Waits for one until `wait` has passed (steady clock;
  // wake-ups before the deadline with nothing queued wait on). 1 with the reply, 3013 when
  // none came; a wait of 0 or less does not wait. When the connection that was current as the
  // call began has ended and no reply is queued, 3014 at once: no reply can come any more (a
  // reply that arrived before the end is still taken). With `reader`, the wait reads the
  // connection itself through it while no other thread does (ReplyWaitReader).
  int ReadReply(Stream& out, std::chrono::milliseconds wait, ReplyWaitReader* reader = nullptr);
  // Takes the oldest event without waiting: 1 with the frame, 3010 when none is queued. A
  // connection-lost notice comes out as the one byte 0xA4. `connection`, when given, receives
  // the id of the connection the event came on (for 0xA4, the connection that ended).
  int ReadEvent(Stream& out, std::uint64_t* connection = nullptr);
  // Takes the oldest event only when it is a notice that a fetch acts on: the connection-lost
  // notice 0xA4 or the standby notice 18. Anything else stays queued. 1 or 3010.
  int ReadNotice(Stream& out, std::uint64_t* connection = nullptr);
  // Takes the oldest list frame without waiting: 1 or 3010.
  int ReadList(Stream& out);
  // Drops the list frames left from an earlier query.
  void DiscardLists();

  // --- Service side: the service thread, or a caller that reads for it (ReplyWaitReader) ---

  // A new connection starts (called while no service thread runs): the reply and list queues
  // are emptied and reassembly starts afresh; queued events are kept.
  void BeginConnection(std::uint64_t connection);
  // Queues the connection-lost notice 0xA4 of `connection` and ends the reply waits of that
  // connection (ReadReply) and the established waits armed on it (EstablishedWaiters).
  void PostConnectionLost(std::uint64_t connection);

  // Reads what the source holds into the input buffer (as often as needed) and feeds it to
  // the decoder until one outcome (results as FrameDecoder::Feed's); a completed frame is
  // sorted into its queue first. 3008 only once the source has nothing more; 5 when it failed.
  int ReceiveOnce(ByteSource& source);
  // Reads what the source holds, up to the input buffer's 8 KB a read, and sorts every frame
  // completed in it into its queue. Reads again only while a read filled the buffer, at most a
  // few times: what is left stays in the socket for the next wake-up. Returns 5 when the
  // source failed, else 1.
  int ReceiveAvailable(ByteSource& source);

  // Queue sizes (tests and diagnostics).
  std::size_t ReplyCount() const;
  std::size_t EventCount() const;
  std::size_t ListCount() const;

 private:
  struct Event {
    StreamPtr frame;
    std::uint64_t connection = 0;
  };

  // What a plain frame is, for the queues and the log.
  enum class Route { kIgnored, kList, kReply, kHaNotice, kShortHaNotice, kEvent };
  // Where the lines of the receive side go: through the caller's hold of the log when it has
  // one (CLogger::Hold), else straight to the logger.
  struct Lines {
    CLogger& logger;
    CLogger::Hold* hold = nullptr;
    bool Enabled(int level) const { return logger.Enabled(level); }
    void Write(std::string_view text, int level) const {
      if (hold != nullptr) {
        hold->Write(text, level);
      } else {
        logger.Write(text, level);
      }
    }
  };
  static Route RouteOf(const std::uint8_t* frame, int size);

  // Reads into the input buffer once it is used up: the count read, or -1.
  int Refill(ByteSource& source);
  // One outcome of the decoder over the input buffer; a completed frame is dispatched.
  int FeedBuffered();
  void Dispatch(const std::uint8_t* frame, int size);
  void DispatchEnvelope(const std::uint8_t* frame, int size);
  // Routes a plain frame to its queue, with its log lines around it. The log is held over the
  // lines and the queueing, so that the line of whoever takes the frame comes after them.
  void DispatchPlain(const std::uint8_t* frame, int size);
  // The queue side of the routing: no log line of the frame's own.
  void Deliver(const Lines& lines, Route route, const std::uint8_t* frame, int size);
  void PushList(const Lines& lines, const std::uint8_t* frame, int size);
  void PushReply(const Lines& lines, const std::uint8_t* frame, int size);
  // An established event's monitored device meets the waits armed on it; the frame is queued
  // as any event.
  void PushCallEvent(const Lines& lines, const std::uint8_t* frame, int size);
  // The log lines of a routed frame: as it arrived and once it is queued.
  void LogArrived(const Lines& lines, Route route, const std::uint8_t* frame, int size);
  void LogQueued(const Lines& lines, Route route, const std::uint8_t* frame, int size);
  void PushEvent(StreamPtr frame);
  // Queues an event frame, dropping the oldest event frame when the limit is reached.
  void PushEventFrame(const Lines& lines, StreamPtr frame);
  // Running counts of frames dropped, before and after one push.
  struct Drops {
    std::uint64_t before = 0;
    std::uint64_t after = 0;
  };
  // One line each time the running count passes a power of two: "recv queue full (<what>,
  // limit <n>): <count> dropped".
  void LogOverflow(const Lines& lines, const char* what, std::size_t limit, Drops drops);
  int PopEvent(Stream& out, std::uint64_t* connection, bool noticesOnly);
  void LogDropped(const Lines& lines, const char* what, const std::uint8_t* frame, int size);
  // The frame the decoder refused as too long (FrameDecoder::RefusedSize): one line with its
  // size and first bytes (its length, class and code).
  void LogTooLong();

  CLogger& logger_;
  EstablishedWaiters& waiters_;
  // The reader of the connection only (one thread at a time): the decoder, the bytes read and
  // not yet fed to it, and the buffer an envelope is opened into.
  FrameDecoder decoder_;
  std::array<std::uint8_t, FrameDecoder::kBufferSize> input_{};
  int input_at_ = 0;
  int input_end_ = 0;
  std::array<std::uint8_t, FrameDecoder::kBufferSize> plain_{};
  std::atomic<std::uint64_t> connection_{0};

  // Limit of the reply and list queues as it stands now.
  std::size_t AnswerLimit() const;
  // Drops the oldest frames of `queue` until it holds at most `limit`, counting them in
  // `dropped`.
  static Drops Trim(std::deque<StreamPtr>& queue, std::size_t limit, std::uint64_t& dropped);
  // Drops the oldest frames of `queue` until one more fits under `limit`, counting them in
  // `dropped`.
  static Drops MakeRoom(std::deque<StreamPtr>& queue, std::size_t limit,
                                std::uint64_t& dropped);

  std::atomic<std::size_t> event_limit_{QueueLimits{}.events};
  std::atomic<std::size_t> unasked_limit_{QueueLimits{}.unasked};
  std::atomic<std::size_t> answer_limit_{QueueLimits{}.answer};
  std::atomic<bool> answering_{false};

  mutable std::mutex reply_mutex_;  // reply and list queues
  std::condition_variable reply_signal_;
  std::deque<StreamPtr> replies_;
  std::deque<StreamPtr> lists_;
  std::uint64_t ended_ = 0;  // the newest connection that has ended (ids only grow)
  std::uint64_t replies_dropped_ = 0;
  std::uint64_t lists_dropped_ = 0;

  mutable std::mutex event_mutex_;
  std::deque<Event> events_;
  std::size_t event_frames_ = 0;  // events_ less the notices
  std::uint64_t events_dropped_ = 0;
};

}  // namespace vomtel
