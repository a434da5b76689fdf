#include "vomtel/core/frame_decoder.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/byte_fakes.h"
#include "vomtel/core/result_codes.h"

namespace vomtel {
namespace {

using test::Bytes;
using test::Concat;
using test::WireFrame;

struct Outcome {
  int result;
  int used;
  Bytes frame;  // the completed frame, for result 1
  bool operator==(const Outcome&) const = default;
};

// Feeds `bytes` as the receive side does: each call gets what the last one left.
std::vector<Outcome> FeedAll(FrameDecoder& decoder, const Bytes& bytes) {
  std::vector<Outcome> outcomes;
  int at = 0;
  const int size = static_cast<int>(bytes.size());
  do {
    int used = 0;
    const int result = decoder.Feed(bytes.data() + at, size - at, used);
    at += used;
    Bytes frame;
    if (result == kOk) frame.assign(decoder.Frame(), decoder.Frame() + decoder.FrameSize());
    outcomes.push_back({result, used, frame});
    if (result == kIncomplete) break;
  } while (at < size);
  return outcomes;
}

TEST(FrameDecoder, OneBufferGivesEveryOutcomeInTurn) {
  const Bytes list = WireFrame(0xA0, {1, 2});
  const Bytes reply = WireFrame(0xA2, {7});
  // 8190: refused once its class and code have come; the rest it announced is skipped.
  const Bytes refused = {0xA1, 0x1F, 0xFE, 0x05, 0x06};
  const Bytes announced(8190 - 2, 0xA2);
  FrameDecoder decoder;
  const auto outcomes =
      FeedAll(decoder, Concat(Concat(Concat(Concat({0x00}, list), refused), announced), reply));
  const std::vector<Outcome> expected = {{kNotFrameType, 1, {}},
                                         {kOk, 5, list},
                                         {kFrameTooLong, 5, {}},
                                         {kOk, 8190 - 2 + 4, reply}};
  EXPECT_EQ(outcomes, expected);
}

// A refused frame is named by its first bytes, however they are cut.
TEST(FrameDecoder, RefusedFrameShowsItsHeadClassAndCode) {
  const Bytes head = {0xA1, 0xFF, 0xFF, 0x41, 0x07};
  for (std::size_t cut = 0; cut < head.size(); ++cut) {
    FrameDecoder decoder;
    const Bytes first(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(cut));
    if (!first.empty()) {
      EXPECT_EQ(FeedAll(decoder, first).back().result, kIncomplete) << "cut " << cut;
    }
    int used = 0;
    EXPECT_EQ(decoder.Feed(head.data() + cut, static_cast<int>(head.size() - cut), used),
              kFrameTooLong)
        << "cut " << cut;
    EXPECT_EQ(decoder.RefusedSize(), 0xFFFF + 3) << "cut " << cut;
    EXPECT_EQ(Bytes(decoder.Frame(), decoder.Frame() + FrameDecoder::kRefusedSeen), head)
        << "cut " << cut;
  }
}

TEST(FrameDecoder, FrameCutAnywhereNeedsMoreThenCompletes) {
  const Bytes frame = WireFrame(0xEC, {1, 2, 3, 4, 5});
  for (std::size_t cut = 0; cut < frame.size(); ++cut) {
    FrameDecoder decoder;
    const Bytes head(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(cut));
    const Bytes rest(frame.begin() + static_cast<std::ptrdiff_t>(cut), frame.end());
    auto first = FeedAll(decoder, head);
    EXPECT_EQ(first.back(), (Outcome{kIncomplete, static_cast<int>(cut), {}})) << "cut " << cut;
    EXPECT_EQ(FeedAll(decoder, rest).back(), (Outcome{kOk, static_cast<int>(rest.size()), frame}))
        << "cut " << cut;
  }
}

TEST(FrameDecoder, SkippedBytesAndResetSpanCalls) {
  FrameDecoder decoder;
  decoder.SkipNext(4);
  EXPECT_EQ(FeedAll(decoder, {0xA2, 0x00}).back(), (Outcome{kIncomplete, 2, {}}));
  const Bytes reply = WireFrame(0xA2, {});
  EXPECT_EQ(FeedAll(decoder, Concat({0xA0, 0x00}, reply)).back(), (Outcome{kOk, 5, reply}));

  EXPECT_EQ(FeedAll(decoder, {0xA2, 0x00}).back().result, kIncomplete);
  decoder.Reset();  // a new connection: the partial head is forgotten
  EXPECT_EQ(FeedAll(decoder, reply).back(), (Outcome{kOk, 3, reply}));
}

}  // namespace
}  // namespace vomtel
