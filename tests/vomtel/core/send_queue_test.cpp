#include "vomtel/core/send_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <string>
#include <thread>

#include "support/byte_fakes.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {
namespace {

using test::Bytes;
using test::Concat;
using namespace std::chrono_literals;

Stream FrameOf(const Bytes& bytes) { return Stream(bytes.data(), bytes.size()); }

const Bytes kFirst = test::WireFrame(0xA1, {0x45, 0x46, 0x00, 0x00, 0x00, 0x11, 0x22});
const Bytes kSecond = test::WireFrame(0xA1, {0x42, 0x1E, 0x00, 0x00, 0x00, 0x33});

class SendQueueTest : public ::testing::Test {
 protected:
  test::ScratchLog log;
  CSendQueue queue{log.Logger()};
  test::RecordingSink sink;

  // Starts a writer on its own thread.
  std::future<int> StartWriter(const Bytes& bytes, std::chrono::milliseconds wait) {
    return std::async(std::launch::async, [this, bytes, wait] { return queue.Write(FrameOf(bytes), wait); });
  }
  // Waits until `bytes` unsent bytes are queued.
  bool PendingReaches(int bytes) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (queue.PendingBytes() != bytes) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }
  // The wake-up hook runs after the writer has queued its bytes, so it is waited for too.
  static bool Reaches(const std::atomic<int>& counter, int value) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (counter.load() != value) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(1ms);
    }
    return true;
  }
};

TEST_F(SendQueueTest, WriterGetsOneOnceItsBytesAreOut) {
  EXPECT_EQ(queue.Flush(sink), kNoRoom) << "nothing pending";
  auto writer = StartWriter(kFirst, 5s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kFirst.size())));
  EXPECT_EQ(queue.Flush(sink), kOk);
  EXPECT_EQ(writer.get(), kOk);
  EXPECT_EQ(sink.Taken(), kFirst);
  EXPECT_FALSE(queue.HasPending());
  EXPECT_NE(log.Text().find("] \xA1\xE3\xA1\xE3\xA1\xE3 send data : <10> a1 00 07 45 46 00 00 00 11 22 \n"),
            std::string::npos);
}

TEST_F(SendQueueTest, FrameNotStartedByTheDeadlineIsWithdrawn) {
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(queue.Write(FrameOf(kFirst), 50ms), kTimeout);
  EXPECT_GE(std::chrono::steady_clock::now() - started, 50ms);
  EXPECT_FALSE(queue.HasPending());
  EXPECT_EQ(queue.Flush(sink), kNoRoom);
  EXPECT_TRUE(sink.Taken().empty()) << "a request reported as failed must never reach the server";
}

TEST_F(SendQueueTest, FramePartlySentIsCompletedAndItsWriterFails) {
  sink.SetRoom(5);
  auto writer = StartWriter(kFirst, 1000ms);  // the flush below comes well before its deadline
  ASSERT_TRUE(PendingReaches(static_cast<int>(kFirst.size())));
  EXPECT_EQ(queue.Flush(sink), kOk);
  EXPECT_EQ(writer.get(), kTimeout) << "its last byte had not gone out";
  EXPECT_EQ(queue.PendingBytes(), static_cast<int>(kFirst.size()) - 5);
  sink.SetRoom(-1);
  EXPECT_EQ(queue.Flush(sink), kOk);
  EXPECT_EQ(sink.Taken(), kFirst) << "the stream is never cut inside a frame";
}

TEST_F(SendQueueTest, EachWriterLearnsAboutItsOwnBytes) {
  auto first = StartWriter(kFirst, 5s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kFirst.size())));
  auto second = StartWriter(kSecond, 5s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kFirst.size() + kSecond.size())));
  sink.SetRoom(static_cast<int>(kFirst.size()) + 1);  // the first frame and one byte of the second
  EXPECT_EQ(queue.Flush(sink), kOk);
  EXPECT_EQ(first.get(), kOk);
  EXPECT_EQ(second.wait_for(50ms), std::future_status::timeout) << "woken, but its bytes are not out";
  sink.SetRoom(-1);
  EXPECT_EQ(queue.Flush(sink), kOk);
  EXPECT_EQ(second.get(), kOk);
  EXPECT_EQ(sink.Taken(), Concat(kFirst, kSecond));
}

