#include "vomtel/core/recv_queue.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/sockets/tcp_socket.h"
#include "platform/time/local_time.h"
#include "support/byte_fakes.h"
#include "vomtel/core/envelope.h"
#include "vomtel/core/frame.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {
namespace {

using test::Bytes;
using test::Concat;
using test::Filled;
using test::WireFrame;
using namespace std::chrono_literals;

Bytes StreamBytes(const Stream& stream) { return Bytes(stream.Data(), stream.Data() + stream.Size()); }

// A reply frame: class, code, version, header word, result 1, request number 7, two data bytes.
const Bytes kReply = WireFrame(0xA2, {0x41, 0x65, 0x28, 0x00, 0x00, 0, 0, 0, 1, 0x00, 0x07, 0xAB, 0xCD});

// An event frame with `code` and a body; the head is zero after the code.
Bytes EventFrame(std::uint8_t code, const Bytes& body) {
  Bytes rest = Filled(27, 0);  // bytes 3-29
  rest[1] = code;              // byte 4
  return WireFrame(0xA1, Concat(rest, body));
}

Bytes Str8(const std::string& text) {
  Bytes out(text.size() + 1);
  out[0] = static_cast<std::uint8_t>(text.size());
  std::copy(text.begin(), text.end(), out.begin() + 1);
  return out;
}

class RecvQueueTest : public ::testing::Test {
 protected:
  test::ScratchLog log;
  EstablishedWaiters waiters;
  CRecvQueue queue{log.Logger(), waiters};
  test::FedSource source;

  // Rounds of the three stages over what has been fed, until nothing more is there.
  std::vector<int> Drain() {
    std::vector<int> results;
    for (int round = 0; round < 100000; ++round) {
      const int result = queue.ReceiveOnce(source);
      results.push_back(result);
      if (result == kIncomplete || result == kConnectionClosed) break;
    }
    return results;
  }

  Bytes NextReply() {
    Stream out;
    EXPECT_EQ(queue.ReadReply(out, 0ms), kOk);
    return StreamBytes(out);
  }
};

TEST_F(RecvQueueTest, JunkBeforeAFrameIsSkippedByteByByte) {
  source.Feed(Concat({0x00, 0x7F}, kReply));
  EXPECT_EQ(Drain(), (std::vector<int>{kNotFrameType, kNotFrameType, kOk, kIncomplete}));
  EXPECT_EQ(NextReply(), kReply);
}

TEST_F(RecvQueueTest, ReplyInPiecesIsQueuedWholeAtTheEnd) {
  const std::vector<Bytes> pieces = {{0xA2}, {0x00}, Bytes(kReply.begin() + 2, kReply.begin() + 9),
                                     Bytes(kReply.begin() + 9, kReply.end())};
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    source.Feed(pieces[i]);
    EXPECT_EQ(queue.ReceiveOnce(source), i + 1 < pieces.size() ? kIncomplete : kOk) << "piece " << i;
  }
  EXPECT_EQ(NextReply(), kReply);
}

TEST_F(RecvQueueTest, EveryFrameKindSplitAtEveryOffset) {
  const Bytes list = WireFrame(0xA0, {1, 2, 3});
  const Bytes event = EventFrame(0x02, Str8("5001"));
  const Bytes stream = Concat(Concat(kReply, list), event);
  for (std::size_t cut = 1; cut < stream.size(); ++cut) {
    CRecvQueue fresh(log.Logger(), waiters);
    test::FedSource split;
    split.Feed(Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut)));
    fresh.ReceiveAvailable(split);
    split.Feed(Bytes(stream.begin() + static_cast<std::ptrdiff_t>(cut), stream.end()));
    fresh.ReceiveAvailable(split);
    Stream out;
    ASSERT_EQ(fresh.ReadReply(out, 0ms), kOk) << "cut " << cut;
    EXPECT_EQ(StreamBytes(out), kReply);
    ASSERT_EQ(fresh.ReadList(out), kOk) << "cut " << cut;
    EXPECT_EQ(StreamBytes(out), list);
    ASSERT_EQ(fresh.ReadEvent(out), kOk) << "cut " << cut;
    EXPECT_EQ(StreamBytes(out), event);
  }
}

