// The reply readers over hand-made reply data: what each one decodes, and that a reply which
// does not hold what it announces is reported incomplete without reading past its end.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/ctisim/frame.h"
#include "vomtel/requests/service/list_replies.h"

namespace vomtel {
namespace {

using ctisim::Bytes;
using ctisim::Frame;

// A reply frame with result 1 around `data`, its head already read by the reader returned.
struct ReplyData {
  explicit ReplyData(const Bytes& data)
      : stream(Frame().PutU8(0xA2).PutU16(static_cast<std::uint16_t>(data.size() + 11))
                   .PutU8(0x45).PutU8(0).PutU8(0).PutU16(0).PutU32(1).PutU16(7).PutBytes(data)
                   .bytes().data(),
               data.size() + 14),
        in(stream) {
    std::uint32_t result = 0;
    std::uint16_t number = 0;
    in.Head(result, number);
  }
  Stream stream;
  ReplyReader in;
};

TEST(ListReplies, DecodeWhatTheyAnnounce) {
  {
    ReplyData r(Frame().PutU16(2).PutStr8("a1").PutU32(2001).PutU8(1).PutU16(30)
                    .PutStr8("a2").PutU32(2002).PutU8(0).PutU16(31).Take());
    AgentList out;
    ASSERT_TRUE(ReadBusyList(r.in, out));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].agentId, "a2");
    EXPECT_EQ(out[1].dn, 2002u);
    EXPECT_EQ(out[0].blendMode, 1);
    EXPECT_EQ(out[1].time, 31);
  }
  {
    ReplyData r(Frame().PutU16(1).PutStr8("id").PutStr8("name").PutU32(70000).PutStr8("grp")
                    .PutU32(9).PutStr8("prt").PutU32(3001).PutU8(2).PutU16(44).Take());
    AgentList out;
    ASSERT_TRUE(ReadReadyList(r.in, out));
    ASSERT_EQ(out.size(), 1u);
    AgentListEntry want;
    want.agentId = "id";
    want.agentName = "name";
    want.agentGroup = 70000;
    want.groupName = "grp";
    want.agentPart = 9;
    want.partName = "prt";
    want.dn = 3001;
    want.blendMode = 2;
    want.time = 44;
    EXPECT_EQ(out[0], want);
  }
  {
    ReplyData r(Frame().PutU8(1).PutU8(0xEE).PutU8(4).PutU32(1).PutU16(5).PutU16(6).PutU32(77)
                    .PutStr8("kim").PutU32(4001).Take());
    StatusFrame out;
    ASSERT_TRUE(ReadStatusFrame(r.in, out));
    EXPECT_TRUE(out.more);
    ASSERT_EQ(out.entries.size(), 1u);
    EXPECT_EQ(out.entries[0].mode, 4);
    EXPECT_EQ(out.entries[0].group, 5);
    EXPECT_EQ(out.entries[0].part, 6);
    EXPECT_EQ(out.entries[0].agentNumber, 77u);
    EXPECT_EQ(out.entries[0].name, "kim");
    EXPECT_EQ(out.entries[0].dn, 4001u);
  }
  {
    // Modes 201-206 are the agent-state event codes; any other value passes unchanged.
    for (const auto& [wire, mode] : std::vector<std::pair<int, int>>{{201, 0}, {204, 3}, {206, 5}, {7, 7}, {207, 207}}) {
      ReplyData r(Frame().PutStr8("a").PutU8(static_cast<std::uint8_t>(wire)).PutU32(5).PutU8(1)
                      .PutU8(2).PutU16(3).PutU8(4).Take());
      AgentListEntry out;
      out.agentName = "kept";
      out.spare = 9;
      ASSERT_TRUE(ReadAgentStatusEx(r.in, out));
      EXPECT_EQ(out.agentMode, mode) << wire;
      EXPECT_EQ(out.agentName, "kept");
      EXPECT_EQ(out.spare, 0);
      EXPECT_EQ(out.type, 4);
    }
  }
  {
    // A GetAgentEx agent: the three modes are uint16 of which the low byte counts.
    ReplyData r(Frame().PutStr8("t").PutStr8("g").PutStr8("p").PutStr8("d").PutStr8("i")
                    .PutStr8("n").PutU16(0x0102).PutU16(0x0003).PutU16(0xFF04).PutU16(500)
                    .PutStr16("skills").Take());
    AgentListEntry out;
    ASSERT_TRUE(ReadDirectoryEntryEx(r.in, out));
    EXPECT_EQ(out.tenant, "t");
    EXPECT_EQ(out.agentName, "n");
    EXPECT_EQ(out.agentMode, 2);
    EXPECT_EQ(out.blendMode, 3);
    EXPECT_EQ(out.blockMode, 4);
    EXPECT_EQ(out.time, 500);
    EXPECT_EQ(out.skill, "skills");
  }
  {
    ReplyData r(Frame().PutStr8("7001").PutU32(2).PutU32(11).PutU32(5).PutStr8("0101")
                    .PutU32(12).PutU32(6).PutStr8("").Take());
    std::string queue;
    std::vector<QueueEntry> out;
    ASSERT_TRUE(ReadQueueCalls(r.in, queue, out));
    EXPECT_EQ(queue, "7001");
    EXPECT_EQ(out, (std::vector<QueueEntry>{{11, 5, "0101"}, {12, 6, ""}}));
  }
}