TEST_F(SendQueueTest, NoRoomBehindPendingBytes) {
  auto big = StartWriter(Bytes(8000, 0x5A), 5s);
  ASSERT_TRUE(PendingReaches(8000));
  EXPECT_EQ(queue.Write(FrameOf(Bytes(193, 0x11)), 5s), kNoRoom);
  EXPECT_EQ(queue.PendingBytes(), 8000) << "a refused frame queues nothing";
  auto fits = StartWriter(Bytes(192, 0x22), 5s);
  ASSERT_TRUE(PendingReaches(8192));
  EXPECT_EQ(queue.Flush(sink), kOk);
  EXPECT_EQ(big.get(), kOk);
  EXPECT_EQ(fits.get(), kOk);
}

TEST_F(SendQueueTest, FailedSendKeepsBytesAndDropWakesWriters) {
  auto writer = StartWriter(kFirst, 10s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kFirst.size())));
  sink.SetFailing(true);
  EXPECT_EQ(queue.Flush(sink), kConnectionClosed);
  EXPECT_TRUE(queue.HasPending());
  const auto dropped = std::chrono::steady_clock::now();
  queue.DropPending();
  EXPECT_EQ(writer.get(), kTimeout);
  EXPECT_LT(std::chrono::steady_clock::now() - dropped, 2s) << "a dropped writer fails at once";
  EXPECT_FALSE(queue.HasPending());
}

TEST_F(SendQueueTest, EndedConnectionFailsWritersAtOnceUntilTheNext) {
  sink.SetRoom(5);
  auto partly = StartWriter(kFirst, 10s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kFirst.size())));
  EXPECT_EQ(queue.Flush(sink), kOk);
  auto unsent = StartWriter(kSecond, 10s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kFirst.size() + kSecond.size()) - 5));
  const auto ended = std::chrono::steady_clock::now();
  queue.EndConnection();
  EXPECT_EQ(partly.get(), kNotConnected);
  EXPECT_EQ(unsent.get(), kNotConnected);
  EXPECT_EQ(queue.Write(FrameOf(kSecond), 10s), kNotConnected) << "a writer coming late";
  EXPECT_LT(std::chrono::steady_clock::now() - ended, 2s) << "nobody waits out the send wait";
  EXPECT_FALSE(queue.HasPending());

  queue.BeginConnection();
  sink.SetRoom(-1);
  auto next = StartWriter(kSecond, 10s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kSecond.size())));
  EXPECT_EQ(queue.Flush(sink), kOk);
  EXPECT_EQ(next.get(), kOk);
  EXPECT_EQ(sink.Taken(), Concat(Bytes(kFirst.begin(), kFirst.begin() + 5), kSecond));
}

TEST_F(SendQueueTest, SecretBytesNeverShowInTheDumps) {
  Stream frame = FrameOf(kFirst);  // a1 00 07 45 46 00 00 00 11 22
  frame.SetSecret({6, 9});
  sink.SetRoom(static_cast<int>(kSecond.size()) + 7);  // the secret bytes go out in two flushes
  auto writer = StartWriter(kSecond, 5s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kSecond.size())));
  auto secret = std::async(std::launch::async, [&] { return queue.Write(frame, 5s); });
  ASSERT_TRUE(PendingReaches(static_cast<int>(kFirst.size() + kSecond.size())));
  EXPECT_EQ(queue.Flush(sink), kOk);
  sink.SetRoom(-1);
  EXPECT_EQ(queue.Flush(sink), kOk);
  EXPECT_EQ(writer.get(), kOk);
  EXPECT_EQ(secret.get(), kOk);
  EXPECT_EQ(sink.Taken(), Concat(kSecond, kFirst)) << "the bytes themselves go out unchanged";
  const std::string text = log.Text();
  EXPECT_NE(text.find("WriteQueue[S] : a1 00 07 45 46 00 ** ** ** 22 \n"), std::string::npos);
  EXPECT_NE(text.find(" send data : <16> a1 00 06 42 1e 00 00 00 33 a1 00 07 45 46 00 ** \n"),
            std::string::npos);
  EXPECT_NE(text.find(" send data : <3> ** ** 22 \n"), std::string::npos);
  EXPECT_EQ(text.find("00 00 00 11 22"), std::string::npos);
}