TEST_F(RecvQueueTest, LengthLimitAndResynchronisation) {
  struct Case {
    std::uint16_t length;
    bool accepted;
    const char* line;  // of the refused frame: its size, head, class and code
  };
  for (const Case c : {Case{8189, true, "recv drop (too long) : <8192>"},
                       Case{8190, false, "] recv drop (too long) : <8193>a0 1f fe a2 00 \n"},
                       Case{0xFFFF, false, "] recv drop (too long) : <65538>a0 ff ff a2 00 \n"}}) {
    CRecvQueue fresh(log.Logger(), waiters);
    test::FedSource wire;
    // The announced bytes look like frames: a refused frame's bytes must be skipped, not read.
    Bytes announced;
    while (announced.size() < c.length) {
      for (std::uint8_t b : {0xA2, 0x00, 0x00}) announced.push_back(b);
    }
    announced.resize(c.length);
    wire.Feed(Concat(Concat({0xA0, static_cast<std::uint8_t>(c.length >> 8),
                             static_cast<std::uint8_t>(c.length & 0xFF)},
                            announced),
                     kReply));
    std::vector<int> results;
    int result = 0;
    while ((result = fresh.ReceiveOnce(wire)) != kIncomplete) results.push_back(result);
    EXPECT_EQ(fresh.ListCount(), c.accepted ? 1u : 0u) << c.length;
    const std::vector<int> expected =
        c.accepted ? std::vector<int>{kOk, kOk} : std::vector<int>{kFrameTooLong, kOk};
    EXPECT_EQ(results, expected) << c.length;
    EXPECT_EQ(log.Text().find(c.line) != std::string::npos, !c.accepted) << c.length;
    Stream out;
    ASSERT_EQ(fresh.ReadReply(out, 0ms), kOk) << c.length;
    EXPECT_EQ(StreamBytes(out), kReply);
    EXPECT_EQ(fresh.ReplyCount(), 0u) << c.length;
  }
}

TEST_F(RecvQueueTest, EmptyListFrameIsCompleteWithItsHead) {
  source.Feed({0xA0, 0x00, 0x00});
  EXPECT_EQ(queue.ReceiveOnce(source), kOk);
  Stream out;
  ASSERT_EQ(queue.ReadList(out), kOk);
  EXPECT_EQ(StreamBytes(out), (Bytes{0xA0, 0x00, 0x00}));
  EXPECT_EQ(queue.ReadList(out), kNoEvent);
}

TEST_F(RecvQueueTest, HaNoticesReplaceTheirEventFrames) {
  struct Case {
    std::size_t bodySize;  // event body bytes after byte 29
    std::uint8_t flag;     // byte 31
    int notice;            // -1: dropped
  };
  for (const Case c : {Case{2, 1, kHaActive}, Case{2, 0, kHaStandby}, Case{2, 0x80, kHaActive},
                       Case{1, 1, -1}}) {
    CRecvQueue fresh(log.Logger(), waiters);
    test::FedSource wire;
    Bytes body = Filled(c.bodySize, 0);
    if (c.bodySize > 1) body[1] = c.flag;
    wire.Feed(EventFrame(0xFC, body));
    EXPECT_EQ(fresh.ReceiveOnce(wire), kOk);
    Stream out;
    if (c.notice < 0) {
      EXPECT_EQ(fresh.ReadEvent(out), kNoEvent) << "a notice without its flag byte";
      continue;
    }
    ASSERT_EQ(fresh.ReadEvent(out), kOk);
    EXPECT_EQ(StreamBytes(out), Bytes{static_cast<std::uint8_t>(c.notice)});
    EXPECT_EQ(fresh.ReadEvent(out), kNoEvent);
  }
  const std::string text = log.Text();
  EXPECT_NE(text.find("] [HA] : ACTIVE - MODE [17]\n"), std::string::npos);
  EXPECT_NE(text.find("] [HA] : ACTIVE - MODE [18]\n"), std::string::npos);
}

