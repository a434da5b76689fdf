// The simulator's own frame codec: builders, the bounded reader, reassembly and requests.
#include <gtest/gtest.h>

#include "tools/ctisim/frame.h"
#include "tools/ctisim/frame_decoder.h"
#include "tools/ctisim/frame_reader.h"
#include "tools/ctisim/reply_rule.h"
#include "tools/ctisim/request.h"

namespace ctisim {
namespace {

TEST(CtisimFrame, BuildsBigEndianFieldsAndHeads) {
  Frame f;
  f.PutU8(0x41).PutU16(0x1234).PutU32(1).PutStr8("ab").PutStr16("c").PutTaggedStr8(7, "xy");
  f.PutTaggedStr8(0, "");
  EXPECT_EQ(f.bytes(), (Bytes{0x41, 0x12, 0x34, 0, 0, 0, 1, 2, 'a', 'b', 0, 1, 'c', 3, 7, 'x',
                              'y', 0}));

  EXPECT_EQ(RequestFrame({0x45, 0x1E, 0x28, 0x0102}, {}),
            (Bytes{0xA1, 0x00, 0x05, 0x45, 0x1E, 0x28, 0x01, 0x02}));
  EXPECT_EQ(ReplyFrame({0x41, 0x65, 0x28, 0}, 1, 7),
            (Bytes{0xA2, 0x00, 0x0B, 0x41, 0x65, 0x28, 0, 0, 0, 0, 0, 1, 0, 7}));
  EXPECT_EQ(ListFrame({}), (Bytes{0xA0, 0, 0}));

  EventHead head;
  head.year = 0x07EA;
  head.server_id = 9;
  head.call_kind = 3;
  const Bytes event = EventFrame(6, {0x04, '3', '0', '0', '1'}, head);
  ASSERT_EQ(event.size(), 35u);
  EXPECT_EQ(event[0], 0xA1);
  EXPECT_EQ((event[1] << 8) | event[2], 32);  // counted from byte 3
  EXPECT_EQ(event[4], 6);
  EXPECT_EQ(event[8], 0x07);
  EXPECT_EQ(event[9], 0xEA);
  EXPECT_EQ(event[27], 9);
  EXPECT_EQ(event[29], 3);
  EXPECT_EQ(event[30], 4);  // the body starts at byte 30

  const Bytes active = HaNoticeFrame(true);
  const Bytes standby = HaNoticeFrame(false);
  ASSERT_EQ(active.size(), 32u);
  EXPECT_EQ(active[4], 0xFC);
  EXPECT_EQ(active[31], 1);
  EXPECT_EQ(standby[31], 0);
}

TEST(CtisimFrame, ReaderRoundTripsAndReadsZerosPastTheEnd) {
  Frame f;
  f.PutU8(9).PutU16(0xBEEF).PutU32(0xDEADBEEF).PutStr8("dn").PutStr16("long").PutTaggedStr8(5, "t");
  FrameReader r(f.bytes());
  EXPECT_EQ(r.GetU8(), 9);
  EXPECT_EQ(r.GetU16(), 0xBEEF);
  EXPECT_EQ(r.GetU32(), 0xDEADBEEFu);
  EXPECT_EQ(r.GetStr8(), "dn");
  EXPECT_EQ(r.GetStr16(), "long");
  EXPECT_EQ(r.GetTaggedStr8(), std::make_pair(std::uint8_t{5}, std::string("t")));
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.remaining(), 0u);
  EXPECT_EQ(r.GetU32(), 0u);
  EXPECT_FALSE(r.ok());

  const Bytes hostile{0x05, 'a'};  // a str8 that announces more than there is
  FrameReader h(hostile);
  EXPECT_EQ(h.GetStr8(), std::string("a\0\0\0\0", 5));
  EXPECT_FALSE(h.ok());
}

// Three frames of different kinds, with junk before and between them.
Bytes Stream3() {
  Frame s;
  s.PutU8(0x00).PutU8(0x7F);
  s.PutBytes(RequestFrame({0x42, 0x1E, 0, 0}, Frame().PutU32(0x10001).PutU16(3).bytes()));
  s.PutU8(0x55);
  s.PutBytes(ListFrame({}));
  s.PutBytes(ReplyFrame({0x41, 0x65, 0, 0}, 1, 9, {1, 2, 3}));
  return s.Take();
}

TEST(CtisimFrameDecoder, ReassemblesAFrameSplitAtEveryOffset) {
  const Bytes stream = Stream3();
  FrameDecoder whole;
  whole.Feed(stream);
  std::vector<Bytes> expected;
  while (auto f = whole.Next()) expected.push_back(*f);
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_EQ(whole.skipped(), 3u);
  EXPECT_EQ(whole.pending(), 0u);

  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    for (std::size_t second = cut; second <= stream.size(); second += 5) {
      FrameDecoder d;
      std::vector<Bytes> got;
      auto drain = [&] {
        while (auto f = d.Next()) got.push_back(*f);
      };
      d.Feed(stream.data(), cut);
      drain();
      d.Feed(stream.data() + cut, second - cut);
      drain();
      d.Feed(stream.data() + second, stream.size() - second);
      drain();
      ASSERT_EQ(got, expected) << "cut at " << cut << " and " << second;
      EXPECT_EQ(d.skipped(), 3u);
    }
  }
}

