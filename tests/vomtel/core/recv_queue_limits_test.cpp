// The receive side against a server that floods it or shortens an envelope: every queue stays
// within its limit, keeping the newest frames and saying so in the log, and the stream finds
// the next frame after an envelope whose rest length is too short.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/byte_fakes.h"
#include "vomtel/core/envelope.h"
#include "vomtel/core/frame.h"
#include "vomtel/core/recv_queue.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {
namespace {

using test::Bytes;
using test::Concat;
using test::Filled;
using test::WireFrame;

Bytes U32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

// Frames that carry a sequence number at bytes 14-17.
Bytes NumberedEvent(std::uint32_t n) {
  Bytes rest = Filled(11, 0);
  rest[1] = 2;  // event code at byte 4: a call event
  return WireFrame(0xA1, Concat(rest, U32(n)));
}
Bytes NumberedReply(std::uint32_t n) {
  return WireFrame(0xA2, Concat({0x41, 0x65, 0, 0, 0, 0, 0, 0, 1, 0, 7}, U32(n)));
}
Bytes NumberedList(std::uint32_t n) { return WireFrame(0xA0, Concat(Filled(11, 0), U32(n))); }

std::uint32_t NumberOf(const Stream& frame) {
  return static_cast<std::uint32_t>(frame.At(14)) << 24 | frame.At(15) << 16 |
         frame.At(16) << 8 | frame.At(17);
}

class RecvQueueLimits : public ::testing::Test {
 protected:
  test::ScratchLog log;
  EstablishedWaiters waiters;
  CRecvQueue queue{log.Logger(), waiters};
  test::FedSource source;

  void Drain() {
    while (queue.ReceiveAvailable(source) == kOk && source.Left() > 0) {
    }
  }
};

int TakeEvent(CRecvQueue& q, Stream& out) { return q.ReadEvent(out); }
int TakeReply(CRecvQueue& q, Stream& out) { return q.ReadReply(out, std::chrono::milliseconds(0)); }
int TakeList(CRecvQueue& q, Stream& out) { return q.ReadList(out); }

// Each queue past its limit keeps the newest frames, in order, and logs its drops.
TEST_F(RecvQueueLimits, EveryQueueKeepsItsNewestFramesUpToItsLimit) {
  struct Case {
    const char* what;
    Bytes (*frame)(std::uint32_t);
    int (*take)(CRecvQueue&, Stream&);
    std::size_t limit;
  };
  const Case cases[] = {{"event", NumberedEvent, TakeEvent, 50},
                        {"reply", NumberedReply, TakeReply, 8},
                        {"list", NumberedList, TakeList, 8}};
  constexpr std::uint32_t kSent = 1000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    queue.SetLimits(QueueLimits{50, 8, 10001});
    for (std::uint32_t n = 0; n < kSent; ++n) source.Feed(c.frame(n));
    Drain();
    std::vector<std::uint32_t> got;
    Stream out;
    while (c.take(queue, out) == kOk) got.push_back(NumberOf(out));
    ASSERT_EQ(got.size(), c.limit);
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], kSent - c.limit + i);
    EXPECT_NE(log.Text().find(std::string("recv queue full (") + c.what + ", limit " +
                              std::to_string(c.limit) + "): 512 dropped"),
              std::string::npos);
  }
}

// While an answer is awaited the reply queue holds a whole answer; afterwards the next frame
// brings it back to the small limit.
TEST_F(RecvQueueLimits, AnAwaitedAnswerIsKeptWhole) {
  queue.SetLimits(QueueLimits{50, 8, 300});
  queue.SetAnswering(true);
  for (std::uint32_t n = 0; n < 300; ++n) source.Feed(NumberedReply(n));
  Drain();
  EXPECT_EQ(queue.ReplyCount(), 300u);
  queue.SetAnswering(false);
  source.Feed(NumberedReply(300));
  Drain();
  EXPECT_EQ(queue.ReplyCount(), 8u);
  Stream out;
  ASSERT_EQ(queue.ReadReply(out, std::chrono::milliseconds(0)), kOk);
  EXPECT_EQ(NumberOf(out), 293u);
}