TEST_F(RecvQueueTest, EstablishedEventMeetsOnlyItsOwnDevice) {
  struct Case {
    std::string armed;
    Bytes body;  // from byte 30
    bool seen;
  };
  const std::vector<Case> cases = {
      {"3001", Str8("3001"), true},
      {"30011", Str8("3001"), false},
      {"300", Str8("3001"), false},
      {"", Str8(""), true},
      {"3001", {0x05, '3', '0', '0', '1'}, false},  // the count runs past the frame's end
      {"", {}, false},                              // no device byte at all
  };
  for (const Case& c : cases) {
    EstablishedWaiters own;
    CRecvQueue fresh(log.Logger(), own);
    test::FedSource wire;
    const auto token = own.Arm(c.armed);
    wire.Feed(EventFrame(6, c.body));
    EXPECT_EQ(fresh.ReceiveOnce(wire), kOk);
    EXPECT_EQ(own.Wait(token, std::chrono::steady_clock::now()), c.seen) << "armed " << c.armed;
    EXPECT_EQ(fresh.EventCount(), 1u) << "the event is queued either way";
  }
}

TEST_F(RecvQueueTest, EnvelopesAreOpenedAndTheirFramesChecked) {
  auto envelope = [](const Bytes& plain) {
    Bytes out(plain.size() + 26);
    out.resize(static_cast<std::size_t>(
        EncryptPacket(static_cast<int>(plain.size()), plain.data(), out.data())));
    return out;
  };
  struct Case {
    const char* what;
    Bytes plain;
    std::size_t replies;
  };
  const std::vector<Case> cases = {
      {"a reply", kReply, 1},
      {"bytes behind the frame are ignored", Concat(kReply, {0xEE, 0xEE}), 1},
      {"own length beyond what was deciphered", {0xA2, 0x00, 0x20, 0x41}, 0},
      {"shorter than a head", {0xA2, 0x00}, 0},
      {"an envelope inside is not opened", envelope(kReply), 0},
  };
  for (const Case& c : cases) {
    CRecvQueue fresh(log.Logger(), waiters);
    test::FedSource wire;
    const Bytes sealed = envelope(c.plain);
    ASSERT_FALSE(sealed.empty()) << c.what;
    wire.Feed(sealed);
    EXPECT_EQ(fresh.ReceiveOnce(wire), kOk) << c.what;
    EXPECT_EQ(fresh.ReplyCount(), c.replies) << c.what;
    EXPECT_EQ(fresh.EventCount() + fresh.ListCount(), 0u) << c.what;
    Stream out;
    if (c.replies == 1 && fresh.ReadReply(out, 0ms) == kOk) {
      EXPECT_EQ(StreamBytes(out), kReply) << c.what;
    }
  }
  // Kinds 0x82 and 0x83 carry nothing; an unknown kind is refused.
  for (std::uint8_t kind : {0x82, 0x83, 0x84}) {
    Bytes empty = WireFrame(0xEC, {0x00, 0x00, kind, 0x00, 0x00, 0x01, 0x00, 0x00});
    source.Feed(empty);
    EXPECT_EQ(queue.ReceiveOnce(source), kOk);
  }
  EXPECT_EQ(queue.ReplyCount() + queue.EventCount() + queue.ListCount(), 0u);
}

TEST_F(RecvQueueTest, ClosedSourceEndsEveryStage) {
  const std::vector<Bytes> fed = {{}, {0xA2}, {0xA2, 0x00, 0x05, 0x01}};
  for (const Bytes& bytes : fed) {
    CRecvQueue fresh(log.Logger(), waiters);
    test::FedSource wire;
    wire.Feed(bytes);
    wire.Close();
    EXPECT_EQ(fresh.ReceiveAvailable(wire), kConnectionClosed) << bytes.size() << " bytes fed";
  }
}

TEST_F(RecvQueueTest, ReadReplyWaits) {
  Stream out;
  auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(queue.ReadReply(out, 0ms), kTimeout);
  EXPECT_EQ(queue.ReadReply(out, 60ms), kTimeout);
  EXPECT_GE(std::chrono::steady_clock::now() - started, 60ms);

  source.Feed(kReply);
  queue.ReceiveOnce(source);
  started = std::chrono::steady_clock::now();
  EXPECT_EQ(queue.ReadReply(out, 5s), kOk);
  EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
  EXPECT_EQ(StreamBytes(out), kReply);
}

