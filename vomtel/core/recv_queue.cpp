#include "vomtel/core/recv_queue.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "vomtel/core/envelope.h"
#include "vomtel/core/frame.h"
#include "vomtel/core/log_marks.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {
namespace {

constexpr std::uint8_t kHaNoticeCode = 0xFC;
constexpr std::uint8_t kEstablishedCode = 6;
constexpr int kEventCodeOffset = 4;
constexpr int kHaFlagOffset = 31;        // byte 31: non-zero when this server became active
constexpr int kDeviceOffset = 30;        // str8 monitored device of an established event
constexpr int kMaxReadsPerCall = 8;  // full buffers read in one call, then the loop goes on

// The one-byte notices of the receive side: never dropped, not counted against the limit.
bool IsNotice(const Stream& frame) {
  return frame.Size() == 1 && (frame.At(0) == kConnectionLost || frame.At(0) == kHaActive ||
                               frame.At(0) == kHaStandby);
}

// A drop count that has passed a power of two since `before`: one log line each time.
bool PassedPowerOfTwo(std::uint64_t before, std::uint64_t after) {
  return std::bit_width(after) > std::bit_width(before);
}

// text, size, ">" and the dump of `dumped` bytes (all `size` of them unless given).
std::string SizeAndDump(std::string_view text, int size, const std::uint8_t* data,
                        int dumped = -1) {
  return std::string(text) + std::to_string(size) + ">" + HexDump(data, dumped < 0 ? size : dumped);
}

}  // namespace

CRecvQueue::CRecvQueue(CLogger& logger) : CRecvQueue(logger, EstablishedWaiters::Instance()) {}

CRecvQueue::CRecvQueue(CLogger& logger, EstablishedWaiters& waiters)
    : logger_(logger), waiters_(waiters) {}

void CRecvQueue::SetLimits(const QueueLimits& limits) {
  event_limit_.store(std::max<std::size_t>(limits.events, 1));
  unasked_limit_.store(std::max<std::size_t>(limits.unasked, 1));
  answer_limit_.store(std::max<std::size_t>(limits.answer, 1));
}

QueueLimits CRecvQueue::Limits() const {
  return QueueLimits{event_limit_.load(), unasked_limit_.load(), answer_limit_.load()};
}

void CRecvQueue::SetAnswering(bool answering) {
  answering_.store(answering);
  if (answering) return;
  // The answer is over, read or given up: what is left of it is late, and no more of it is
  // kept than of any other unasked frames, so that the next request does not wade through it.
  const std::size_t limit = unasked_limit_.load();
  Drops replies;
  Drops lists;
  {
    std::lock_guard<std::mutex> lock(reply_mutex_);
    replies = Trim(replies_, limit, replies_dropped_);
    lists = Trim(lists_, limit, lists_dropped_);
  }
  const Lines lines{logger_};
  LogOverflow(lines, "reply", limit, replies);
  LogOverflow(lines, "list", limit, lists);
}

std::size_t CRecvQueue::AnswerLimit() const {
  return answering_.load() ? std::max(answer_limit_.load(), unasked_limit_.load())
                           : unasked_limit_.load();
}

CRecvQueue::Drops CRecvQueue::Trim(std::deque<StreamPtr>& queue, std::size_t limit,
                                   std::uint64_t& dropped) {
  const Drops none{dropped, dropped};
  if (queue.size() <= limit) return none;
  const std::size_t excess = queue.size() - limit;
  queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(excess));
  dropped += excess;
  return Drops{none.before, dropped};
}

CRecvQueue::Drops CRecvQueue::MakeRoom(std::deque<StreamPtr>& queue, std::size_t limit,
                                       std::uint64_t& dropped) {
  return Trim(queue, limit > 0 ? limit - 1 : 0, dropped);
}

// --- Callers' threads ---

int CRecvQueue::ReadReply(Stream& out, std::chrono::milliseconds wait, ReplyWaitReader* reader) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  // Connection 0 stands for none yet: nothing ends it.
  const std::uint64_t connection = connection_.load();
  StreamPtr frame;
  bool waited = false;
  {
    std::unique_lock<std::mutex> lock(reply_mutex_);
    const auto ended = [&] { return connection != 0 && ended_ >= connection; };
    while (replies_.empty()) {
      if (ended()) return kNotConnected;
      if (wait.count() <= 0 || (waited && std::chrono::steady_clock::now() >= deadline)) {
        return kTimeout;
      }
      waited = true;
      if (reader != nullptr && connection != 0) {
        lock.unlock();
        const bool read = reader->ReadFor(connection, deadline);
        lock.lock();
        if (read) continue;
      }
      // Another thread reads the connection: what it queues, or the end, ends the wait.
      reply_signal_.wait_until(lock, deadline, [&] { return !replies_.empty() || ended(); });
      if (replies_.empty()) return ended() ? kNotConnected : kTimeout;
    }
    frame = std::move(replies_.front());
    replies_.pop_front();
  }
  out = *frame;
  if (logger_.Enabled(kLogInfo)) {
    logger_.Write((waited ? "ReadQueue[R] : " : "ReadQueue[R] :") +
                      HexDump(frame->Data(), static_cast<int>(frame->Size())),
                  kLogInfo);
  }
  return kOk;
}

