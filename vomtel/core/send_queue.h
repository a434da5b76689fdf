// CSendQueue: the send buffer of one socket service. Callers queue a request frame and wait
// until the service thread has sent it. A connection begun with a direct sink is written by the
// callers themselves while nothing is pending: the frame goes to the non-blocking socket under
// the queue's lock, and only what the socket does not take is queued for the service thread.
//
// A writer's result tells what happened to its own bytes: 1 when the last of them has gone
// out, 3013 when they have not all gone out by its deadline. A frame none of whose bytes went
// out by then is withdrawn, so the server never sees a request whose caller was told it
// failed; a frame partly sent stays and is completed by later flushes (the stream must not be
// cut inside a frame). Frames go out whole and in the order they were queued. The packet dumps
// of the log never show the bytes of a frame's secret range (Stream::Secret).
//
// The log tells each exchange in the order it happened: a frame's "WriteQueue[S]" line is
// written before its first byte leaves, and each " send data" line is written with the log
// held from before those bytes left (CLogger::Hold), so no line of the reply to them, which
// the link's thread may read at once, comes before them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

#include "vomtel/core/byte_io.h"
#include "vomtel/core/logger.h"
#include "vomtel/core/stream.h"

namespace vomtel {

class CSendQueue {
 public:
  static constexpr int kCapacity = 8192;

  explicit CSendQueue(CLogger& logger);
  CSendQueue(const CSendQueue&) = delete;
  CSendQueue& operator=(const CSendQueue&) = delete;

  // Queues the frame's bytes (Data(), Size()) behind those still pending and blocks for at most
  // `wait`. Returns 1 once its last byte has been sent; 2 at once when the unsent bytes
  // already queued leave less room than the frame needs (nothing is queued); 3013 when not all
  // of it was sent by the deadline, or its bytes were dropped (DropPending); 3014 at once when
  // the connection has ended (EndConnection): before the frame was queued (nothing is queued
  // then) or before its last byte went out. An empty frame gives 1 at once.
  int Write(const Stream& frame, std::chrono::milliseconds wait);

  // Service thread: sends what is pending to `sink` until it takes no more. 2 when nothing
  // was pending (nothing logged); 5 when the sink failed (the bytes stay pending); else 1.
  // Wakes every writer whose frame has gone out.
  int Flush(ByteSink& sink);

  // Drops every pending byte; writers still waiting return 3013 at once.
  void DropPending();
  // The connection the queue feeds has ended: every pending byte is dropped, writers still
  // waiting return 3014 at once and later writers are refused with 3014 until BeginConnection.
  // `close`, when given, runs under the queue's lock once no writer can send directly any more:
  // the socket is closed there, so a writer never sends on a descriptor that was closed (and
  // perhaps given to another file). A new queue counts as connected, without a direct sink.
  void EndConnection(const std::function<void()>& close = {});
  // A new connection: anything still pending is dropped (its writers get 3014) and writers are
  // taken again. With `direct`, a writer that finds nothing pending writes its frame to it
  // itself, under the queue's lock: it must never block. It stays in use until EndConnection.
  void BeginConnection(ByteSink* direct = nullptr);
  bool HasPending() const;
  // Unsent bytes queued.
  int PendingBytes() const;

  // Called (without the lock) each time a frame has been queued: the socket service wakes its
  // loop with it.
  void SetQueuedHook(std::function<void()> hook);

 private:
  struct Entry {
    std::vector<std::uint8_t> bytes;
    ByteRange secret;  // the frame's secret range: dumps show "** " for it
    std::size_t sent = 0;
    bool done = false;  // every byte sent
    int dropped = 0;    // removed before every byte was sent: the writer's result (3013, 3014)
  };

  void DropLocked(int result);  // mutex held

  CLogger& logger_;
  mutable std::mutex mutex_;
  std::condition_variable flushed_;
  std::list<std::shared_ptr<Entry>> entries_;  // oldest first
  int pending_ = 0;
  bool connected_ = true;  // false from EndConnection to BeginConnection
  ByteSink* direct_ = nullptr;  // the connection, written by the callers; under mutex_
  std::function<void()> queued_hook_;
};

}  // namespace vomtel