// Data that stop short of what they announce, for every reader: each must report the
// reading incomplete (and never read outside the frame; the sanitizer build checks that).
TEST(ListReplies, ShortOrOvercountedDataAreIncomplete) {
  using Reader = std::function<bool(ReplyReader&)>;
  struct Case {
    const char* name;
    Bytes data;
    Reader read;
  };
  AgentList agents;
  StatusFrame status;
  AgentListEntry entry;
  std::string text;
  std::vector<WaitingPeriodEntry> periods;
  std::vector<QueueEntry> calls;
  std::vector<SkillMasterItem> skills;
  std::vector<CallbackCampaignEntry> campaigns;
  std::vector<MaxCallLoadEntry> loads;
  std::uint16_t count = 0;
  const Case cases[] = {
      {"busy count past the data", Frame().PutU16(3).PutStr8("a").PutU32(1).PutU8(0).PutU16(0).Take(),
       [&](ReplyReader& in) { return ReadBusyList(in, agents); }},
      {"busy text past the end", Frame().PutU16(1).PutU8(200).PutText("abc").PutZeros(8).Take(),
       [&](ReplyReader& in) { return ReadBusyList(in, agents); }},
      {"ready entry cut", Frame().PutU16(1).PutStr8("id").PutStr8("nm").PutU32(1).Take(),
       [&](ReplyReader& in) { return ReadReadyList(in, agents); }},
      {"status count 0xFFFFFFFF", Frame().PutU8(1).PutU8(0).PutU8(0).PutU32(0xFFFFFFFF).PutZeros(26).Take(),
       [&](ReplyReader& in) { return ReadStatusFrame(in, status); }},
      {"status without its count", Frame().PutU8(1).PutU8(0).Take(),
       [&](ReplyReader& in) { return ReadStatusFrame(in, status); }},
      {"multi agent count", Frame().PutU16(2).PutStr8("a").PutU32(1).Take(),
       [&](ReplyReader& in) { return ReadMultiAgentList(in, agents, count); }},
      {"skill agents count", Frame().PutU16(1).PutZeros(14).Take(),
       [&](ReplyReader& in) { return ReadSkillAgentList(in, agents); }},
      {"agent state cut", Frame().PutStr8("a").PutU8(201).PutU32(5).Take(),
       [&](ReplyReader& in) { return ReadAgentStatusEx(in, entry); }},
      {"periods count", Frame().PutStr8("q").PutU32(0x10000000).PutZeros(16).Take(),
       [&](ReplyReader& in) { return ReadWaitingPeriods(in, text, periods); }},
      {"queue calls count", Frame().PutStr8("q").PutU32(2).PutU32(1).PutU32(2).PutStr8("x").Take(),
       [&](ReplyReader& in) { return ReadQueueCalls(in, text, calls); }},
      {"skill master count", Frame().PutU16(0xFFFF).PutU16(1).PutStr8("s").Take(),
       [&](ReplyReader& in) { return ReadSkillMaster(in, skills); }},
      {"directory agent cut", Frame().PutStr8("t").PutStr8("g").PutStr8("p").Take(),
       [&](ReplyReader& in) { return ReadDirectoryEntry(in, entry); }},
      {"directory agent skill cut", Frame().PutStr8("t").PutStr8("g").PutStr8("p").PutStr8("d")
                                        .PutStr8("i").PutStr8("n").PutZeros(8).PutU16(10).PutText("x").Take(),
       [&](ReplyReader& in) { return ReadDirectoryEntryEx(in, entry); }},
      {"call-back campaigns count", Frame().PutU16(2).PutU32(1).PutU32(2).PutU32(3).Take(),
       [&](ReplyReader& in) { return ReadCallbackCampaigns(in, campaigns); }},
      {"call load count", Frame().PutStr8("e").PutU16(1).PutU32(1).PutU32(2).Take(),
       [&](ReplyReader& in) { return ReadMaxCallLoad(in, text, loads); }},
      {"nothing at all", Bytes{}, [&](ReplyReader& in) { return ReadBusyList(in, agents); }},
  };
  for (const Case& c : cases) {
    ReplyData r(c.data);
    EXPECT_FALSE(c.read(r.in)) << c.name;
    EXPECT_FALSE(r.in.Complete()) << c.name;
  }
}

TEST(ReplyReader, OutboundHeadReadsFromTheFirstByteWhereverTheReadingStood) {
  const Bytes frame = Frame().PutU8(0xA2).PutU16(11).PutU8(0x45).PutU16(0x1234).PutU32(5).PutU32(6).Take();
  Stream stream(frame.data(), frame.size());
  ReplyReader in(stream);
  in.Skip(9);
  EXPECT_EQ(in.OutboundHead(), 0x1234);
  EXPECT_EQ(in.U32(), 5u);
  EXPECT_EQ(in.U32(), 6u);
  EXPECT_TRUE(in.Complete());
  EXPECT_EQ(in.U8(), 0);
  EXPECT_FALSE(in.Complete());
}

TEST(ReplyReader, SettleTurnsAnIncompleteSuccessInto3002) {
  EXPECT_EQ(SettleReply(1, true), 1);
  EXPECT_EQ(SettleReply(1, false), 3002);
  EXPECT_EQ(SettleReply(70001, false), 70001);
  EXPECT_EQ(SettleReply(0xFFFFFFFF, true), -1);
}

}  // namespace
}  // namespace vomtel