int CRecvQueue::ReadEvent(Stream& out, std::uint64_t* connection) {
  return PopEvent(out, connection, false);
}

int CRecvQueue::ReadNotice(Stream& out, std::uint64_t* connection) {
  return PopEvent(out, connection, true);
}

int CRecvQueue::PopEvent(Stream& out, std::uint64_t* connection, bool noticesOnly) {
  Event event;
  {
    std::lock_guard<std::mutex> lock(event_mutex_);
    if (events_.empty()) return kNoEvent;
    if (noticesOnly) {
      const Stream& front = *events_.front().frame;
      const bool notice =
          front.Size() == 1 && (front.At(0) == kConnectionLost || front.At(0) == kHaStandby);
      if (!notice) return kNoEvent;
    }
    event = std::move(events_.front());
    events_.pop_front();
    if (!IsNotice(*event.frame)) --event_frames_;
  }
  out = *event.frame;
  if (connection != nullptr) *connection = event.connection;
  const int size = static_cast<int>(event.frame->Size());
  if (!(size == 1 && event.frame->At(0) == kHaActive) && logger_.Enabled(kLogInfo)) {
    logger_.Write("ReadQueue[E] : " + HexDump(event.frame->Data(), size), kLogInfo);
  }
  return kOk;
}

int CRecvQueue::ReadList(Stream& out) {
  StreamPtr frame;
  {
    std::lock_guard<std::mutex> lock(reply_mutex_);
    if (lists_.empty()) return kNoEvent;
    frame = std::move(lists_.front());
    lists_.pop_front();
  }
  out = *frame;
  return kOk;
}

void CRecvQueue::DiscardLists() {
  std::lock_guard<std::mutex> lock(reply_mutex_);
  lists_.clear();
}

std::size_t CRecvQueue::ReplyCount() const {
  std::lock_guard<std::mutex> lock(reply_mutex_);
  return replies_.size();
}

std::size_t CRecvQueue::EventCount() const {
  std::lock_guard<std::mutex> lock(event_mutex_);
  return events_.size();
}

std::size_t CRecvQueue::ListCount() const {
  std::lock_guard<std::mutex> lock(reply_mutex_);
  return lists_.size();
}

// --- Service side ---

void CRecvQueue::BeginConnection(std::uint64_t connection) {
  {
    std::lock_guard<std::mutex> lock(reply_mutex_);
    replies_.clear();
    lists_.clear();
  }
  decoder_.Reset();
  input_at_ = 0;
  input_end_ = 0;
  connection_.store(connection);
}

void CRecvQueue::PostConnectionLost(std::uint64_t connection) {
  const std::uint8_t notice = kConnectionLost;
  auto frame = std::make_shared<Stream>(&notice, 1);
  {
    std::lock_guard<std::mutex> lock(reply_mutex_);
    ended_ = std::max(ended_, connection);
  }
  reply_signal_.notify_all();
  waiters_.EndLink(connection);  // no established event comes on this link any more
  std::lock_guard<std::mutex> lock(event_mutex_);
  events_.push_back(Event{std::move(frame), connection});
}

int CRecvQueue::Refill(ByteSource& source) {
  const int got = source.Read(input_.data(), static_cast<int>(input_.size()));
  input_at_ = 0;
  input_end_ = std::max(got, 0);
  return got;
}

int CRecvQueue::FeedBuffered() {
  int used = 0;
  const int result = decoder_.Feed(input_.data() + input_at_, input_end_ - input_at_, used);
  input_at_ += used;
  if (result == kOk) Dispatch(decoder_.Frame(), decoder_.FrameSize());
  if (result == kFrameTooLong) LogTooLong();
  return result;
}

int CRecvQueue::ReceiveOnce(ByteSource& source) {
  for (;;) {
    if (input_at_ == input_end_) {
      const int got = Refill(source);
      if (got < 0) return kConnectionClosed;
      if (got == 0) return kIncomplete;
    }
    const int result = FeedBuffered();
    if (result != kIncomplete) return result;
  }
}