TEST_F(RecvQueueTest, ReaderThatMissesAReplyWaitsOnToItsDeadline) {
  // Two readers, one reply: the one that does not get it must not give up when woken.
  std::vector<int> results(2);
  std::vector<std::chrono::steady_clock::duration> took(2);
  const auto started = std::chrono::steady_clock::now();
  std::vector<std::thread> readers;
  for (int i = 0; i < 2; ++i) {
    readers.emplace_back([&, i] {
      Stream out;
      results[static_cast<std::size_t>(i)] = queue.ReadReply(out, 400ms);
      took[static_cast<std::size_t>(i)] = std::chrono::steady_clock::now() - started;
    });
  }
  std::this_thread::sleep_for(30ms);  // both readers are waiting
  source.Feed(kReply);
  queue.ReceiveOnce(source);
  for (auto& reader : readers) reader.join();
  const int loser = results[0] == kOk ? 1 : 0;
  EXPECT_EQ(results[1 - static_cast<std::size_t>(loser)], kOk);
  EXPECT_EQ(results[static_cast<std::size_t>(loser)], kTimeout);
  EXPECT_GE(took[static_cast<std::size_t>(loser)], 400ms);
}

TEST_F(RecvQueueTest, NewConnectionEmptiesRepliesAndListsKeepsEvents) {
  source.Feed(Concat(Concat(kReply, WireFrame(0xA0, {})), EventFrame(2, {})));
  source.Feed({0xA2, 0x00, 0x20, 0x01});  // a frame cut off by the end of the connection
  queue.ReceiveAvailable(source);
  queue.PostConnectionLost(41);

  queue.BeginConnection(42);
  EXPECT_EQ(queue.ReplyCount(), 0u);
  EXPECT_EQ(queue.ListCount(), 0u);
  source.Feed(kReply);  // the next connection's first frame is read from its own first byte
  queue.ReceiveAvailable(source);
  EXPECT_EQ(NextReply(), kReply);

  source.Feed(EventFrame(3, {}));
  queue.ReceiveAvailable(source);
  Stream out;
  std::uint64_t connection = 0;
  ASSERT_EQ(queue.ReadEvent(out, &connection), kOk);
  EXPECT_EQ(out.At(4), 2);
  EXPECT_EQ(connection, 0u) << "the event of the first connection (id 0)";
  ASSERT_EQ(queue.ReadEvent(out, &connection), kOk);
  EXPECT_EQ(StreamBytes(out), Bytes{0xA4});
  EXPECT_EQ(connection, 41u);
  ASSERT_EQ(queue.ReadEvent(out, &connection), kOk);
  EXPECT_EQ(out.At(4), 3);
  EXPECT_EQ(connection, 42u);
  EXPECT_EQ(queue.ReadEvent(out, &connection), kNoEvent);
}

TEST_F(RecvQueueTest, PacketLogLines) {
  source.Feed(Concat(kReply, EventFrame(2, {})));
  queue.ReceiveAvailable(source);
  Stream out;
  queue.ReadReply(out, 0ms);
  const std::string dump = "a2 00 0d 41 65 28 00 00 00 00 00 01 00 07 ab cd ";
  const std::string text = log.Text();
  EXPECT_NE(text.find("] recv data : <16>" + dump + "\n"), std::string::npos);
  EXPECT_NE(text.find("] \xA2\xB7\xA2\xB7WriteQueue[R] : " + dump + "\n"), std::string::npos);
  EXPECT_NE(text.find("] ReadQueue[R] :" + dump + "\n"), std::string::npos);
  EXPECT_NE(text.find("] \xA1\xDF\xA1\xDF\xA1\xDF evet data : <30>a1 00 1b 00 02 "), std::string::npos);
  EXPECT_NE(text.find("] \xA2\xB7\xA2\xB7WriteQueue[E] : a1 00 1b "), std::string::npos);
}

// A source that counts its reads.
class CountingSource : public test::FedSource {
 public:
  int Read(std::uint8_t* buffer, int count) override {
    ++reads;
    return FedSource::Read(buffer, count);
  }
  int reads = 0;
};

