// The list exports whose answers come in several frames, called through the C interface on a
// gate of the process's adapter opened on the simulator: the agent-state answer (several
// reply frames) and the agent directory (list frames). Each fills an array with guard bytes
// behind its room.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tools/ctisim/frame.h"
#include "tools/ctisim/sim_server.h"
#include "vomtel/vomtel.h"

namespace {

constexpr std::uint8_t kGuard = 0xEE;

class ListExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeviceRecord device{};
    device.HeaderByte = 0x30;
    device.LinkMode = 4;
    std::strcpy(device.Device, "3001");
    ASSERT_EQ(vomtelOpenServer(&gate_, 0, &device, server_.Address().c_str(), server_.Port(),
                               "TCPIP", "lists", 1, 0),
              VOMTEL_OK);
  }
  void TearDown() override { vomtelCloseServer(gate_, 0); }

  // Answers (class 0x45, `code`) with the list frames first and the reply last, in one write,
  // so every list frame is queued once the reply is taken.
  void AnswerWithLists(std::uint8_t code, std::vector<ctisim::Bytes> lists, ctisim::Bytes data) {
    ctisim::ReplyRule rule;
    rule.hook = [lists, data](const ctisim::Request& r) {
      std::vector<ctisim::Bytes> frames;
      for (const ctisim::Bytes& list : lists) frames.push_back(ctisim::ListFrame(list));
      frames.push_back(ctisim::ReplyFrame({r.cls, r.code, r.version, r.word}, 1, r.number, data));
      return frames;
    };
    server_.SetRule(0x45, code, rule);
  }

  // A list frame's content: the reply head's bytes 3-13 (not read), then one agent.
  static ctisim::Frame AgentFrame(const std::string& id) {
    ctisim::Frame f;
    f.PutZeros(11);
    f.PutStr8("tenant").PutStr8("group").PutStr8("part").PutStr8("3001").PutStr8(id).PutStr8("Name");
    return f;
  }

  template <class Entry>
  static std::vector<std::uint8_t> Guarded(std::size_t room) {
    return std::vector<std::uint8_t>(sizeof(Entry) * (room + 1), kGuard);
  }
  template <class Entry>
  static bool GuardIntact(const std::vector<std::uint8_t>& bytes, std::size_t room) {
    for (std::size_t i = sizeof(Entry) * room; i < bytes.size(); ++i) {
      if (bytes[i] != kGuard) return false;
    }
    return true;
  }

  ctisim::SimServer server_;
  int gate_ = -1;
};

ctisim::Bytes StatusFrame(bool more, std::uint8_t mode, std::uint32_t first, std::uint32_t n) {
  ctisim::Frame f;
  f.PutU8(more ? 1 : 0).PutU8(0).PutU8(mode).PutU32(n);
  for (std::uint32_t i = first; i < first + n; ++i) {
    f.PutU16(static_cast<std::uint16_t>(10 + i)).PutU16(static_cast<std::uint16_t>(20 + i));
    f.PutU32(100 + i).PutStr8("agent" + std::to_string(i)).PutU32(3000 + i);
  }
  return f.Take();
}

TEST_F(ListExportsTest, AgentStatusGetJoinsItsFramesUpToTheMaximumCount) {
  ctisim::ReplyRule rule;
  rule.data = StatusFrame(true, 3, 0, 3);
  rule.more = {StatusFrame(true, 5, 3, 2), StatusFrame(false, 0, 0, 0)};
  server_.SetRule(0x45, 0xBE, rule);

  auto bytes = Guarded<AgentStatusEntry>(4);
  auto* entries = reinterpret_cast<AgentStatusEntry*>(bytes.data());
  uint32_t count = 99;
  ASSERT_EQ(vomtelAgentStatusGet(gate_, 0, 1, 4, 7, 8, entries, &count, 0), VOMTEL_OK);

  EXPECT_EQ(count, 4u);  // five came, the maximum count is four
  EXPECT_TRUE(GuardIntact<AgentStatusEntry>(bytes, 4));
  EXPECT_EQ(entries[0].Group, 10);
  EXPECT_EQ(entries[0].Part, 20);
  EXPECT_EQ(entries[0].AgentNumber, 100);
  EXPECT_EQ(entries[0].Mode, 3);
  EXPECT_STREQ(entries[0].Name, "agent0");
  EXPECT_EQ(entries[0].Dn, 3000);
  EXPECT_EQ(entries[3].Mode, 5);  // the second frame's mode byte
  EXPECT_EQ(entries[3].AgentNumber, 103);
  for (std::uint8_t b : entries[0].reserved12) EXPECT_EQ(b, kGuard);  // never written
}