int CRecvQueue::ReceiveAvailable(ByteSource& source) {
  for (int reads = 0; reads < kMaxReadsPerCall; ++reads) {
    // Bytes left by ReceiveOnce are fed before anything new is read.
    bool full = true;
    if (input_at_ == input_end_) {
      const int got = Refill(source);
      if (got < 0) return kConnectionClosed;
      full = got == static_cast<int>(input_.size());
    }
    while (input_at_ < input_end_) FeedBuffered();
    // A read that did not fill the buffer took all the socket held.
    if (!full) break;
  }
  return kOk;
}

// --- Dispatch ---

void CRecvQueue::Dispatch(const std::uint8_t* frame, int size) {
  if (size > 0 && frame[0] == kEnvelopeFrame) {
    DispatchEnvelope(frame, size);
  } else {
    DispatchPlain(frame, size);
  }
}

void CRecvQueue::DispatchEnvelope(const std::uint8_t* frame, int size) {
  // A rest length shorter than the head says: what follows is the rest of this envelope's
  // ciphertext, not a frame. It is stepped over and the envelope dropped.
  if (const int missing = EnvelopeShortfall(frame, size); missing > 0) {
    decoder_.SkipNext(missing);
    LogDropped(Lines{logger_}, "envelope", frame, size);
    return;
  }
  plain_.fill(0);
  if (DecryptPacket(size, frame, plain_.data()) != 1) return;  // refused: dropped
  const int plain = EnvelopePlainLength(frame, size);
  if (plain == 0) return;  // an envelope that carries no frame
  const int length = plain >= FrameDecoder::kHeadSize ? (plain_[1] << 8 | plain_[2]) : -1;
  if (length < 0 || length >= kMaxFrameLength || length + FrameDecoder::kHeadSize > plain) {
    LogDropped(Lines{logger_}, "envelope", frame, size);
    return;
  }
  // An envelope inside an envelope is not opened again: DispatchPlain drops it.
  DispatchPlain(plain_.data(), length + FrameDecoder::kHeadSize);
}

CRecvQueue::Route CRecvQueue::RouteOf(const std::uint8_t* frame, int size) {
  if (size <= 0) return Route::kIgnored;
  switch (frame[0]) {
    case kListFrame:
      return Route::kList;
    case kReplyFrame:
      return Route::kReply;
    case kRequestFrame:
      break;
    default:
      return Route::kIgnored;
  }
  const int code = size > kEventCodeOffset ? frame[kEventCodeOffset] : -1;
  if (code != kHaNoticeCode) return Route::kEvent;
  return size > kHaFlagOffset ? Route::kHaNotice : Route::kShortHaNotice;
}

void CRecvQueue::DispatchPlain(const std::uint8_t* frame, int size) {
  const Route route = RouteOf(frame, size);
  std::optional<CLogger::Hold> hold;
  if (route != Route::kIgnored && logger_.Enabled(kLogInfo)) hold.emplace(logger_);
  const Lines lines{logger_, hold ? &*hold : nullptr};
  LogArrived(lines, route, frame, size);
  Deliver(lines, route, frame, size);
  LogQueued(lines, route, frame, size);
}

void CRecvQueue::Deliver(const Lines& lines, Route route, const std::uint8_t* frame, int size) {
  switch (route) {
    case Route::kList:
      PushList(lines, frame, size);
      return;
    case Route::kReply:
      PushReply(lines, frame, size);
      return;
    case Route::kHaNotice: {
      const std::uint8_t notice = frame[kHaFlagOffset] != 0 ? kHaActive : kHaStandby;
      PushEvent(std::make_shared<Stream>(&notice, 1));
      return;
    }
    case Route::kEvent:
      PushCallEvent(lines, frame, size);
      return;
    case Route::kShortHaNotice:
    case Route::kIgnored:
      return;
  }
}

void CRecvQueue::PushList(const Lines& lines, const std::uint8_t* frame, int size) {
  auto stream = std::make_shared<Stream>(frame, static_cast<std::size_t>(size));
  const std::size_t limit = AnswerLimit();
  Drops drops;
  {
    std::lock_guard<std::mutex> lock(reply_mutex_);
    drops = MakeRoom(lists_, limit, lists_dropped_);
    lists_.push_back(std::move(stream));
  }
  LogOverflow(lines, "list", limit, drops);
}

void CRecvQueue::PushReply(const Lines& lines, const std::uint8_t* frame, int size) {
  auto stream = std::make_shared<Stream>(frame, static_cast<std::size_t>(size));
  const std::size_t limit = AnswerLimit();
  Drops drops;
  {
    std::lock_guard<std::mutex> lock(reply_mutex_);
    drops = MakeRoom(replies_, limit, replies_dropped_);
    replies_.push_back(std::move(stream));
  }
  reply_signal_.notify_all();
  LogOverflow(lines, "reply", limit, drops);
}