// The end of an answer (read or given up) leaves at once no more than the small limit of what
// is still queued, the newest, and says so in the log: the next request does not have to drop
// the rest of an abandoned answer one frame at a time within its own wait.
TEST_F(RecvQueueLimits, TheEndOfAnAnswerTrimsWhatIsLeftOfIt) {
  queue.SetLimits(QueueLimits{50, 8, 1000});
  queue.SetAnswering(true);
  for (std::uint32_t n = 0; n < 300; ++n) source.Feed(NumberedReply(n));
  for (std::uint32_t n = 0; n < 20; ++n) source.Feed(NumberedList(n));
  Drain();
  queue.SetAnswering(false);
  EXPECT_EQ(queue.ReplyCount(), 8u);
  EXPECT_EQ(queue.ListCount(), 8u);
  Stream out;
  ASSERT_EQ(queue.ReadReply(out, std::chrono::milliseconds(0)), kOk);
  EXPECT_EQ(NumberOf(out), 292u);
  ASSERT_EQ(queue.ReadList(out), kOk);
  EXPECT_EQ(NumberOf(out), 12u);
  EXPECT_NE(log.Text().find("recv queue full (reply, limit 8): 292 dropped"), std::string::npos);
  EXPECT_NE(log.Text().find("recv queue full (list, limit 8): 12 dropped"), std::string::npos);
}

// The notices that drive fail-over are never dropped and do not count against the limit.
TEST_F(RecvQueueLimits, NoticesOutliveAnEventFlood) {
  queue.SetLimits(QueueLimits{4, 8, 10001});
  Bytes ha = Filled(29, 0);  // bytes 3-31 of an HA notice, byte 31 = 0: standby
  ha[1] = 0xFC;
  source.Feed(WireFrame(0xA1, ha));
  for (std::uint32_t n = 0; n < 100; ++n) source.Feed(NumberedEvent(n));
  Drain();
  queue.PostConnectionLost(0);
  EXPECT_EQ(queue.EventCount(), 6u);
  Stream out;
  ASSERT_EQ(queue.ReadEvent(out), kOk);
  EXPECT_EQ(out.Size(), 1u);
  EXPECT_EQ(out.At(0), kHaStandby);
  for (std::uint32_t n = 96; n < 100; ++n) {
    ASSERT_EQ(queue.ReadEvent(out), kOk);
    EXPECT_EQ(NumberOf(out), n);
  }
  ASSERT_EQ(queue.ReadEvent(out), kOk);
  EXPECT_EQ(out.At(0), kConnectionLost);
}

// An envelope whose rest length (bytes 1-2) was cut to 8: its ciphertext is stepped over and
// every frame after it arrives. The crafted ciphertext holds what a real one may hold: a
// first byte followed by a length that would swallow the frames behind it.
TEST_F(RecvQueueLimits, ShortenedEnvelopeLeavesTheStreamAligned) {
  const Bytes plain = NumberedEvent(99);
  Bytes real(plain.size() + 26);
  real.resize(static_cast<std::size_t>(EncryptPacket(static_cast<int>(plain.size()), plain.data(), real.data())));
  Bytes crafted = {0xEC, 0x00, 0x20 + 8, 0x00, 0x12, 0x81, 0x00, 0x16, 0xA8, 0x00, 0x20};
  const Bytes cipher = Concat({0xA1, 0x1F, 0xFD}, Filled(29, 0x5A));
  crafted = Concat(crafted, cipher);
  struct Case {
    const char* name;
    Bytes envelope;
  };
  for (const Case& c : {Case{"enciphered", real}, Case{"crafted ciphertext", crafted}}) {
    SCOPED_TRACE(c.name);
    Bytes shortened = c.envelope;
    shortened[1] = 0x00;
    shortened[2] = 0x08;
    source.Feed(shortened);
    for (std::uint32_t n = 0; n < 10; ++n) source.Feed(NumberedEvent(n));
    source.Feed(NumberedReply(10));
    Drain();
    Stream out;
    for (std::uint32_t n = 0; n < 10; ++n) {
      ASSERT_EQ(queue.ReadEvent(out), kOk) << n;
      EXPECT_EQ(NumberOf(out), n);
    }
    EXPECT_EQ(queue.ReadEvent(out), kNoEvent);
    ASSERT_EQ(queue.ReadReply(out, std::chrono::milliseconds(0)), kOk);
    EXPECT_EQ(NumberOf(out), 10u);
  }
}

}  // namespace
}  // namespace vomtel