TEST_F(RecvQueueTest, OneReadTakesWhatTheSourceHolds) {
  struct Case {
    const char* what;
    std::size_t frames;
    std::size_t junk;  // bytes of no frame type in front of each frame
    int reads;
  };
  // 16-byte replies: 600 are more than one 8 KB buffer holds, so a second read takes the rest.
  for (const Case c : {Case{"frames", 40, 0, 1}, Case{"junk between frames", 40, 50, 1},
                       Case{"more than a buffer", 600, 0, 2}}) {
    CRecvQueue fresh(log.Logger(), waiters);
    fresh.SetLimits(QueueLimits{10, 1000, 1000});
    CountingSource wire;
    for (std::size_t i = 0; i < c.frames; ++i) wire.Feed(Concat(Filled(c.junk, 0x11), kReply));
    EXPECT_EQ(fresh.ReceiveAvailable(wire), kOk) << c.what;
    EXPECT_EQ(wire.reads, c.reads) << c.what;
    EXPECT_EQ(fresh.ReplyCount(), c.frames) << c.what;
  }
}

// A socket as the service thread reads it.
class SocketSource : public ByteSource {
 public:
  explicit SocketSource(int fd) : fd_(fd) {}
  int Read(std::uint8_t* buffer, int count) override { return SocketReceive(fd_, buffer, count); }

 private:
  int fd_;
};

TEST_F(RecvQueueTest, FramesSentJustBeforeTheServerClosesAreQueued) {
  int ends[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, ends), 0);
  const Bytes sent = Concat(kReply, EventFrame(2, {}));
  ASSERT_EQ(::write(ends[1], sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
  ::close(ends[1]);
  SocketSource wire(ends[0]);
  int result = kOk;
  for (int wake = 0; wake < 10 && result == kOk; ++wake) result = queue.ReceiveAvailable(wire);
  ::close(ends[0]);
  EXPECT_EQ(result, kConnectionClosed);
  EXPECT_EQ(NextReply(), kReply);
  EXPECT_EQ(queue.EventCount(), 1u);
}

// The lines of a frame as it arrives and once it is queued come before the line of whoever
// takes it. The reading thread's log is made slow: before each of its lines it gives the taker
// up to `grace` to finish, so that a line written only after the frame is queued is overtaken.
TEST(RecvQueueLogOrder, FrameIsLoggedQueuedBeforeItIsTaken) {
  constexpr auto kGrace = 250ms;
  struct Case {
    const char* name;
    Bytes frame;
    const char* queued;
    const char* taken;
    std::function<int(CRecvQueue&, Stream&)> take;
  };
  const std::vector<Case> cases = {
      {"reply", kReply, "WriteQueue[R] : ", "ReadQueue[R] :",
       [](CRecvQueue& queue, Stream& out) { return queue.ReadReply(out, 10s); }},
      {"event", EventFrame(0x02, Str8("5001")), "WriteQueue[E] : ", "ReadQueue[E] : ",
       [](CRecvQueue& queue, Stream& out) {
         const auto deadline = std::chrono::steady_clock::now() + 10s;
         int result = kNoEvent;
         while ((result = queue.ReadEvent(out)) == kNoEvent &&
                std::chrono::steady_clock::now() < deadline) {
           std::this_thread::yield();
         }
         return result;
       }}};
  for (const Case& c : cases) {
    test::TempDir dir;
    std::atomic<std::thread::id> reader{};
    std::mutex mutex;
    std::condition_variable signal;
    bool taken = false;
    CLogger logger([&] {
      if (std::this_thread::get_id() == reader.load()) {
        std::unique_lock<std::mutex> lock(mutex);
        signal.wait_for(lock, kGrace, [&] { return taken; });
      }
      return LocalTimeNow();
    });
    logger.SetPath(dir.Path(), "log");
    EstablishedWaiters waiters;
    CRecvQueue queue(logger, waiters);
    auto taker = std::async(std::launch::async, [&] {
      Stream out;
      const int result = c.take(queue, out);
      std::lock_guard<std::mutex> lock(mutex);
      taken = true;
      signal.notify_all();
      return result;
    });
    std::thread reading([&] {
      reader.store(std::this_thread::get_id());
      test::FedSource source;
      source.Feed(c.frame);
      queue.ReceiveOnce(source);
    });
    reading.join();
    EXPECT_EQ(taker.get(), kOk) << c.name;
    std::string text;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "log")) {
      text += test::ReadFile(entry.path().string());
    }
    const std::size_t queued = text.find(c.queued);
    ASSERT_NE(queued, std::string::npos) << c.name;
    EXPECT_LT(queued, text.find(c.taken)) << c.name << "\n" << text;
  }
}

}  // namespace
}  // namespace vomtel