void CRecvQueue::PushCallEvent(const Lines& lines, const std::uint8_t* frame, int size) {
  if (size > kDeviceOffset && frame[kEventCodeOffset] == kEstablishedCode) {
    const int count = frame[kDeviceOffset];
    if (kDeviceOffset + 1 + count <= size) {
      waiters_.Notify(std::string_view(reinterpret_cast<const char*>(frame + kDeviceOffset + 1),
                                       static_cast<std::size_t>(count)));
    }
  }
  PushEventFrame(lines, std::make_shared<Stream>(frame, static_cast<std::size_t>(size)));
}

void CRecvQueue::LogArrived(const Lines& lines, Route route, const std::uint8_t* frame, int size) {
  if (route == Route::kShortHaNotice) {
    LogDropped(lines, "HA notice", frame, size);
    return;
  }
  if (!lines.Enabled(kLogInfo)) return;
  switch (route) {
    case Route::kReply:
      lines.Write(SizeAndDump("recv data : <", size, frame), kLogInfo);
      return;
    case Route::kHaNotice: {
      const std::uint8_t notice = frame[kHaFlagOffset] != 0 ? kHaActive : kHaStandby;
      lines.Write(SizeAndDump("[HA] : <", size, frame), kLogInfo);
      lines.Write("[HA] : ACTIVE - MODE [" + std::to_string(notice) + "]", kLogInfo);
      return;
    }
    case Route::kEvent:
      lines.Write(std::string(kMarkEvent) + SizeAndDump(" evet data : <", size, frame),
                  kLogInfo);
      return;
    default:
      return;
  }
}

void CRecvQueue::LogQueued(const Lines& lines, Route route, const std::uint8_t* frame, int size) {
  if (!lines.Enabled(kLogInfo)) return;
  const char* text = route == Route::kReply   ? "WriteQueue[R] : "
                     : route == Route::kEvent ? "WriteQueue[E] : "
                                              : nullptr;
  if (text == nullptr) return;
  lines.Write(std::string(kMarkQueued) + text + HexDump(frame, size), kLogInfo);
}

void CRecvQueue::PushEvent(StreamPtr frame) {
  std::lock_guard<std::mutex> lock(event_mutex_);
  events_.push_back(Event{std::move(frame), connection_.load()});
}

void CRecvQueue::PushEventFrame(const Lines& lines, StreamPtr frame) {
  const std::size_t limit = event_limit_.load();
  Drops drops;
  {
    std::lock_guard<std::mutex> lock(event_mutex_);
    drops = Drops{events_dropped_, events_dropped_};
    if (event_frames_ >= limit) {
      const auto oldest = std::find_if(events_.begin(), events_.end(),
                                       [](const Event& e) { return !IsNotice(*e.frame); });
      if (oldest != events_.end()) {
        events_.erase(oldest);
        --event_frames_;
        drops.after = ++events_dropped_;
      }
    }
    events_.push_back(Event{std::move(frame), connection_.load()});
    ++event_frames_;
  }
  LogOverflow(lines, "event", limit, drops);
}

void CRecvQueue::LogOverflow(const Lines& lines, const char* what, std::size_t limit,
                             Drops drops) {
  // Level 1: written whatever the threshold, as the frames' own lines are.
  if (!PassedPowerOfTwo(drops.before, drops.after) || !lines.Enabled(kLogInfo)) return;
  const std::uint64_t dropped = drops.after;
  lines.Write(std::string("recv queue full (") + what + ", limit " + std::to_string(limit) +
                  "): " + std::to_string(dropped) + " dropped",
              kLogInfo);
}

void CRecvQueue::LogDropped(const Lines& lines, const char* what, const std::uint8_t* frame,
                            int size) {
  if (!lines.Enabled(kLogVerbose)) return;
  lines.Write(std::string("recv drop (") + what + ") : <" + std::to_string(size) + ">" +
                  HexDump(frame, size),
              kLogVerbose);
}

void CRecvQueue::LogTooLong() {
  // Level 1, as the lines of the frames that are taken: a frame the server sent never goes
  // without a word. Its size as announced, and the bytes read of it: the head (its length),
  // then its class and code.
  if (!logger_.Enabled(kLogInfo)) return;
  logger_.Write(SizeAndDump("recv drop (too long) : <", decoder_.RefusedSize(), decoder_.Frame(),
                            FrameDecoder::kRefusedSeen),
                kLogInfo);
}

}  // namespace vomtel