TEST(CtisimFrameDecoder, WaitsForTheBodyThatTheLengthAnnounces) {
  FrameDecoder d;
  d.Feed(Bytes{0xA1, 0x1F, 0xFD});
  EXPECT_FALSE(d.Next());
  d.Feed(Bytes(0x1FFD - 1, 0));
  EXPECT_FALSE(d.Next());
  d.Feed(Bytes{0});
  auto frame = d.Next();
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->size(), 0x1FFDu + 3);
}

TEST(CtisimRequest, DecodesTheCommonPrefixAndTheOpenBody) {
  Frame body;
  body.PutU32(0x80000001).PutU16(0xFFFE).PutStr8("3001");
  auto req = DecodeRequest(RequestFrame({0x41, 0x65, 0x50, 0x0A0B}, body.bytes()));
  ASSERT_TRUE(req);
  EXPECT_EQ(req->cls, 0x41);
  EXPECT_EQ(req->code, 0x65);
  EXPECT_EQ(req->version, 0x50);
  EXPECT_EQ(req->word, 0x0A0B);
  EXPECT_EQ(req->session_id, 0x80000001u);
  EXPECT_EQ(req->number, 0xFFFE);
  EXPECT_EQ(req->body, body.bytes());

  Frame open;
  open.PutU8(2).PutU8(1).PutStr8("3001").PutStr8("agent").PutU16(1);
  req = DecodeRequest(RequestFrame({0x45, 0x46, 0, 0}, open.bytes()));
  ASSERT_TRUE(req);
  EXPECT_EQ(req->session_id, 0u);
  EXPECT_EQ(req->number, 1);
  const OpenBody ob = DecodeOpenBody(req->body);
  EXPECT_EQ(ob.device_type, 2);
  EXPECT_EQ(ob.ext, 1);
  EXPECT_EQ(ob.dn, "3001");
  EXPECT_EQ(ob.application, "agent");

  EXPECT_FALSE(DecodeRequest(ReplyFrame({0x41, 0x65, 0, 0}, 1, 1)));
  EXPECT_FALSE(DecodeRequest(Bytes{0xA1, 0x00, 0x01, 0x41}));
}

TEST(CtisimReplyRule, BuildsTheOpenReplyAndOrdinaryReplies) {
  Frame open;
  open.PutU8(2).PutU8(0).PutStr8("3001").PutStr8("app").PutU16(1);
  const Request open_req = *DecodeRequest(RequestFrame({0x45, 0x46, 0x28, 0x0001}, open.bytes()));
  OpenDefaults defaults;
  defaults.session_id = 0x00010001;
  defaults.active_flag = 2;
  const std::vector<Bytes> open_reply = BuildAnswer(open_req, ReplyRule{}, defaults);
  ASSERT_EQ(open_reply.size(), 1u);
  EXPECT_EQ(open_reply[0], (Bytes{0xA2, 0x00, 0x14, 0x45, 0x46, 0x28, 0x00, 0x01,  // head
                                  0, 0, 0, 1,                                      // result
                                  0x00, 0x01, 0x00, 0x01,                          // session id
                                  0, 1, 0, 0, 0, 0,                                // 16-21
                                  2}));                                            // HA flag

  Frame body;
  body.PutU32(0x10001).PutU16(42);
  const Request req = *DecodeRequest(RequestFrame({0x45, 0x70, 0, 0}, body.bytes()));
  ReplyRule rule;
  rule.result = 1234;
  rule.number = 7;
  rule.data = {0xAB};
  rule.more = {{1}, {0}};
  rule.lists = {{0x55}};
  const std::vector<Bytes> frames = BuildAnswer(req, rule, defaults);
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(frames[0], ReplyFrame({0x45, 0x70, 0, 0}, 1234, 7, {0xAB}));
  EXPECT_EQ(frames[1], ReplyFrame({0x45, 0x70, 0, 0}, 1234, 7, {1}));
  EXPECT_EQ(frames[2], ReplyFrame({0x45, 0x70, 0, 0}, 1234, 7, {0}));
  EXPECT_EQ(frames[3], ListFrame({0x55}));
  EXPECT_EQ(BuildAnswer(req, ReplyRule{}, defaults)[0], ReplyFrame({0x45, 0x70, 0, 0}, 1, 42));
}

}  // namespace
}  // namespace ctisim