// With a direct sink, a writer that finds nothing pending sends its frame itself; only what the
// sink does not take is left to the flushes, and frames behind pending bytes queue up.
TEST_F(SendQueueTest, WriterSendsItselfWhenNothingIsPending) {
  std::atomic<int> wakes{0};
  queue.SetQueuedHook([&] { ++wakes; });
  queue.BeginConnection(&sink);
  EXPECT_EQ(queue.Write(FrameOf(kFirst), 5s), kOk) << "no flush needed";
  EXPECT_EQ(sink.Taken(), kFirst);
  EXPECT_EQ(wakes.load(), 0) << "nothing queued, the service thread is not woken";

  sink.SetRoom(4);  // the socket takes a part only
  auto partly = StartWriter(kSecond, 5s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kSecond.size()) - 4));
  auto behind = StartWriter(kFirst, 5s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kSecond.size() + kFirst.size()) - 4));
  EXPECT_EQ(sink.Taken(), Concat(kFirst, Bytes(kSecond.begin(), kSecond.begin() + 4)))
      << "a frame behind pending bytes is not sent ahead of them";
  EXPECT_TRUE(Reaches(wakes, 2)) << "each queued frame wakes the service thread once";
  sink.SetRoom(-1);
  EXPECT_EQ(queue.Flush(sink), kOk);
  EXPECT_EQ(partly.get(), kOk);
  EXPECT_EQ(behind.get(), kOk);
  EXPECT_EQ(sink.Taken(), Concat(Concat(kFirst, kSecond), kFirst));
  const std::string text = log.Text();
  EXPECT_NE(text.find("WriteQueue[S] : a1 00 07 45 46 00 00 00 11 22 \n"), std::string::npos);
  EXPECT_NE(text.find(" send data : <10> a1 00 07 45 46 00 00 00 11 22 \n"), std::string::npos);
  EXPECT_NE(text.find(" send data : <4> a1 00 06 42 \n"), std::string::npos);
  EXPECT_NE(text.find(" send data : <15> 1e 00 00 00 33 a1 00 07 45 46 00 00 00 11 22 \n"),
            std::string::npos);

  // A failing socket: the bytes stay queued for the service thread, whose flush fails too and
  // ends the connection.
  sink.SetFailing(true);
  auto failing = StartWriter(kSecond, 10s);
  ASSERT_TRUE(PendingReaches(static_cast<int>(kSecond.size())));
  EXPECT_EQ(queue.Flush(sink), kConnectionClosed);
  int closes = 0;
  queue.EndConnection([&] { ++closes; });
  EXPECT_EQ(failing.get(), kNotConnected);
  EXPECT_EQ(closes, 1);
  sink.SetFailing(false);
  EXPECT_EQ(queue.Write(FrameOf(kFirst), 5s), kNotConnected);
  EXPECT_EQ(sink.Taken(), Concat(Concat(kFirst, kSecond), kFirst)) << "nothing after the close";
}

