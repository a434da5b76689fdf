#include "vomtel/core/send_queue.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "vomtel/core/frame.h"
#include "vomtel/core/log_marks.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {

CSendQueue::CSendQueue(CLogger& logger) : logger_(logger) {}

void CSendQueue::SetQueuedHook(std::function<void()> hook) {
  std::lock_guard<std::mutex> lock(mutex_);
  queued_hook_ = std::move(hook);
}

int CSendQueue::Write(const Stream& frame, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  const int size = static_cast<int>(frame.Size());
  if (size == 0) return kOk;

  // Everything is allocated before the lock (the list node too, spliced in below): once a byte
  // has gone out, nothing may fail before the rest is queued.
  auto entry = std::make_shared<Entry>();
  entry->bytes.assign(frame.Data(), frame.Data() + size);
  entry->secret = frame.Secret();
  std::list<std::shared_ptr<Entry>> node{entry};
  std::function<void()> hook;
  bool whole = false;  // every byte went out here
  // With the packet lines on, the log is held from before the frame is queued until its lines
  // are written, so that no line of its reply (the link's thread reads it as soon as it
  // comes) and no line of a flush that sends it can come before them.
  std::optional<CLogger::Hold> log;
  std::string queuedLine;
  if (logger_.Enabled(kLogInfo)) {
    queuedLine = std::string(kMarkQueued) + "WriteQueue[S] : " +
                 HexDump(entry->bytes.data(), size, 0, entry->secret);
    log.emplace(logger_);
  }
  std::optional<int> direct_sent;  // what the socket took from this thread, when it was tried
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!connected_) return kNotConnected;
    if (kCapacity - pending_ < size) return kNoRoom;
    if (log) log->Write(queuedLine, kLogInfo);
    if (direct_ != nullptr && entries_.empty()) {
      // Nothing ahead of it: the frame goes to the socket from this thread, which saves the
      // hand-off to the service thread. The socket never blocks; what it does not take now is
      // left to the service thread's flush.
      direct_sent = direct_->Write(entry->bytes.data(), size);
      entry->sent = static_cast<std::size_t>(std::clamp(*direct_sent, 0, size));
      whole = entry->sent == static_cast<std::size_t>(size);
    }
    if (!whole) {
      entries_.splice(entries_.end(), node);
      pending_ += size - static_cast<int>(entry->sent);
      hook = queued_hook_;
    }
  }
  if (log && direct_sent) {
    // The bytes are not changed once queued; only `sent` moves, under the lock.
    std::string line =
        std::string(kMarkSent) + " send data : <" + std::to_string(*direct_sent) + "> ";
    AppendHexDump(line, entry->bytes.data(), std::clamp(*direct_sent, 0, size), 0, entry->secret);
    log->Write(line, kLogInfo);
  }
  log.reset();
  if (whole) return kOk;
  if (hook) hook();

  std::unique_lock<std::mutex> lock(mutex_);
  flushed_.wait_until(lock, deadline, [&] { return entry->done || entry->dropped != 0; });
  if (entry->done) return kOk;
  if (entry->dropped != 0) return entry->dropped;
  if (entry->sent == 0) {
    // Not a byte of it went out: take it back, the caller is told it failed.
    entries_.remove(entry);
    pending_ -= size;
  }
  return kTimeout;
}

int CSendQueue::Flush(ByteSink& sink) {
  if (!HasPending()) return kNoRoom;
  // The log is held from before the bytes go out until their line is written: the lines of
  // a reply to them come after it (see Write).
  std::optional<CLogger::Hold> log;
  if (logger_.Enabled(kLogInfo)) log.emplace(logger_);
  std::string line;
  bool progressed = false;
  int result = kOk;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (entries_.empty()) return kNoRoom;
    // The pending bytes in order, as one piece: the socket never blocks, so sending under
    // the lock keeps a writer's withdrawal and the flush from overlapping.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(pending_));
    for (const auto& entry : entries_) {
      bytes.insert(bytes.end(), entry->bytes.begin() + static_cast<std::ptrdiff_t>(entry->sent),
                   entry->bytes.end());
    }
    const int sent = sink.Write(bytes.data(), static_cast<int>(bytes.size()));
    if (log) {
      line = std::string(kMarkSent) + " send data : <" + std::to_string(sent) + "> ";
      // Dumped frame by frame, so that each one's secret bytes stay hidden.
      std::size_t left =
          static_cast<std::size_t>(std::clamp(sent, 0, static_cast<int>(bytes.size())));
      for (auto entry = entries_.begin(); left > 0 && entry != entries_.end(); ++entry) {
        const std::size_t take = std::min(left, (*entry)->bytes.size() - (*entry)->sent);
        AppendHexDump(line, (*entry)->bytes.data() + (*entry)->sent, static_cast<int>(take),
                      (*entry)->sent, (*entry)->secret);
        left -= take;
      }
    }
    if (sent < 0) {
      result = kConnectionClosed;
    } else {
      std::size_t left = static_cast<std::size_t>(std::min(sent, static_cast<int>(bytes.size())));
      pending_ -= static_cast<int>(left);
      progressed = left > 0;
      while (left > 0 && !entries_.empty()) {
        Entry& front = *entries_.front();
        const std::size_t take = std::min(left, front.bytes.size() - front.sent);
        front.sent += take;
        left -= take;
        if (front.sent == front.bytes.size()) {
          front.done = true;
          entries_.pop_front();
        }
      }
    }
  }
  // The writers may go on at once: a line of theirs waits for this one.
  if (progressed) flushed_.notify_all();
  if (log) log->Write(line, kLogInfo);
  return result;
}

void CSendQueue::DropLocked(int result) {
  for (const auto& entry : entries_) entry->dropped = result;
  entries_.clear();
  pending_ = 0;
}

void CSendQueue::DropPending() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    DropLocked(kTimeout);
  }
  flushed_.notify_all();
}

void CSendQueue::EndConnection(const std::function<void()>& close) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    connected_ = false;
    direct_ = nullptr;
    if (close) close();
    DropLocked(kNotConnected);
  }
  flushed_.notify_all();
}

void CSendQueue::BeginConnection(ByteSink* direct) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    DropLocked(kNotConnected);
    connected_ = true;
    direct_ = direct;
  }
  flushed_.notify_all();
}

bool CSendQueue::HasPending() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !entries_.empty();
}

int CSendQueue::PendingBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pending_;
}

}  // namespace vomtel