TEST_F(ListExportsTest, GetAgentExCopiesAgentsSkillsAndReadCountCutToTheirFields) {
  const std::string longSkills(1100, 's');
  std::vector<ctisim::Bytes> lists;
  for (const char* id : {"a1", "a2"}) {
    ctisim::Frame f = AgentFrame(id);
    f.PutU16(0x0102).PutU16(0x0001).PutU16(0x0003).PutU16(77).PutStr16(longSkills);
    lists.push_back(f.Take());
  }
  ctisim::Frame reply;
  reply.PutStr16(std::string(1200, '9')).PutU32(2);
  AnswerWithLists(0xC7, lists, reply.Take());

  auto bytes = Guarded<AgentExEntry>(2);
  auto* entries = reinterpret_cast<AgentExEntry*>(bytes.data());
  std::vector<char> readCount(1025 + 8, '\x5A');
  uint32_t count = 0;
  ASSERT_EQ(vomtelGetAgentEx(gate_, 0, "3001", "", "", "", "", "", "", "", entries,
                             readCount.data(), &count, "10"),
            VOMTEL_OK);

  EXPECT_EQ(count, 2u);
  EXPECT_TRUE(GuardIntact<AgentExEntry>(bytes, 2));
  EXPECT_STREQ(entries[1].AgentId, "a2");
  EXPECT_STREQ(entries[0].Tenant, "tenant");
  EXPECT_STREQ(entries[0].Group, "group");
  EXPECT_STREQ(entries[0].Part, "part");
  EXPECT_STREQ(entries[0].Dn, "3001");
  EXPECT_STREQ(entries[0].Name, "Name");
  EXPECT_EQ(entries[0].Mode, 2);  // low bytes of the 16-bit numbers
  EXPECT_EQ(entries[0].BlendMode, 1);
  EXPECT_EQ(entries[0].BlockMode, 3);
  EXPECT_EQ(entries[0].Time, 77);
  EXPECT_EQ(std::string(entries[0].Skills), std::string(1024, 's'));
  EXPECT_EQ(entries[0].reserved1215, kGuard);
  EXPECT_EQ(std::string(readCount.data()), std::string(1024, '9'));
  EXPECT_EQ(readCount[1025], '\x5A');  // nothing past the caller's 1,025 bytes
}

TEST_F(ListExportsTest, GetAgentWritesEverythingButTheSkills) {
  std::vector<ctisim::Bytes> lists;
  for (const char* id : {"a1", "a2", "a3"}) {
    ctisim::Frame f = AgentFrame(id);
    f.PutU8(3).PutU8(1).PutU8(0).PutU16(9);
    lists.push_back(f.Take());
  }
  AnswerWithLists(0xC2, lists, {});

  auto bytes = Guarded<AgentExEntry>(3);
  auto* entries = reinterpret_cast<AgentExEntry*>(bytes.data());
  uint32_t count = 0;
  ASSERT_EQ(vomtelGetAgent(gate_, 0, "3001", "", "", "", "", "", "", entries, &count, "10"),
            VOMTEL_OK);

  EXPECT_EQ(count, 3u);
  EXPECT_TRUE(GuardIntact<AgentExEntry>(bytes, 3));
  EXPECT_STREQ(entries[2].AgentId, "a3");
  EXPECT_EQ(entries[2].Mode, 3);
  EXPECT_EQ(entries[2].Time, 9);
  EXPECT_EQ(static_cast<std::uint8_t>(entries[2].Skills[0]), kGuard);
}

TEST_F(ListExportsTest, GetAgentWritesNoMoreThanItsCapOfAgents) {
  std::vector<ctisim::Bytes> lists;
  for (int i = 0; i < VOMTEL_CAP_AGENT_LIST + 5; ++i) {
    ctisim::Frame f = AgentFrame(std::string("a").append(std::to_string(i)));
    f.PutU8(3).PutU8(1).PutU8(0).PutU16(9);
    lists.push_back(f.Take());
  }
  AnswerWithLists(0xC2, lists, {});

  auto bytes = Guarded<AgentExEntry>(VOMTEL_CAP_AGENT_LIST);
  auto* entries = reinterpret_cast<AgentExEntry*>(bytes.data());
  uint32_t count = 0;
  ASSERT_EQ(vomtelGetAgent(gate_, 0, "3001", "", "", "", "", "", "", entries, &count, "2000"),
            VOMTEL_OK);

  EXPECT_EQ(count, static_cast<uint32_t>(VOMTEL_CAP_AGENT_LIST));
  EXPECT_TRUE(GuardIntact<AgentExEntry>(bytes, VOMTEL_CAP_AGENT_LIST));
  EXPECT_STREQ(entries[VOMTEL_CAP_AGENT_LIST - 1].AgentId, "a999");
}

}  // namespace