// A connection whose far end answers at once: when the last byte of a frame has gone out, a
// second thread logs the answer's line as the link's thread does when it reads a reply. The
// write gives that thread up to `grace` to do so before it returns, so that a writer or flush
// that logs its own lines only after the bytes left is overtaken.
class AnsweringSink : public ByteSink {
 public:
  AnsweringSink(CLogger& logger, std::size_t frameSize, std::chrono::milliseconds grace = 250ms)
      : logger_(logger), frame_size_(frameSize), grace_(grace) {}
  ~AnsweringSink() override { Join(); }
  void SetRoom(int room) { room_ = room; }
  // Waits until the answer's line is written.
  void Join() {
    if (answerer_.joinable()) answerer_.join();
  }
  int Write(const std::uint8_t*, int count) override {
    const int take = room_ < 0 ? count : std::min(count, room_.load());
    taken_ += static_cast<std::size_t>(take);
    if (taken_ == frame_size_ && !answerer_.joinable()) {
      answerer_ = std::thread([this] {
        logger_.Write("recv data : <answer>", kLogInfo);
        std::lock_guard<std::mutex> lock(mutex_);
        answered_ = true;
        answered_signal_.notify_all();
      });
      std::unique_lock<std::mutex> lock(mutex_);
      answered_signal_.wait_for(lock, grace_, [&] { return answered_; });
    }
    return take;
  }

 private:
  CLogger& logger_;
  const std::size_t frame_size_;
  const std::chrono::milliseconds grace_;
  std::atomic<int> room_{-1};
  std::size_t taken_ = 0;
  std::thread answerer_;
  std::mutex mutex_;
  std::condition_variable answered_signal_;
  bool answered_ = false;
};

// However the frame leaves (sent by its writer, by a flush, or partly by each), its
// "WriteQueue[S]" line and its " send data" lines are written before the line of an answer
// read as soon as its last byte is out.
TEST(SendQueueLogOrder, FrameLinesComeBeforeTheAnswersLine) {
  struct Case {
    const char* name;
    bool direct;  // the writer may send itself
    int room;     // what the socket takes of the writer's own send (-1: all)
  };
  for (const Case c : {Case{"sent by its writer", true, -1}, Case{"sent by a flush", false, -1},
                       Case{"sent partly by each", true, 4}}) {
    test::ScratchLog log;
    CSendQueue queue(log.Logger());
    AnsweringSink sink(log.Logger(), kFirst.size());
    sink.SetRoom(c.room);
    queue.BeginConnection(c.direct ? &sink : nullptr);
    auto writer = std::async(std::launch::async, [&] { return queue.Write(FrameOf(kFirst), 5s); });
    if (!c.direct || c.room >= 0) {
      const auto deadline = std::chrono::steady_clock::now() + 5s;
      while (queue.PendingBytes() != static_cast<int>(kFirst.size()) - std::max(c.room, 0) &&
             std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
      }
      sink.SetRoom(-1);
      EXPECT_EQ(queue.Flush(sink), kOk) << c.name;
    }
    EXPECT_EQ(writer.get(), kOk) << c.name;
    sink.Join();
    const std::string text = log.Text();
    const std::size_t queued = text.find("WriteQueue[S] : ");
    const std::size_t sent = text.rfind(" send data : <");
    const std::size_t answer = text.find("recv data : <answer>");
    ASSERT_NE(answer, std::string::npos) << c.name;
    EXPECT_LT(queued, answer) << c.name << "\n" << text;
    EXPECT_LT(sent, answer) << c.name << "\n" << text;
  }
}

TEST_F(SendQueueTest, QueuedHookRunsForEveryFrame) {
  std::atomic<int> calls{0};
  queue.SetQueuedHook([&] { ++calls; });
  EXPECT_EQ(queue.Write(FrameOf(kFirst), 0ms), kTimeout);
  EXPECT_EQ(queue.Write(FrameOf(kSecond), 0ms), kTimeout);
  EXPECT_EQ(calls.load(), 2);
}

}  // namespace
}  // namespace vomtel
