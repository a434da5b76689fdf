// Bad input from callers, through the C interface, on a gate of the process's adapter opened on
// the simulator: counts out of range, texts over their limits, records whose texts have no NUL
// (each record at the end of its memory, an unreadable page right after it, so a read past the
// record faults), null texts, and pointers that the library must not read at all (an unreadable
// page). A refusal must come back with its documented code and send nothing: every case ends
// with a marker request, and the requests the server received before the marker are the case's.
// Built with AddressSanitizer, the bytes that the library never reads are poisoned as well.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "tools/ctisim/frame.h"
#include "tools/ctisim/sim_server.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/core/timings.h"
#include "vomtel/vomtel.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define BAD_INPUT_POISON(address, size) ASAN_POISON_MEMORY_REGION(address, size)
#define BAD_INPUT_UNPOISON(address, size) ASAN_UNPOISON_MEMORY_REGION(address, size)
#else
#define BAD_INPUT_POISON(address, size) ((void)(address), (void)(size))
#define BAD_INPUT_UNPOISON(address, size) ((void)(address), (void)(size))
#endif

namespace {

using namespace std::chrono_literals;
using ctisim::Bytes;
using ctisim::Request;

constexpr std::uint8_t kCall = 0x41;
constexpr std::uint8_t kService = 0x45;
constexpr std::uint8_t kIvr = 0x57;

std::size_t PageSize() { return static_cast<std::size_t>(sysconf(_SC_PAGESIZE)); }

// `readable` bytes of caller memory followed by an unreadable page: Data() + readable is the
// first byte that faults.
class FencedBytes {
 public:
  explicit FencedBytes(std::size_t readable) : readable_(readable) {
    const std::size_t page = PageSize();
    const std::size_t pages = (readable + page - 1) / page;
    size_ = (pages + 1) * page;
    void* map = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) throw std::runtime_error("mmap");
    base_ = static_cast<std::uint8_t*>(map);
    if (mprotect(base_ + pages * page, page, PROT_NONE) != 0) throw std::runtime_error("mprotect");
    data_ = base_ + pages * page - readable;
  }
  ~FencedBytes() {
    for (const auto& [at, size] : poisoned_) BAD_INPUT_UNPOISON(at, size);
    munmap(base_, size_);
  }
  FencedBytes(const FencedBytes&) = delete;
  FencedBytes& operator=(const FencedBytes&) = delete;

  std::uint8_t* Data() const { return data_; }
  std::size_t Readable() const { return readable_; }
  // Bytes the library must not read (only marked in a build with AddressSanitizer).
  void Poison(std::size_t offset, std::size_t size) {
    BAD_INPUT_POISON(data_ + offset, size);
    poisoned_.emplace_back(data_ + offset, size);
  }

 private:
  std::size_t readable_;
  std::size_t size_ = 0;
  std::uint8_t* base_ = nullptr;
  std::uint8_t* data_ = nullptr;
  std::vector<std::pair<std::uint8_t*, std::size_t>> poisoned_;
};

// A copy of a caller's record of which only the first `readable` bytes can be read.
template <class T>
class Fenced {
 public:
  explicit Fenced(const T& record, std::size_t readable = sizeof(T)) : bytes_(readable) {
    EXPECT_EQ(readable % alignof(T), 0u);
    std::memcpy(bytes_.Data(), &record, readable);
  }
  T* get() const { return reinterpret_cast<T*>(bytes_.Data()); }
  void Poison(std::size_t offset, std::size_t size) { bytes_.Poison(offset, size); }

 private:
  FencedBytes bytes_;
};

// A pointer to memory that faults when read: for the arguments the library never reads.
const void* Unreadable() {
  static FencedBytes page(0);
  return page.Data();
}
const PrivateDataBlock* NoPriv() { return static_cast<const PrivateDataBlock*>(Unreadable()); }
const char* UnreadableText() { return static_cast<const char*>(Unreadable()); }

UserDataBlock Block(std::string_view text) {
  UserDataBlock block{};
  block.Length = -1;  // never read
  std::memcpy(block.Text, text.data(), std::min(text.size(), sizeof block.Text));
  return block;
}

ConnectionId Call(std::int32_t id = 9, const char* device = "3001") {
  ConnectionId call{};
  call.CallId = id;
  std::strcpy(call.Device, device);
  return call;
}

std::string Fields(const Request& r) {
  ctisim::FrameReader in = r.Fields();
  const Bytes rest = in.GetBytes(in.remaining());
  return std::string(rest.begin(), rest.end());
}

std::uint16_t U16At(const Bytes& body, std::size_t at) {
  return at + 1 < body.size() ? static_cast<std::uint16_t>(body[at] << 8 | body[at + 1]) : 0xFFFF;
}

class BadInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vomtel::OrbaAdapter& adapter = vomtel::OrbaAdapter::Instance();
    saved_ = adapter.GetTimings();
    vomtel::Timings timings = saved_;
    timings.replyUnit = 300ms;  // every request here is answered at once: only a fault waits
    timings.conferenceWait = 50ms;
    adapter.SetTimings(timings);
    DeviceRecord device{};
    device.HeaderByte = 0x30;
    device.LinkMode = 4;
    std::strcpy(device.Device, "3001");
    ASSERT_EQ(vomtelOpenServer(&gate_, 0, &device, server_.Address().c_str(), server_.Port(),
                               "TCPIP", "badin", 1, 0),
              VOMTEL_OK);
  }
  void TearDown() override {
    vomtelCloseServer(gate_, 0);
    vomtel::OrbaAdapter::Instance().SetTimings(saved_);
  }

  // The requests that `call` made the server receive, in order: a marker request follows the
  // call on the same link, and everything before it is the call's.
  std::vector<Request> SentBy(const std::function<void()>& call) {
    server_.ClearReceived();
    call();
    EXPECT_EQ(vomtelSetAgentFlag(gate_, 0, "marker", 1), VOMTEL_OK);
    std::vector<Request> sent = server_.Received();
    const bool marker = !sent.empty() && sent.back().cls == kService && sent.back().code == 0x5A &&
                        Fields(sent.back()) == std::string("\x06marker\x01", 8);
    EXPECT_TRUE(marker) << "the marker request did not come last";
    if (marker) sent.pop_back();
    return sent;
  }

  // Expects `call` to give `code` and to send nothing.
  void ExpectRefused(const std::string& what, int code, const std::function<int()>& call) {
    int got = 0;
    const std::vector<Request> sent = SentBy([&] { got = call(); });
    EXPECT_EQ(got, code) << what;
    EXPECT_TRUE(sent.empty()) << what << ": a refused call sent " << sent.size()
                              << " request(s), the first 0x" << std::hex
                              << (sent.empty() ? 0 : sent[0].code);
  }

  // Expects `call` to send a request of (cls, code) and returns it with the call's result.
  std::pair<int, Request> ExpectSent(const std::string& what, std::uint8_t cls, std::uint8_t code,
                                     const std::function<int()>& call) {
    int got = 0;
    const std::vector<Request> sent = SentBy([&] { got = call(); });
    const auto it = std::find_if(sent.begin(), sent.end(),
                                 [&](const Request& r) { return r.cls == cls && r.code == code; });
    EXPECT_NE(it, sent.end()) << what << ": no request 0x" << std::hex << int(cls) << " 0x"
                              << int(code) << " went out";
    return {got, it == sent.end() ? Request{} : *it};
  }

  ctisim::SimServer server_;
  int gate_ = -1;
  vomtel::Timings saved_;
};

// ---- Counts -------------------------------------------------------------------------------

TEST_F(BadInputTest, DeviceCountsOutsideTheirRangeAreRefusedBeforeTheListIsRead) {
  DeviceRecord device{};
  device.DeviceType = 2;
  const auto* unreadable = static_cast<const uint32_t*>(Unreadable());
  for (int count : {INT_MIN, -2, VOMTEL_MAX_DEVICES + 1, 65536, INT_MAX}) {
    ExpectRefused("count " + std::to_string(count), VOMTEL_TOO_MANY_DEVICES,
                  [&] { return vomtelMultiAddDevice(gate_, 0, &device, count, unreadable); });
  }
  ExpectRefused("null record, count 0", VOMTEL_NULL_ARGUMENT,
                [&] { return vomtelMultiAddDevice(gate_, 0, nullptr, 0, nullptr); });
  const uint32_t withZero[] = {3001, 0, 3003};
  ExpectRefused("a device number 0", VOMTEL_NULL_ARGUMENT,
                [&] { return vomtelMultiAddDevice(gate_, 0, &device, 3, withZero); });

  // 0 (no list needed) and 2000 (the whole list, to the last byte of the caller's array) go out.
  auto none = ExpectSent("count 0", kService, 0x64,
                         [&] { return vomtelMultiAddDevice(gate_, 0, &device, 0, unreadable); });
  EXPECT_EQ(none.first, VOMTEL_OK);
  EXPECT_EQ(U16At(none.second.body, 8), 0);
  std::vector<uint32_t> numbers(VOMTEL_MAX_DEVICES);
  for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = static_cast<uint32_t>(4000 + i);
  FencedBytes fenced(numbers.size() * sizeof(uint32_t));
  std::memcpy(fenced.Data(), numbers.data(), fenced.Readable());
  auto all = ExpectSent("count 2000", kService, 0x64, [&] {
    return vomtelMultiAddDevice(gate_, 0, &device, VOMTEL_MAX_DEVICES,
                                reinterpret_cast<const uint32_t*>(fenced.Data()));
  });
  EXPECT_EQ(all.first, VOMTEL_OK);
  EXPECT_EQ(U16At(all.second.body, 8), VOMTEL_MAX_DEVICES);
  EXPECT_EQ(all.second.body.size(), 10u + 4u * VOMTEL_MAX_DEVICES);
}

TEST_F(BadInputTest, CallbackCampaignAnswersSendTheLowSixteenBitsOfTheirCount) {
  // A count whose low 16 bits are 0 or negative sends no entry and reads none.
  const auto* unreadable = static_cast<const CallbackCampaignEntry*>(Unreadable());
  for (int count : {INT_MIN, -1, 0, 65536, INT_MAX, 0x18000}) {
    auto sent = ExpectSent("count " + std::to_string(count), kService, 0xC8, [&] {
      return vomtelCallbackCampaignResult(gate_, 3, 0, 44, count, unreadable);
    });
    EXPECT_EQ(sent.first, VOMTEL_OK) << count;
    EXPECT_EQ(U16At(sent.second.body, 14), 0) << count;
    EXPECT_EQ(sent.second.body.size(), 16u) << count;
  }
  // 680 entries fill one request; 681 do not.
  for (int n : {680, 681}) {
    FencedBytes fenced(static_cast<std::size_t>(n) * sizeof(CallbackCampaignEntry));
    std::memset(fenced.Data(), 0x11, fenced.Readable());
    const auto* entries = reinterpret_cast<const CallbackCampaignEntry*>(fenced.Data());
    if (n == 681) {
      ExpectRefused("681 entries", VOMTEL_TOO_MANY_DEVICES,
                    [&] { return vomtelCallbackCampaignResult(gate_, 3, 0, 44, n, entries); });
      continue;
    }
    auto sent = ExpectSent("680 entries", kService, 0xC8, [&] {
      return vomtelCallbackCampaignResult(gate_, 3, 0, 44, n + 0x10000, entries);
    });
    EXPECT_EQ(sent.first, VOMTEL_OK);
    EXPECT_EQ(U16At(sent.second.body, 14), 680);
  }
}

// A count past what one request holds is refused before the entries are read: the caller's
// array may hold fewer entries than a count it got wrong.
TEST_F(BadInputTest, CallbackCampaignAnswerRefusesItsCountBeforeReadingTheEntries) {
  FencedBytes fenced(681 * sizeof(CallbackCampaignEntry));
  const auto* entries = reinterpret_cast<const CallbackCampaignEntry*>(fenced.Data());
  ExpectRefused("count 32767", VOMTEL_TOO_MANY_DEVICES,
                [&] { return vomtelCallbackCampaignResult(gate_, 3, 0, 44, 0x7FFF, entries); });
}

ctisim::Bytes ReadyData(int n) {
  ctisim::Frame f;
  f.PutU16(static_cast<std::uint16_t>(n));
  for (int i = 0; i < n; ++i) {
    f.PutStr8(std::string("a").append(std::to_string(i))).PutStr8("name").PutU32(11).PutStr8("G").PutU32(21);
    f.PutStr8("P").PutU32(3001 + i).PutU8(1).PutU16(30);
  }
  return f.Take();
}

ctisim::Bytes BusyData(int n) {
  ctisim::Frame f;
  f.PutU16(static_cast<std::uint16_t>(n));
  for (int i = 0; i < n; ++i)
    f.PutStr8(std::string("e").append(std::to_string(i))).PutU32(3001 + i).PutU8(1).PutU16(5);
  return f.Take();
}

ctisim::Bytes SkillData(int n) {
  ctisim::Frame f;
  f.PutU16(static_cast<std::uint16_t>(n));
  for (int i = 0; i < n; ++i) f.PutU32(11).PutU32(21).PutU32(31 + i).PutU8(3).PutU16(9);
  return f.Take();
}

ctisim::Bytes StatusData(bool more, int n) {
  ctisim::Frame f;
  f.PutU8(more ? 1 : 0).PutU8(0).PutU8(3).PutU32(static_cast<std::uint32_t>(n));
  for (int i = 0; i < n; ++i) {
    f.PutU16(10).PutU16(20).PutU32(100 + i).PutStr8("agent").PutU32(3000 + i);
  }
  return f.Take();
}

// The list queries with a maximum count, the server answering three entries: whatever the
// count, the result is the server's, and at most max(count, 0) entries are written into an
// array that ends where its room ends.
TEST_F(BadInputTest, MaximumCountsOfEveryRangeBoundTheEntriesWritten) {
  constexpr int kAnswered = 3;
  ctisim::ReplyRule status;
  status.data = StatusData(true, kAnswered);
  status.more = {StatusData(false, 0)};
  server_.SetRule(kService, 0xBE, status);
  const std::pair<std::uint8_t, Bytes> answers[] = {{0x98, ReadyData(kAnswered)},
                                                    {0x60, ReadyData(kAnswered)},
                                                    {0x97, BusyData(kAnswered)},
                                                    {0x5D, SkillData(kAnswered)}};
  for (const auto& [code, data] : answers) {
    ctisim::ReplyRule rule;
    rule.data = data;
    server_.SetRule(kService, code, rule);
  }
  ASSERT_EQ(gate_, 0) << "the busy-agent queries work on gate 0";

  using List = std::function<int(int max, void* entries, uint32_t* count)>;
  const struct {
    const char* name;
    std::size_t size;
    List call;
  } lists[] = {
      {"vomtelAgentReadyGet", sizeof(AgentReadyEntry),
       [&](int max, void* e, uint32_t* n) {
         return vomtelAgentReadyGet(gate_, 0, 1, 2, max, static_cast<AgentReadyEntry*>(e), n);
       }},
      {"vomtelAgentReadyGetII", sizeof(AgentReadyExEntry),
       [&](int max, void* e, uint32_t* n) {
         return vomtelAgentReadyGetII(gate_, 0, 1, 2, max, static_cast<AgentReadyExEntry*>(e), n);
       }},
      {"vomtelAgentReadyGetEx", sizeof(AgentReadyExEntry),
       [&](int max, void* e, uint32_t* n) {
         return vomtelAgentReadyGetEx(gate_, 0, 1, 2, max, static_cast<AgentReadyExEntry*>(e), n);
       }},
      {"vomtelAgentBusyGet", sizeof(AgentReadyEntry),
       [&](int max, void* e, uint32_t* n) {
         return vomtelAgentBusyGet(gate_, 0, 1, 2, max, static_cast<AgentReadyEntry*>(e), n);
       }},
      {"vomtelAgentBusyGetII", sizeof(AgentReadyEntry),
       [&](int max, void* e, uint32_t* n) {
         return vomtelAgentBusyGetII(gate_, 0, 0, 1, 2, max, static_cast<AgentReadyEntry*>(e), n);
       }},
      {"vomtelAgentStatusGet", sizeof(AgentStatusEntry),
       [&](int max, void* e, uint32_t* n) {
         return vomtelAgentStatusGet(gate_, 0, 1, max, 1, 2, static_cast<AgentStatusEntry*>(e), n,
                                     0);
       }},
      {"vomtelAgentSkillGet", sizeof(SkillAgentEntry),
       [&](int max, void* e, uint32_t* n) {
         return vomtelAgentSkillGet(gate_, 0, max, 2, static_cast<SkillAgentEntry*>(e), n);
       }},
  };
  for (const auto& list : lists) {
    for (int max : {INT_MIN, -1, 0, 1, 2, 65536 + 1, INT_MAX}) {
      const std::size_t room = static_cast<std::size_t>(std::clamp(max, 0, kAnswered));
      FencedBytes fenced(room * list.size);
      uint32_t count = 0xEEEEEEEE;
      const int got =
          list.call(max, room ? fenced.Data() : const_cast<void*>(Unreadable()), &count);
      EXPECT_EQ(got, VOMTEL_OK) << list.name << " " << max;
      EXPECT_EQ(count, room) << list.name << " " << max;
    }
  }

  // The count queries count what the server answered, whatever the maximum.
  using Count = std::function<int(int max, int* count)>;
  const std::pair<const char*, Count> counts[] = {
      {"vomtelAgentReadyGetCount",
       [&](int max, int* n) { return vomtelAgentReadyGetCount(gate_, 0, 1, 2, max, n); }},
      {"vomtelAgentReadyGetCountII",
       [&](int max, int* n) { return vomtelAgentReadyGetCountII(gate_, 0, 0, 1, 2, max, n); }},
      {"vomtelAgentBusyGetCount",
       [&](int max, int* n) { return vomtelAgentBusyGetCount(gate_, 0, 1, 2, max, n); }},
      {"vomtelAgentBusyGetCountII",
       [&](int max, int* n) { return vomtelAgentBusyGetCountII(gate_, 0, 0, 1, 2, max, n); }},
  };
  for (const auto& [name, call] : counts) {
    for (int max : {INT_MIN, -1, 0, INT_MAX}) {
      int count = -7;
      EXPECT_EQ(call(max, &count), VOMTEL_OK) << name << " " << max;
      EXPECT_EQ(count, kAnswered) << name << " " << max;
    }
  }
}

// Counts that only travel to the server: any value goes out, none is refused.
TEST_F(BadInputTest, CountsThatOnlyTravelGoOutWhateverTheirValue) {
  for (int n : {INT_MIN, -1, 0, INT_MAX}) {
    const std::string at = std::string(" ").append(std::to_string(n));
    uint32_t count = 0;
    SkillCountEntry entry{};
    EXPECT_EQ(
        ExpectSent("vomtelAgentGetBySkill" + at, kService, 0x61,
                   [&] { return vomtelAgentGetBySkill(gate_, 0, 1, 7, 3, n, &count, &entry); })
            .first,
        VOMTEL_OK);
    EXPECT_EQ(ExpectSent("vomtelCallingListService" + at, kService, 0xD5,
                         [&] { return vomtelCallingListService(gate_, 0, 0, 2, 3, n, 1); })
                  .first,
              VOMTEL_OK);
    int rows = 0;
    UserDataBlock query = Block("select 1");
    UserDataBlock result = Block("");
    ExpectSent("vomtelSQLQuery" + at, kService, 0x5E,
               [&] { return vomtelSQLQuery(gate_, 0, "3001", n, ',', &query, &rows, &result); });
    CampaignListHandleRecord handle{};
    handle.ListCount = n;
    ExpectSent("vomtelSetCampaignListHandle" + at, kService, 0xF5,
               [&] { return vomtelSetCampaignListHandle(gate_, 0, &handle); });
  }
}

TEST_F(BadInputTest, CampaignScheduleAndSkillCountsBeyondTheirArraysAreRefused) {
  uint32_t id = 0;
  for (std::int16_t n : {std::int16_t{-1}, std::int16_t{INT16_MIN}, std::int16_t{INT16_MAX}}) {
    CampaignRecord campaign{};
    campaign.ScheduleCnt = n;
    ExpectRefused("schedules " + std::to_string(n), VOMTEL_TEXT_TOO_LONG,
                  [&] { return vomtelCreateCampaignEx(gate_, 0, &id, &campaign); });
  }
  for (std::int16_t n : {std::int16_t{INT16_MIN}, std::int16_t{INT16_MAX}}) {
    CampaignRecord campaign{};
    campaign.SkillCnt = n;
    ExpectRefused("skills " + std::to_string(n), VOMTEL_TEXT_TOO_LONG,
                  [&] { return vomtelCreateCampaignEx(gate_, 0, &id, &campaign); });
  }
  // Full arrays go out (with texts without a NUL in CampaignRecordsAreReadToTheirFieldsOnly).
  CampaignRecord campaign{};
  campaign.ScheduleCnt = 4;
  campaign.SkillCnt = 5;
  ExpectSent("four schedules, five skills", kService, 0xFA,
             [&] { return vomtelCreateCampaignEx(gate_, 0, &id, &campaign); });
}

// ---- Texts over their limits --------------------------------------------------------------

struct LimitRow {
  const char* name;
  std::uint8_t cls;
  std::uint8_t code;
  std::size_t limit;
  int refused;  // the result of a text one byte over the limit
  std::function<int(int gate, const char* text)> call;
};

std::vector<LimitRow> LimitRows() {
  constexpr std::size_t kStr8 = 255;
  constexpr std::size_t kUui = 32;
  constexpr std::size_t kUei = 1024;
  constexpr std::size_t kCi = 128;
  constexpr int kLong = VOMTEL_TEXT_TOO_LONG;
  auto ub = [](const char* t) { return Block(t); };
  std::vector<LimitRow> rows = {
      // Dialling: the make-call family shares one body; its UUI limit is checked in each.
      {"vomtelMakeCall callingDn", kCall, 0x65, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelMakeCall(g, 0, t, "3002", "", "", "", nullptr, nullptr, nullptr, NoPriv());
       }},
      {"vomtelMakeCall calledDn", kCall, 0x65, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelMakeCall(g, 0, "3001", t, "", "", "", nullptr, nullptr, nullptr, NoPriv());
       }},
      {"vomtelMakeCall accountCode", kCall, 0x65, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelMakeCall(g, 0, "3001", "3002", "", t, "", nullptr, nullptr, nullptr,
                               NoPriv());
       }},
      {"vomtelMakeCall authCode", kCall, 0x65, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelMakeCall(g, 0, "3001", "3002", "", "", t, nullptr, nullptr, nullptr,
                               NoPriv());
       }},
      {"vomtelMakeCall UEI", kCall, 0x65, kUei, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock b = ub(t);
         return vomtelMakeCall(g, 0, "3001", "3002", "", "", "", nullptr, &b, nullptr, NoPriv());
       }},
      {"vomtelMakeCall CI", kCall, 0x65, kCi, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock b = ub(t);
         return vomtelMakeCall(g, 0, "3001", "3002", "", "", "", nullptr, nullptr, &b, NoPriv());
       }},
      {"vomtelObservationCall UUI", kCall, 0x65, kUui, kLong,
       [](int g, const char* t) {
         return vomtelObservationCall(g, 0, "3001", "3002", t, "", "", nullptr, nullptr, nullptr,
                                      NoPriv());
       }},
      {"vomtelObservationTalkCall UUI", kCall, 0x65, kUui, kLong,
       [](int g, const char* t) {
         return vomtelObservationTalkCall(g, 0, "3001", "3002", t, "", "", nullptr, nullptr,
                                          nullptr, NoPriv());
       }},
      {"vomtelWhisperCall UUI", kCall, 0x65, kUui, kLong,
       [](int g, const char* t) {
         return vomtelWhisperCall(g, 0, "3001", "3002", t, "", "", nullptr, nullptr, nullptr,
                                  NoPriv());
       }},
      // Consultation and one-step conference: UUI 32.
      {"vomtelConsultationCall calledDn", kCall, 0x3C, kStr8, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelConsultationCall(g, 0, &c, t, Unreadable(), "", "", "", Unreadable(), nullptr,
                                       nullptr, NoPriv());
       }},
      {"vomtelConsultationCall UUI", kCall, 0x3C, kUui, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelConsultationCall(g, 0, &c, "3002", Unreadable(), t, "", "", Unreadable(),
                                       nullptr, nullptr, NoPriv());
       }},
      {"vomtelConsultationCall accountCode", kCall, 0x3C, kStr8, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelConsultationCall(g, 0, &c, "3002", Unreadable(), "", t, "", Unreadable(),
                                       nullptr, nullptr, NoPriv());
       }},
      {"vomtelConsultationCall authCode", kCall, 0x3C, kStr8, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelConsultationCall(g, 0, &c, "3002", Unreadable(), "", "", t, Unreadable(),
                                       nullptr, nullptr, NoPriv());
       }},
      {"vomtelConsultationCall UEI", kCall, 0x3C, kUei, kLong,
       [ub](int g, const char* t) {
         const ConnectionId c = Call();
         const UserDataBlock b = ub(t);
         return vomtelConsultationCall(g, 0, &c, "3002", Unreadable(), "", "", "", Unreadable(), &b,
                                       nullptr, NoPriv());
       }},
      {"vomtelConsultationCall CI", kCall, 0x3C, kCi, kLong,
       [ub](int g, const char* t) {
         const ConnectionId c = Call();
         const UserDataBlock b = ub(t);
         return vomtelConsultationCall(g, 0, &c, "3002", Unreadable(), "", "", "", Unreadable(),
                                       nullptr, &b, NoPriv());
       }},
      {"vomtelOneStepConference calledDn", kCall, 0x3C, kStr8, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelOneStepConference(g, 0, &c, t, Unreadable(), "", Unreadable(), nullptr,
                                        nullptr, NoPriv());
       }},
      {"vomtelOneStepConference UUI", kCall, 0x3C, kUui, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelOneStepConference(g, 0, &c, "3002", Unreadable(), t, Unreadable(), nullptr,
                                        nullptr, NoPriv());
       }},
      {"vomtelOneStepConference UEI", kCall, 0x3C, kUei, kLong,
       [ub](int g, const char* t) {
         const ConnectionId c = Call();
         const UserDataBlock b = ub(t);
         return vomtelOneStepConference(g, 0, &c, "3002", Unreadable(), "", Unreadable(), &b,
                                        nullptr, NoPriv());
       }},
      {"vomtelOneStepConference CI", kCall, 0x3C, kCi, kLong,
       [ub](int g, const char* t) {
         const ConnectionId c = Call();
         const UserDataBlock b = ub(t);
         return vomtelOneStepConference(g, 0, &c, "3002", Unreadable(), "", Unreadable(), nullptr,
                                        &b, NoPriv());
       }},
      // Single-step requests: their UUI is a plain text (255).
      {"vomtelSingleStepTransfer calledDn", kCall, 0xAC, kStr8, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelSingleStepTransfer(g, 0, &c, t, 1, Unreadable(), "", Unreadable(),
                                         Unreadable(), nullptr, nullptr);
       }},
      {"vomtelSingleStepTransfer UUI", kCall, 0xAC, kStr8, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelSingleStepTransfer(g, 0, &c, "3002", 1, Unreadable(), t, Unreadable(),
                                         Unreadable(), nullptr, nullptr);
       }},
      {"vomtelSingleStepTransfer UEI", kCall, 0xAC, kUei, kLong,
       [ub](int g, const char* t) {
         const ConnectionId c = Call();
         const UserDataBlock b = ub(t);
         return vomtelSingleStepTransfer(g, 0, &c, "3002", 1, Unreadable(), "", Unreadable(),
                                         Unreadable(), &b, nullptr);
       }},
      {"vomtelSingleStepTransfer CI", kCall, 0xAC, kCi, kLong,
       [ub](int g, const char* t) {
         const ConnectionId c = Call();
         const UserDataBlock b = ub(t);
         return vomtelSingleStepTransfer(g, 0, &c, "3002", 1, Unreadable(), "", Unreadable(),
                                         Unreadable(), nullptr, &b);
       }},
      // Its account and authorisation codes are not read.
      {"vomtelSingleStepConference callingDn", kCall, 0xAD, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelSingleStepConference(g, 0, 9, t, "3002", 1, "", UnreadableText(),
                                           UnreadableText(), Unreadable(), nullptr, nullptr);
       }},
      {"vomtelSingleStepConference calledDn", kCall, 0xAD, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelSingleStepConference(g, 0, 9, "3001", t, 1, "", UnreadableText(),
                                           UnreadableText(), Unreadable(), nullptr, nullptr);
       }},
      {"vomtelSingleStepConference UUI", kCall, 0xAD, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelSingleStepConference(g, 0, 9, "3001", "3002", 1, t, UnreadableText(),
                                           UnreadableText(), Unreadable(), nullptr, nullptr);
       }},
      {"vomtelSingleStepConference UEI", kCall, 0xAD, kUei, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock b = ub(t);
         return vomtelSingleStepConference(g, 0, 9, "3001", "3002", 1, "", UnreadableText(),
                                           UnreadableText(), Unreadable(), &b, nullptr);
       }},
      {"vomtelSingleStepConference CI", kCall, 0xAD, kCi, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock b = ub(t);
         return vomtelSingleStepConference(g, 0, 9, "3001", "3002", 1, "", UnreadableText(),
                                           UnreadableText(), Unreadable(), nullptr, &b);
       }},
      {"vomtelDivertDeflect divertDn", kCall, 0x51, kStr8, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelDivertDeflect(g, 0, &c, t, "", nullptr, nullptr, NoPriv());
       }},
      {"vomtelDivertDeflect UUI", kCall, 0x51, kStr8, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelDivertDeflect(g, 0, &c, "3009", t, nullptr, nullptr, NoPriv());
       }},
      {"vomtelDivertDirect UEI", kCall, 0x53, kUei, kLong,
       [ub](int g, const char* t) {
         const ConnectionId c = Call();
         const UserDataBlock b = ub(t);
         return vomtelDivertDirect(g, 0, &c, "3009", "", &b, nullptr, NoPriv());
       }},
      {"vomtelDivertDirect CI", kCall, 0x53, kCi, kLong,
       [ub](int g, const char* t) {
         const ConnectionId c = Call();
         const UserDataBlock b = ub(t);
         return vomtelDivertDirect(g, 0, &c, "3009", "", nullptr, &b, NoPriv());
       }},
      {"vomtelSendDTMF digits", kCall, 0xA0, kStr8, kLong,
       [](int g, const char* t) {
         const ConnectionId c = Call();
         return vomtelSendDTMF(g, 0, &c, t, 100, 50);
       }},
      // Phone features and agent state.
      {"vomtelSetFeatureDND device", kCall, 0xDF, kStr8, kLong,
       [](int g, const char* t) { return vomtelSetFeatureDND(g, 0, t, 1, NoPriv()); }},
      {"vomtelSetFeatureForward device", kCall, 0xDE, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelSetFeatureForward(g, 0, t, 1, 1, "3009", NoPriv());
       }},
      {"vomtelSetFeatureForward forwardDn", kCall, 0xDE, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelSetFeatureForward(g, 0, "3001", 1, 1, t, NoPriv());
       }},
      {"vomtelSetFeatureMicrophoneMute device", kCall, 0xE3, kStr8, kLong,
       [](int g, const char* t) { return vomtelSetFeatureMicrophoneMute(g, 0, t, 1); }},
      {"vomtelSetFeatureSpeakerMute device", kCall, 0xE4, kStr8, kLong,
       [](int g, const char* t) { return vomtelSetFeatureSpeakerMute(g, 0, t, 1); }},
      {"vomtelSetFeatureAutoAnswer device", kCall, 0xE2, kStr8, kLong,
       [](int g, const char* t) { return vomtelSetFeatureAutoAnswer(g, 0, t, 1, NoPriv()); }},
      {"vomtelSetFeatureAgentStatus device", kCall, 0xDD, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelSetFeatureAgentStatus(g, 0, t, 2, "a7", "p", "g", 0, 0, NoPriv());
       }},
      {"vomtelSetFeatureAgentStatus agentId", kCall, 0xDD, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelSetFeatureAgentStatus(g, 0, "3001", 2, t, "p", "g", 0, 0, NoPriv());
       }},
      {"vomtelSetFeatureAgentStatus agentPart", kCall, 0xDD, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelSetFeatureAgentStatus(g, 0, "3001", 2, "a7", t, "g", 0, 0, NoPriv());
       }},
      {"vomtelSetFeatureAgentStatus agentGroup", kCall, 0xDD, kStr8, kLong,
       [](int g, const char* t) {
         return vomtelSetFeatureAgentStatus(g, 0, "3001", 2, "a7", "p", t, 0, 0, NoPriv());
       }},
      {"vomtelRemoveDevice device", kService, 0x50, kStr8, kLong,
       [](int g, const char* t) { return vomtelRemoveDevice(g, 0, t); }},
      {"vomtelSetAgentFlag agentId", kService, 0x5A, kStr8, kLong,
       [](int g, const char* t) { return vomtelSetAgentFlag(g, 0, t, 1); }},
      {"vomtelSetAgentBlocking agentId", kService, 0xCB, kStr8, kLong,
       [](int g, const char* t) { return vomtelSetAgentBlocking(g, 0, t, 30); }},
      {"vomtelSetAgentBlockingEx agentId", kService, 0xCB, kStr8, kLong,
       [](int g, const char* t) {
         int r[2] = {0, 0};
         return vomtelSetAgentBlockingEx(g, 0, t, 30, 5, "camp", 2, r);
       }},
      {"vomtelSetAgentBlockingEx campaignName", kService, 0xCB, kStr8, kLong,
       [](int g, const char* t) {
         int r[2] = {0, 0};
         return vomtelSetAgentBlockingEx(g, 0, "a7", 30, 5, t, 2, r);
       }},
      {"vomtelPwdConfirm UEI", kService, 0xFC, kUei, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock b = ub(t);
         return vomtelPwdConfirm(g, 0, 3001, 1, &b);
       }},
      {"vomtelSetUEIData UEI", kService, 0xAA, kUei, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock b = ub(t);
         const int call = 9;
         return vomtelSetUEIData(g, 0, 1, &call, &b);
       }},
      // Queries.
      {"vomtelQueryAgentStatusEx agentId", kService, 0x6E, kStr8, kLong,
       [](int g, const char* t) {
         char name[31];
         int v[5];
         return vomtelQueryAgentStatusEx(g, 0, t, 3001, name, &v[0], &v[1], &v[2], &v[3], &v[4], 0,
                                         0, 0);
       }},
      {"vomtelMultiAgentGet deviceDn", kService, 0xE6, kStr8, kLong,
       [](int g, const char* t) {
         MultiAgentEntry e[1];
         uint32_t n = 0;
         return vomtelMultiAgentGet(g, 0, t, "", e, &n);
       }},
      {"vomtelMultiAgentGet agentId", kService, 0xE6, kStr8, kLong,
       [](int g, const char* t) {
         MultiAgentEntry e[1];
         uint32_t n = 0;
         return vomtelMultiAgentGet(g, 0, "", t, e, &n);
       }},
      {"vomtelWaitTimeGet queueDn", kService, 0x82, kStr8, kLong,
       [](int g, const char* t) {
         int a = 0, b = 0;
         return vomtelWaitTimeGet(g, 0, 1, t, &a, &b);
       }},
      {"vomtelWaitingCallTimePeriod queue", kService, 0x84, kStr8, kLong,
       [](int g, const char* t) {
         WaitingPeriodEntry e[1];
         uint32_t n = 0;
         return vomtelWaitingCallTimePeriod(g, 0, 10, t, &n, e);
       }},
      {"vomtelWaitingCallListOfQue queue", kService, 0x84, kStr8, kLong,
       [](int g, const char* t) {
         WaitingCallEntry e[1];
         uint32_t n = 0;
         return vomtelWaitingCallListOfQue(g, 0, t, &n, e);
       }},
      {"vomtelMaxCallLoadAgent employeeId", kService, 0xD6, kStr8, kLong,
       [](int g, const char* t) {
         CallLoadEntry e[1];
         uint32_t n = 0;
         return vomtelMaxCallLoadAgent(g, 0, t, &n, e);
       }},
      // IVR, SQL and uploads.
      {"vomtelIVRRegisterCall text1", kIvr, 0x3C, kStr8, kLong,
       [](int g, const char* t) { return vomtelIVRRegisterCall(g, 0, 1, 9, t, "", nullptr, 2); }},
      {"vomtelIVRRegisterCall text2", kIvr, 0x3C, kStr8, kLong,
       [](int g, const char* t) { return vomtelIVRRegisterCall(g, 0, 1, 9, "", t, nullptr, 2); }},
      {"vomtelIVRRegisterCall UEI", kIvr, 0x3C, kUei, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock b = ub(t);
         return vomtelIVRRegisterCall(g, 0, 1, 9, "", "", &b, 2);
       }},
      {"vomtelIVRReleaseCall dn", kIvr, 0x3D, kStr8, kLong,
       [](int g, const char* t) { return vomtelIVRReleaseCall(g, 0, 1, 9, t, ""); }},
      {"vomtelIVRReleaseCall targetDn", kIvr, 0x3D, kStr8, kLong,
       [](int g, const char* t) { return vomtelIVRReleaseCall(g, 0, 1, 9, "", t); }},
      {"vomtelIVRAllowRouting text", kIvr, 0x3E, kStr8, kLong,
       [](int g, const char* t) { return vomtelIVRAllowRouting(g, 0, 1, 9, t, 1); }},
      {"vomtelIVRNumberOfWait text", kIvr, 0x3F, kStr8, kLong,
       [](int g, const char* t) {
         int n = 0;
         return vomtelIVRNumberOfWait(g, 0, 1, 9, t, &n);
       }},
      {"vomtelSQLQuery device", kService, 0x5E, kStr8, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock q = ub("select 1");
         UserDataBlock r = ub("");
         int rows = 0;
         return vomtelSQLQuery(g, 0, t, 1, ',', &q, &rows, &r);
       }},
      {"vomtelSQLExecute device", kService, 0xA0, kStr8, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock q = ub("delete x");
         return vomtelSQLExecute(g, 0, t, &q);
       }},
      {"vomtelPutCounselInfo cnid", kService, 0xC1, kStr8, kLong,
       [](int g, const char* t) { return vomtelPutCounselInfo(g, 0, t, 1, "", nullptr); }},
      {"vomtelPutCounselInfo tag", kService, 0xC1, kStr8, kLong,
       [](int g, const char* t) { return vomtelPutCounselInfo(g, 0, "", 1, t, nullptr); }},
      {"vomtelPutCounselInfo attachment", kService, 0xC1, kUei, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock b = ub(t);
         return vomtelPutCounselInfo(g, 0, "", 1, "", &b);
       }},
      {"vomtelPutTraceInfo trace", kService, 0xC0, kUei, kLong,
       [ub](int g, const char* t) {
         const UserDataBlock b = ub(t);
         return vomtelPutTraceInfo(g, 0, 1, 2, "", "", "", "", "", "", 7, "", &b);
       }},
      // Outbound.
      {"vomtelStartSystemPreview agentId", kService, 0xF1, kStr8, kLong,
       [](int g, const char* t) { return vomtelStartSystemPreview(g, 0, 1, 2, t); }},
      {"vomtelStopSystemPreview agentId", kService, 0xF1, kStr8, kLong,
       [](int g, const char* t) { return vomtelStopSystemPreview(g, 0, 1, 2, t); }},
      {"vomtelSysPreviewState agentId", kService, 0xF2, kStr8, kLong,
       [](int g, const char* t) { return vomtelSysPreviewState(g, 0, 1, 2, t, 0); }},
      {"vomtelPreviewMakeCall employeeId", kService, 0xF8, kStr8, kLong,
       [](int g, const char* t) { return vomtelPreviewMakeCall(g, 0, 1, 2, 3, t, 4); }},
  };
  // The trace upload's seven texts and the directory query's eight.
  for (int i = 0; i < 7; ++i) {
    rows.push_back(
        {"vomtelPutTraceInfo text", kService, 0xC0, kStr8, kLong, [i](int g, const char* t) {
           const char* x[7] = {"", "", "", "", "", "", ""};
           x[i] = t;
           return vomtelPutTraceInfo(g, 0, 1, 2, x[0], x[1], x[2], x[3], x[4], x[5], 7, x[6],
                                     nullptr);
         }});
  }
  for (int i = 0; i < 8; ++i) {
    rows.push_back({"vomtelGetAgent text", kService, 0xC2, kStr8, kLong, [i](int g, const char* t) {
                      const char* x[8] = {"", "", "", "", "", "", "", ""};
                      x[i] = t;
                      std::vector<AgentExEntry> e(1);
                      uint32_t n = 0;
                      return vomtelGetAgent(g, 0, x[0], x[1], x[2], x[3], x[4], x[5], x[6],
                                            e.data(), &n, x[7]);
                    }});
  }
  // The extended directory query: -3025 (negative). Its 21-byte part is in the black-box table.
  for (int i = 0; i < 9; ++i) {
    if (i == 5) continue;
    rows.push_back({"vomtelGetAgentEx text", kService, 0xC7, i < 5 ? kUei : kStr8,
                    -VOMTEL_TEXT_TOO_LONG, [i](int g, const char* t) {
                      const char* x[9] = {"", "", "", "", "", "", "", "", ""};
                      x[i] = t;
                      std::vector<AgentExEntry> e(1);
                      std::vector<char> reads(1025);
                      uint32_t n = 0;
                      return vomtelGetAgentEx(g, 0, x[0], x[1], x[2], x[3], x[4], x[5], x[6], x[7],
                                              e.data(), reads.data(), &n, x[8]);
                    }});
  }
  return rows;
}

// Each text at its limit goes out; one byte more is refused with the documented code and
// sends nothing.
TEST_F(BadInputTest, TextsOverTheirLimitsAreRefusedAndSendNothing) {
  ASSERT_EQ(gate_, 0) << "vomtelSetAgentBlockingEx works on gate 0";
  for (const LimitRow& row : LimitRows()) {
    const std::string at(row.limit, 'x');
    const std::string over(row.limit + 1, 'x');
    ExpectSent(std::string(row.name) + " at its limit", row.cls, row.code,
               [&] { return row.call(gate_, at.c_str()); });
    ExpectRefused(std::string(row.name) + " over its limit", row.refused,
                  [&] { return row.call(gate_, over.c_str()); });
  }
}

// ---- Null texts ---------------------------------------------------------------------------

// Each export is called with null texts and blocks, then with empty ones: the two requests are
// the same bytes.
TEST_F(BadInputTest, NullTextsAndBlocksGoOutAsEmptyTexts) {
  ASSERT_EQ(gate_, 0) << "vomtelSetAgentBlockingEx works on gate 0";
  using Texts = std::function<int(int gate, const char* t, const UserDataBlock* b)>;
  const ConnectionId call = Call();
  const std::pair<const char*, Texts> rows[] = {
      {"vomtelRemoveDevice", [](int g, const char* t, const UserDataBlock*) {
         return vomtelRemoveDevice(g, 0, t);
       }},
      {"vomtelConsultationCall", [&](int g, const char* t, const UserDataBlock* b) {
         return vomtelConsultationCall(g, 0, &call, t, nullptr, t, t, t, nullptr, b, b, nullptr);
       }},
      {"vomtelSingleStepTransfer", [&](int g, const char* t, const UserDataBlock* b) {
         return vomtelSingleStepTransfer(g, 0, &call, t, 1, nullptr, t, nullptr, nullptr, b, b);
       }},
      {"vomtelSingleStepConference", [](int g, const char* t, const UserDataBlock* b) {
         return vomtelSingleStepConference(g, 0, 9, t, t, 1, t, t, t, nullptr, b, b);
       }},
      {"vomtelOneStepConference", [&](int g, const char* t, const UserDataBlock* b) {
         return vomtelOneStepConference(g, 0, &call, t, nullptr, t, nullptr, b, b, nullptr);
       }},
      {"vomtelDivertDeflect", [&](int g, const char* t, const UserDataBlock* b) {
         return vomtelDivertDeflect(g, 0, &call, t, t, b, b, nullptr);
       }},
      {"vomtelDivertDirect", [&](int g, const char* t, const UserDataBlock* b) {
         return vomtelDivertDirect(g, 0, &call, t, t, b, b, nullptr);
       }},
      {"vomtelSendDTMF", [&](int g, const char* t, const UserDataBlock*) {
         return vomtelSendDTMF(g, 0, &call, t, 1, 1);
       }},
      {"vomtelObservationCall", [](int g, const char* t, const UserDataBlock* b) {
         return vomtelObservationCall(g, 0, t, t, t, t, t, nullptr, b, b, nullptr);
       }},
      {"vomtelSetFeatureDND", [](int g, const char* t, const UserDataBlock*) {
         return vomtelSetFeatureDND(g, 0, t, 1, nullptr);
       }},
      {"vomtelSetFeatureForward", [](int g, const char* t, const UserDataBlock*) {
         return vomtelSetFeatureForward(g, 0, t, 1, 1, t, nullptr);
       }},
      {"vomtelSetFeatureMicrophoneMute", [](int g, const char* t, const UserDataBlock*) {
         return vomtelSetFeatureMicrophoneMute(g, 0, t, 1);
       }},
      {"vomtelSetFeatureSpeakerMute", [](int g, const char* t, const UserDataBlock*) {
         return vomtelSetFeatureSpeakerMute(g, 0, t, 1);
       }},
      {"vomtelSetFeatureAutoAnswer", [](int g, const char* t, const UserDataBlock*) {
         return vomtelSetFeatureAutoAnswer(g, 0, t, 1, nullptr);
       }},
      {"vomtelSetFeatureAgentStatus", [](int g, const char* t, const UserDataBlock*) {
         return vomtelSetFeatureAgentStatus(g, 0, t, 2, t, t, t, 0, 0, nullptr);
       }},
      {"vomtelSetAgentFlag", [](int g, const char* t, const UserDataBlock*) {
         return vomtelSetAgentFlag(g, 0, t, 1);
       }},
      {"vomtelSetAgentBlocking", [](int g, const char* t, const UserDataBlock*) {
         return vomtelSetAgentBlocking(g, 0, t, 30);
       }},
      {"vomtelSetAgentBlockingEx", [](int g, const char* t, const UserDataBlock*) {
         int r[2] = {0, 0};
         return vomtelSetAgentBlockingEx(g, 0, t, 30, 5, t, 2, r);
       }},
      {"vomtelPwdConfirm", [](int g, const char*, const UserDataBlock* b) {
         return vomtelPwdConfirm(g, 0, 3001, 1, b);
       }},
      {"vomtelSetUEIData", [](int g, const char*, const UserDataBlock* b) {
         const int id = 9;
         return vomtelSetUEIData(g, 0, 1, &id, b);
       }},
      {"vomtelQueryAgentStatusEx", [](int g, const char* t, const UserDataBlock*) {
         char name[31];
         int v[5];
         return vomtelQueryAgentStatusEx(g, 0, t, 1, name, &v[0], &v[1], &v[2], &v[3], &v[4], 0, 0,
                                         0);
       }},
      {"vomtelMultiAgentGet", [](int g, const char* t, const UserDataBlock*) {
         MultiAgentEntry e[1];
         uint32_t n = 0;
         return vomtelMultiAgentGet(g, 0, t, t, e, &n);
       }},
      {"vomtelGetAgent", [](int g, const char* t, const UserDataBlock*) {
         std::vector<AgentExEntry> e(1);
         uint32_t n = 0;
         return vomtelGetAgent(g, 0, t, t, t, t, t, t, t, e.data(), &n, t);
       }},
      {"vomtelGetAgentEx", [](int g, const char* t, const UserDataBlock*) {
         std::vector<AgentExEntry> e(1);
         std::vector<char> reads(1025);
         uint32_t n = 0;
         return vomtelGetAgentEx(g, 0, t, t, t, t, t, t, t, t, e.data(), reads.data(), &n, t);
       }},
      {"vomtelGetAgentCount", [](int g, const char*, const UserDataBlock* b) {
         uint32_t n = 0;
         return vomtelGetAgentCount(g, 0, b, 3, 1, &n);
       }},
      {"vomtelWaitTimeGet", [](int g, const char* t, const UserDataBlock*) {
         int a = 0, b = 0;
         return vomtelWaitTimeGet(g, 0, 1, t, &a, &b);
       }},
      {"vomtelWaitingCallTimePeriod", [](int g, const char* t, const UserDataBlock*) {
         WaitingPeriodEntry e[1];
         uint32_t n = 0;
         return vomtelWaitingCallTimePeriod(g, 0, 10, t, &n, e);
       }},
      {"vomtelWaitingCallListOfQue", [](int g, const char* t, const UserDataBlock*) {
         WaitingCallEntry e[1];
         uint32_t n = 0;
         return vomtelWaitingCallListOfQue(g, 0, t, &n, e);
       }},
      {"vomtelMaxCallLoadAgent", [](int g, const char* t, const UserDataBlock*) {
         CallLoadEntry e[1];
         uint32_t n = 0;
         return vomtelMaxCallLoadAgent(g, 0, t, &n, e);
       }},
      {"vomtelIVRRegisterCall", [](int g, const char* t, const UserDataBlock* b) {
         return vomtelIVRRegisterCall(g, 0, 1, 9, t, t, b, 2);
       }},
      {"vomtelIVRReleaseCall", [](int g, const char* t, const UserDataBlock*) {
         return vomtelIVRReleaseCall(g, 0, 1, 9, t, t);
       }},
      {"vomtelIVRAllowRouting", [](int g, const char* t, const UserDataBlock*) {
         return vomtelIVRAllowRouting(g, 0, 1, 9, t, 1);
       }},
      {"vomtelIVRNumberOfWait", [](int g, const char* t, const UserDataBlock*) {
         int n = 0;
         return vomtelIVRNumberOfWait(g, 0, 1, 9, t, &n);
       }},
      {"vomtelSQLQuery", [](int g, const char* t, const UserDataBlock* b) {
         UserDataBlock r{};
         int rows = 0;
         return vomtelSQLQuery(g, 0, t, 1, ',', b, &rows, &r);
       }},
      {"vomtelSQLExecute", [](int g, const char* t, const UserDataBlock* b) {
         return vomtelSQLExecute(g, 0, t, b);
       }},
      {"vomtelPutTraceInfo", [](int g, const char* t, const UserDataBlock* b) {
         return vomtelPutTraceInfo(g, 0, 1, 2, t, t, t, t, t, t, 7, t, b);
       }},
      {"vomtelPutCounselInfo", [](int g, const char* t, const UserDataBlock* b) {
         return vomtelPutCounselInfo(g, 0, t, 1, t, b);
       }},
      {"vomtelStartSystemPreview", [](int g, const char* t, const UserDataBlock*) {
         return vomtelStartSystemPreview(g, 0, 1, 2, t);
       }},
      {"vomtelStopSystemPreview", [](int g, const char* t, const UserDataBlock*) {
         return vomtelStopSystemPreview(g, 0, 1, 2, t);
       }},
      {"vomtelSysPreviewState", [](int g, const char* t, const UserDataBlock*) {
         return vomtelSysPreviewState(g, 0, 1, 2, t, 0);
       }},
      {"vomtelPreviewMakeCall", [](int g, const char* t, const UserDataBlock*) {
         return vomtelPreviewMakeCall(g, 0, 1, 2, 3, t, 4);
       }},
  };
  const UserDataBlock empty = Block("");
  auto shapes = [](const std::vector<Request>& sent) {
    std::vector<std::string> out;
    for (const Request& r : sent) out.push_back(std::string{char(r.cls), char(r.code)} + Fields(r));
    return out;
  };
  for (const auto& [name, call] : rows) {
    int fromNull = 0;
    int fromEmpty = 0;
    const auto nulls = shapes(SentBy([&] { fromNull = call(gate_, nullptr, nullptr); }));
    const auto empties = shapes(SentBy([&] { fromEmpty = call(gate_, "", &empty); }));
    EXPECT_FALSE(nulls.empty()) << name << ": nothing went out";
    EXPECT_EQ(nulls, empties) << name;
    EXPECT_EQ(fromNull, fromEmpty) << name;
  }
}

// ---- Nulls the black-box table leaves out -------------------------------------------------

TEST_F(BadInputTest, EveryRequiredPointerOfTheRestIsCheckedBeforeAnythingIsSent) {
  const ConnectionId call = Call();
  char name[31];
  int i = 0;
  uint32_t n = 0;
  std::vector<std::uint8_t> any(4096);
  void* e = any.data();
  UserDataBlock block = Block("");
  ASSERT_EQ(gate_, 0) << "vomtelGetUEIData works on gate 0";
  const std::pair<const char*, std::function<int()>> rows[] = {
      {"vomtelTransferCall held",
       [&] { return vomtelTransferCall(gate_, 0, nullptr, &call, nullptr, nullptr, nullptr); }},
      {"vomtelAlternateCall active",
       [&] { return vomtelAlternateCall(gate_, 0, &call, nullptr, nullptr); }},
      {"vomtelReconnectCall held",
       [&] { return vomtelReconnectCall(gate_, 0, nullptr, &call, nullptr); }},
      {"vomtelConferenceCall active",
       [&] { return vomtelConferenceCall(gate_, 0, &call, nullptr, nullptr, nullptr, nullptr); }},
      {"vomtelAgentReadyGet count",
       [&] {
         return vomtelAgentReadyGet(gate_, 0, 1, 2, 3, static_cast<AgentReadyEntry*>(e), nullptr);
       }},
      {"vomtelAgentReadyGetII count",
       [&] {
         return vomtelAgentReadyGetII(gate_, 0, 1, 2, 3, static_cast<AgentReadyExEntry*>(e),
                                      nullptr);
       }},
      {"vomtelAgentReadyGetEx entries",
       [&] { return vomtelAgentReadyGetEx(gate_, 0, 1, 2, 3, nullptr, &n); }},
      {"vomtelAgentBusyGet count",
       [&] {
         return vomtelAgentBusyGet(gate_, 0, 1, 2, 3, static_cast<AgentReadyEntry*>(e), nullptr);
       }},
      {"vomtelAgentBusyGetII entries",
       [&] { return vomtelAgentBusyGetII(gate_, 0, 0, 1, 2, 3, nullptr, &n); }},
      {"vomtelAgentStatusGet entries",
       [&] { return vomtelAgentStatusGet(gate_, 0, 1, 2, 3, 4, nullptr, &n, 0); }},
      {"vomtelAgentSkillGet count",
       [&] {
         return vomtelAgentSkillGet(gate_, 0, 1, 2, static_cast<SkillAgentEntry*>(e), nullptr);
       }},
      {"vomtelAgentGetBySkill entries",
       [&] { return vomtelAgentGetBySkill(gate_, 0, 1, 2, 3, 4, &n, nullptr); }},
      {"vomtelQueryAgentStatusEx name",
       [&] {
         return vomtelQueryAgentStatusEx(gate_, 0, "a", 1, nullptr, &i, &i, &i, &i, &i, 0, 0, 0);
       }},
      {"vomtelQueryAgentStatusEx mode",
       [&] {
         return vomtelQueryAgentStatusEx(gate_, 0, "a", 1, name, nullptr, &i, &i, &i, &i, 0, 0, 0);
       }},
      {"vomtelQueryAgentStatusEx blendMode",
       [&] {
         return vomtelQueryAgentStatusEx(gate_, 0, "a", 1, name, &i, &i, nullptr, &i, &i, 0, 0, 0);
       }},
      {"vomtelQueryAgentStatusEx blockMode",
       [&] {
         return vomtelQueryAgentStatusEx(gate_, 0, "a", 1, name, &i, &i, &i, nullptr, &i, 0, 0, 0);
       }},
      {"vomtelQueryAgentStatusEx time",
       [&] {
         return vomtelQueryAgentStatusEx(gate_, 0, "a", 1, name, &i, &i, &i, &i, nullptr, 0, 0, 0);
       }},
      {"vomtelMultiAgentGet count",
       [&] {
         return vomtelMultiAgentGet(gate_, 0, "", "", static_cast<MultiAgentEntry*>(e), nullptr);
       }},
      {"vomtelGetSkillMaster entries",
       [&] { return vomtelGetSkillMaster(gate_, 0, 1, nullptr, &n); }},
      {"vomtelGetAgent count",
       [&] {
         return vomtelGetAgent(gate_, 0, "", "", "", "", "", "", "", static_cast<AgentExEntry*>(e),
                               nullptr, "");
       }},
      {"vomtelGetAgentEx entries",
       [&] {
         return vomtelGetAgentEx(gate_, 0, "", "", "", "", "", "", "", "", nullptr, name, &n, "");
       }},
      {"vomtelGetAgentEx count",
       [&] {
         return vomtelGetAgentEx(gate_, 0, "", "", "", "", "", "", "", "",
                                 static_cast<AgentExEntry*>(e), name, nullptr, "");
       }},
      {"vomtelWaitTimeGet first", [&] { return vomtelWaitTimeGet(gate_, 0, 1, "q", nullptr, &i); }},
      {"vomtelWaitingCallTimePeriod count",
       [&] {
         return vomtelWaitingCallTimePeriod(gate_, 0, 1, "q", nullptr,
                                            static_cast<WaitingPeriodEntry*>(e));
       }},
      {"vomtelWaitingCallListOfQue count",
       [&] {
         return vomtelWaitingCallListOfQue(gate_, 0, "q", nullptr,
                                           static_cast<WaitingCallEntry*>(e));
       }},
      {"vomtelMaxCallLoadAgent entries",
       [&] { return vomtelMaxCallLoadAgent(gate_, 0, "e", &n, nullptr); }},
      {"vomtelGetUEIData ci", [&] { return vomtelGetUEIData(gate_, 0, 1, 1, &block, nullptr); }},
      {"vomtelCallbackCampaign count",
       [&] {
         return vomtelCallbackCampaign(gate_, 0, 1, nullptr,
                                       static_cast<CallbackCampaignEntry*>(e));
       }},
  };
  for (const auto& [what, call] : rows) ExpectRefused(what, VOMTEL_NULL_ARGUMENT, call);

  // The open with a null gate pointer opens all the same (the next number, not written).
  DeviceRecord device{};
  device.HeaderByte = 0x30;
  std::strcpy(device.Device, "3002");
  EXPECT_EQ(vomtelOpenServer(nullptr, 0, &device, server_.Address().c_str(), server_.Port(), "",
                             "badin", 0, 0),
            VOMTEL_OK);
  EXPECT_EQ(vomtelMonitorStart(gate_ + 1, 0), VOMTEL_OK);
  EXPECT_EQ(vomtelCloseServer(gate_ + 1, 0), VOMTEL_OK);
}

// ---- Gates that do not exist and opens that cannot be made ---------------------------------

// Gate numbers that no open made, however large or negative: no session (3007), nothing sent on
// the open gate; the close is a no-op, the version 0 and the event poll's kind 999.
TEST_F(BadInputTest, GateNumbersWithoutAGateSendNothing) {
  const ConnectionId call = Call();
  DeviceRecord device{};
  std::strcpy(device.Device, "3001");
  const UserDataBlock statement = Block("delete x");
  for (int gate : {-1, INT_MIN, INT_MAX, 65536, 256}) {
    const std::string at = " gate " + std::to_string(gate);
    const std::pair<const char*, std::function<int()>> rows[] = {
        {"vomtelMonitorStart", [&] { return vomtelMonitorStart(gate, 0); }},
        {"vomtelMonitorStop", [&] { return vomtelMonitorStop(gate, 0); }},
        {"vomtelAddDevice", [&] { return vomtelAddDevice(gate, 0, &device); }},
        {"vomtelMakeCall",
         [&] {
           return vomtelMakeCall(gate, 0, "1", "2", "", "", "", nullptr, nullptr, nullptr, nullptr);
         }},
        {"vomtelAnswerCall", [&] { return vomtelAnswerCall(gate, 0, &call, nullptr); }},
        {"vomtelSetAgentFlag", [&] { return vomtelSetAgentFlag(gate, 0, "a", 1); }},
        {"vomtelSQLExecute", [&] { return vomtelSQLExecute(gate, 0, "3001", &statement); }},
        {"vomtelIVRReleaseCall", [&] { return vomtelIVRReleaseCall(gate, 0, 1, 2, "", ""); }},
        {"vomtelPutCounselInfo", [&] { return vomtelPutCounselInfo(gate, 0, "", 1, "", nullptr); }},
        {"vomtelBlackListInsertResult",
         [&] { return vomtelBlackListInsertResult(gate, 3, 0, 1); }},
    };
    for (const auto& [name, row] : rows) ExpectRefused(name + at, VOMTEL_NO_SESSION, row);
    ExpectRefused("vomtelCloseServer" + at, VOMTEL_OK, [&] { return vomtelCloseServer(gate, 0); });
    int version = -1;
    EXPECT_EQ(vomtelGetOrbaVersion(gate, &version), VOMTEL_OK) << at;
    EXPECT_EQ(version, 0) << at;
    EventData event{};
    EXPECT_EQ(vomtelGetEvent(gate, &event, 0), VOMTEL_OK) << at;
    EXPECT_EQ(event.EventKind, 999) << at;
  }
}

// An open whose application name does not fit its str8, or whose server name is null (the
// empty text), connects to nothing: 3014, and the gate number it wrote is free again.
TEST_F(BadInputTest, OpensThatCannotBeMadeSendNothingAndLeaveNoGate) {
  DeviceRecord device{};
  device.HeaderByte = 0x30;
  std::strcpy(device.Device, "3002");
  const std::string longName(256, 'a');
  const int accepted = server_.AcceptedConnections();
  int first = -1;
  ExpectRefused("application of 256 bytes", VOMTEL_NOT_CONNECTED, [&] {
    return vomtelOpenServer(&first, 0, &device, server_.Address().c_str(), server_.Port(), "",
                            longName.c_str(), 0, 0);
  });
  EXPECT_EQ(server_.AcceptedConnections(), accepted);
  int second = -1;
  ExpectRefused("null server name", VOMTEL_NOT_CONNECTED, [&] {
    return vomtelOpenServer(&second, 0, &device, nullptr, server_.Port(), "", "badin", 0, 0);
  });
  EXPECT_EQ(second, first);  // the failed open's number was free again
  EXPECT_EQ(vomtelMonitorStart(second, 0), VOMTEL_NO_SESSION);
}

// The log settings with no gate being opened: any level is taken (1), a null, empty or huge
// folder sets nothing (0); nothing is sent.
TEST_F(BadInputTest, LogSettingsTakeAnyLevelAndFolder) {
  const std::string huge(100000, 'f');
  const std::pair<int, std::function<int()>> rows[] = {
      {VOMTEL_OK, [] { return vomtelSetLogLevel(INT_MIN); }},
      {VOMTEL_OK, [] { return vomtelSetLogLevel(INT_MAX); }},
      {0, [] { return vomtelSetLogPath(nullptr); }},
      {0, [&] { return vomtelSetLogPath(huge.c_str()); }},
      {0, [] { return vomtelSetIni(INT_MAX, nullptr); }},
      {0, [&] { return vomtelSetIni(INT_MIN, huge.c_str()); }},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    ExpectRefused("row " + std::to_string(i), rows[i].first, rows[i].second);
  }
}

// ---- The entry points that do nothing ------------------------------------------------------

// Every pointer unreadable, every number extreme: they read nothing and send nothing.
TEST_F(BadInputTest, EntryPointsThatDoNothingReadNoArgument) {
  void* p = const_cast<void*>(Unreadable());
  const char* t = UnreadableText();
  const int m = INT_MIN;
  const int M = INT_MAX;
  const auto* device = static_cast<const DeviceRecord*>(Unreadable());
  const std::pair<int, std::function<int()>> rows[] = {
      {1, [&] { return vomtelSendMsg(gate_, M, m, M, m, M); }},
      {1, [&] { return vomtelSetPbxID(gate_, M, m); }},
      {1, [&] { return vomtelAgentBusyGetValue(gate_, M, m, M, m, p, p); }},
      {1, [&] { return vomtelAgentReadyGetValue(gate_, M, m, M, m, p, p); }},
      {2018,
       [&] {
         return vomtelOpenServerP(static_cast<int*>(p), M, t, m, t, t, device, t, M, t, t, m, M);
       }},
      {2018, [&] { return vomtelOneStepTransfer(gate_, M, p, p, p, p, p, p, p); }},
      {2018, [&] { return vomtelGetPartMaster(gate_, M, m, M, m, M, m, p, p); }},
      {2018, [&] { return vomtelQueryAgentStatus(gate_, M, p, m, p, p, p); }},
      {2018, [&] { return vomtelAgentReadyGetExu(gate_, M, m, M, m, p, p); }},
      {2018, [&] { return vomtelGetTenantMaster(gate_, M, m, M, m, p, p); }},
      {2018, [&] { return vomtelCallbackListInsertResult(gate_, M, m, M, m, M, m); }},
      {2018, [&] { return vomtelCurrentDN(gate_, M, p); }},
      {2018, [&] { return vomtelEventNotify(gate_, M, p); }},
      {2018, [&] { return vomtelGetEventPoll(gate_, p, M); }},
      {2018, [&] { return vomtelSetCounselResult(gate_, M, p); }},
      {2018, [&] { return vomtelCreateCampaign(gate_, M, p, p); }},
      {2018, [&] { return vomtelErrMsg(gate_, M, m, p); }},
      {2018, [&] { return vomtelPreviewMakeCallResult(gate_, M, m, M); }},
      {2018, [&] { return vomtelSendPopup(gate_, M, t, p); }},
      {2018, [&] { return vomtelSetCounselResultResult(gate_, M, m, M); }},
      {2018, [&] { return vomtelCreateCampaignResult(gate_, M, m, M, m); }},
      {2018, [&] { return vomtelQueryAgentStatusExIII(gate_, M, p, m, p); }},
      {2018, [&] { return vomtelSendData(gate_, M, m, p, M); }},
      {2018, [&] { return vomtelAgentReadyGetW(gate_, M, m, M, m, p, p, M); }},
      {2018, [&] { return vomtelGetGroupMaster(gate_, M, m, M, m, M, p, p); }},
      {2018, [&] { return vomtelSendWebChatMsg(gate_, M, p, p, p, p, m, M); }},
      {2018, [&] { return vomtelAgentBusyGetValueII(gate_, M, m, M, m, M, p, p); }},
      {2018, [&] { return vomtelAgentReadyGetValueII(gate_, M, m, M, m, M, p, p); }},
      {2018, [&] { return vomtelAgentStatusGetII(gate_, M, m, M, M, m, M, p, p, m); }},
      {2018, [&] { return vomtelGetAgentMaster(gate_, M, m, M, m, M, m, M, p, p); }},
      {2018, [&] { return vomtelGetEmployeeMaster(gate_, M, m, M, m, M, m, M, p, p); }},
      {2018, [&] { return vomtelNotifyRecord(gate_, M, m, t, M, t); }},
      {2018, [&] { return vomtelPutTraceInfoEx(gate_, M, m, M, p, p, p, p, p, p, m, p, p); }},
  };
  std::vector<int> got;
  const std::vector<Request> sent = SentBy([&] {
    for (const auto& row : rows) got.push_back(row.second());
  });
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], rows[i].first) << "row " << i;
  EXPECT_TRUE(sent.empty());
}

// ---- Records whose texts have no NUL ------------------------------------------------------

// A text field of a record: where it is, and how many of its bytes must go out (0: none).
struct TextField {
  std::size_t offset;
  std::size_t size;
  std::size_t sent;
  std::size_t prefix = 1;  // the length before it: str8 (1) or str16 (2)
};

// Fills every text field with its own byte (none of them 0, none used elsewhere in the
// record) and returns the byte of each field.
std::vector<char> FillTexts(void* record, const std::vector<TextField>& fields) {
  std::vector<char> marks;
  auto* bytes = static_cast<std::uint8_t*>(record);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const char mark = static_cast<char>('A' + i);
    std::memset(bytes + fields[i].offset, mark, fields[i].size);
    marks.push_back(mark);
  }
  return marks;
}

// Every field's bytes went out once, whole, behind their length, and nothing of any field more.
void ExpectFieldsSent(const std::string& what, const Request& request,
                      const std::vector<TextField>& fields, const std::vector<char>& marks) {
  const std::string body = Fields(request);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto count = static_cast<std::size_t>(std::count(body.begin(), body.end(), marks[i]));
    EXPECT_EQ(count, fields[i].sent) << what << ": field at offset " << fields[i].offset;
    if (fields[i].sent == 0 || count == 0) continue;
    const std::size_t at = body.find(marks[i]);
    EXPECT_EQ(body.substr(at, fields[i].sent), std::string(fields[i].sent, marks[i]))
        << what << ": field at offset " << fields[i].offset << " is not one piece";
    std::size_t length = 0;
    for (std::size_t k = fields[i].prefix; k > 0; --k) {
      length = length << 8 | static_cast<std::uint8_t>(at >= k ? body[at - k] : 0);
    }
    EXPECT_EQ(length, fields[i].sent)
        << what << ": length of the field at offset " << fields[i].offset;
  }
}

std::vector<TextField> CallbackTexts() {
  std::vector<TextField> f = {{offsetof(CallbackRecord, CustKey), 30, 30},
                              {offsetof(CallbackRecord, CustName), 20, 20},
                              {offsetof(CallbackRecord, CustKey2), 30, 30},
                              {offsetof(CallbackRecord, CustKey3), 30, 30}};
  for (std::size_t i = 0; i < 7; ++i)
    f.push_back({offsetof(CallbackRecord, CustChar) + 20 * i, 20, 20});
  for (std::size_t i = 0; i < 5; ++i)
    f.push_back({offsetof(CallbackRecord, TelNo) + 20 * i, 20, 20});
  f.push_back({offsetof(CallbackRecord, TkData), 1024, 1024, 2});
  f.push_back({offsetof(CallbackRecord, MailAdd), 100, 100});
  f.push_back({offsetof(CallbackRecord, SmsPhone), 18, 18});
  f.push_back({offsetof(CallbackRecord, ReCallTime), 20, 20});
  f.push_back({offsetof(CallbackRecord, RecallTelNo), 20, 20});
  f.push_back({offsetof(CallbackRecord, EmployeeId), 32, 32});
  return f;
}

TEST_F(BadInputTest, CallbackRecordsAreReadToTheirFieldsOnly) {
  CallbackRecordEx ex{};
  ex.Record.CmId = 1;
  ex.Record.CmSq = 2;
  std::vector<TextField> fields = CallbackTexts();
  fields.push_back({offsetof(CallbackRecordEx, ExtraText), 256, 0});  // read, never sent
  const std::vector<char> marks = FillTexts(&ex, fields);
  CallbackResult result{};

  // The plain record: its last eight bytes (not read) lie on the unreadable page.
  {
    Fenced<CallbackRecord> record(ex.Record, offsetof(CallbackRecord, reserved1592));
    record.Poison(0, offsetof(CallbackRecord, CmId));
    const std::vector<TextField> plain(fields.begin(), fields.end() - 1);
    auto sent = ExpectSent("vomtelCallbackListInsert", kService, 0xC9, [&] {
      return vomtelCallbackListInsert(gate_, 0, 44, record.get(), &result);
    });
    ExpectFieldsSent("vomtelCallbackListInsert", sent.second, plain,
                     std::vector<char>(marks.begin(), marks.end() - 1));
  }
  // The extended record: its extra text is read to 255 bytes at most, and not sent.
  {
    Fenced<CallbackRecordEx> record(ex);
    record.Poison(0, offsetof(CallbackRecord, CmId));
    record.Poison(offsetof(CallbackRecordEx, Record.reserved1592), 8);
    record.Poison(offsetof(CallbackRecordEx, ExtraText) + 255, 1);
    auto sent = ExpectSent("vomtelCallbackListInsertEx", kService, 0xC9, [&] {
      return vomtelCallbackListInsertEx(gate_, 0, 44, record.get(), &result);
    });
    ExpectFieldsSent("vomtelCallbackListInsertEx", sent.second, fields, marks);
  }
}

TEST_F(BadInputTest, BlackListAndCallingListRecordsAreReadToTheirFieldsOnly) {
  BlackListRecord customer{};
  const std::vector<TextField> texts = {{offsetof(BlackListRecord, CustKey), 31, 31},
                                        {offsetof(BlackListRecord, CustName), 31, 31},
                                        {offsetof(BlackListRecord, CustDate), 21, 21},
                                        {offsetof(BlackListRecord, CustTel), 21, 21},
                                        {offsetof(BlackListRecord, EmployeeId), 32, 32}};
  const std::vector<char> marks = FillTexts(&customer, texts);
  Fenced<BlackListRecord> record(customer);
  record.Poison(0, offsetof(BlackListRecord, CustKey));  // not read
  auto sent = ExpectSent("vomtelBlackListInsert", kService, 0xF7,
                         [&] { return vomtelBlackListInsert(gate_, 0, 5, record.get()); });
  ExpectFieldsSent("vomtelBlackListInsert", sent.second, texts, marks);

  // A 256-byte file name without a NUL does not fit its str8: refused; 255 bytes go out.
  CampaignListHandleRecord handle{};
  handle.ListCount = 0x01020304;
  std::memset(handle.FileName, 'F', sizeof handle.FileName);
  {
    Fenced<CampaignListHandleRecord> fenced(handle);
    fenced.Poison(0, offsetof(CampaignListHandleRecord, CiodId));
    ExpectRefused("vomtelSetCampaignListHandle, 256-byte name", VOMTEL_TEXT_TOO_LONG,
                  [&] { return vomtelSetCampaignListHandle(gate_, 0, fenced.get()); });
  }
  handle.FileName[255] = '\0';
  Fenced<CampaignListHandleRecord> fenced(handle);
  fenced.Poison(0, offsetof(CampaignListHandleRecord, CiodId));
  auto listSent = ExpectSent("vomtelSetCampaignListHandle", kService, 0xF5,
                             [&] { return vomtelSetCampaignListHandle(gate_, 0, fenced.get()); });
  ExpectFieldsSent("vomtelSetCampaignListHandle", listSent.second,
                   {{offsetof(CampaignListHandleRecord, FileName), 256, 255}}, {'F'});
}

TEST_F(BadInputTest, CampaignRecordsAreReadToTheirFieldsOnly) {
  CampaignRecord campaign{};
  campaign.ScheduleCnt = 4;
  campaign.SkillCnt = 5;
  std::vector<TextField> texts;
  auto add = [&](std::size_t offset, std::size_t size) {
    texts.push_back({offset, size, std::min<std::size_t>(size, 255)});
  };
  add(offsetof(CampaignRecord, CampaignName), 31);
  add(offsetof(CampaignRecord, CampaignDesc), 257);
  add(offsetof(CampaignRecord, CampListQuery), 256);
  add(offsetof(CampaignRecord, CampListFile), 104);
  add(offsetof(CampaignRecord, CampPhoneOrder), 12);
  add(offsetof(CampaignRecord, CampTaCode), 10);
  add(offsetof(CampaignRecord, CampDddNum), 6);
  add(offsetof(CampaignRecord, CampCrTm), 20);
  add(offsetof(CampaignRecord, CampCrIp), 20);
  add(offsetof(CampaignRecord, CampUpTm), 20);
  add(offsetof(CampaignRecord, CampUpIp), 18);
  add(offsetof(CampaignRecord, CampSpTel), 16);
  add(offsetof(CampaignRecord, CampObse), 26);
  for (std::size_t i = 0; i < 5; ++i) add(offsetof(CampaignRecord, RedialStrategy) + 101 * i, 101);
  add(offsetof(CampaignRecord, StartData), 9);
  add(offsetof(CampaignRecord, EndData), 9);
  for (std::size_t i = 0; i < 4; ++i) add(offsetof(CampaignRecord, StartTime) + 5 * i, 5);
  for (std::size_t i = 0; i < 4; ++i) add(offsetof(CampaignRecord, EndTime) + 5 * i, 5);
  add(offsetof(CampaignRecord, UserOption), 202);
  add(offsetof(CampaignRecord, CampAni), 23);  // the last field: the unreadable page follows
  const std::vector<char> marks = FillTexts(&campaign, texts);
  uint32_t id = 0;

  // Every field full: the description and the list query do not fit their str8.
  {
    Fenced<CampaignRecord> record(campaign);
    ExpectRefused("vomtelCreateCampaignEx, full fields", VOMTEL_TEXT_TOO_LONG,
                  [&] { return vomtelCreateCampaignEx(gate_, 0, &id, record.get()); });
  }
  campaign.CampaignDesc[255] = '\0';
  campaign.CampListQuery[255] = '\0';
  Fenced<CampaignRecord> record(campaign);
  auto sent = ExpectSent("vomtelCreateCampaignEx", kService, 0xFA,
                         [&] { return vomtelCreateCampaignEx(gate_, 0, &id, record.get()); });
  ExpectFieldsSent("vomtelCreateCampaignEx", sent.second, texts, marks);
}

// Connection ids and device records end on the unreadable page with a full device number;
// private data and reserved arguments point at it (never read).
TEST_F(BadInputTest, CallsAndDevicesAreReadToTheirFieldsOnly) {
  ConnectionId heldCall{};
  heldCall.CallId = 7;
  std::memset(heldCall.Device, 'H', sizeof heldCall.Device);
  ConnectionId activeCall{};
  activeCall.CallId = 8;
  std::memset(activeCall.Device, 'A', sizeof activeCall.Device);
  Fenced<ConnectionId> held(heldCall);
  Fenced<ConnectionId> active(activeCall);
  const ConnectionId* h = held.get();
  const ConnectionId* a = active.get();
  const void* x = Unreadable();
  const std::vector<TextField> one = {{offsetof(ConnectionId, Device), 28, 28}};
  const std::vector<TextField> two = {{offsetof(ConnectionId, Device), 28, 28},
                                      {offsetof(ConnectionId, Device), 28, 28}};
  const struct {
    const char* name;
    std::uint8_t code;
    bool both;
    std::function<int()> call;
  } rows[] = {
      {"vomtelAnswerCall", 0x14, false, [&] { return vomtelAnswerCall(gate_, 0, h, NoPriv()); }},
      {"vomtelClearConnection", 0x28, false,
       [&] { return vomtelClearConnection(gate_, 0, h, NoPriv()); }},
      {"vomtelHoldCall", 0x5A, false, [&] { return vomtelHoldCall(gate_, 0, h, 0, NoPriv()); }},
      {"vomtelRetrieveCall", 0x78, false,
       [&] { return vomtelRetrieveCall(gate_, 0, h, NoPriv()); }},
      {"vomtelAlternateCall", 0x0A, true,
       [&] { return vomtelAlternateCall(gate_, 0, h, a, NoPriv()); }},
      {"vomtelReconnectCall", 0x6E, true,
       [&] { return vomtelReconnectCall(gate_, 0, h, a, NoPriv()); }},
      {"vomtelConferenceCall", 0x32, true,
       [&] { return vomtelConferenceCall(gate_, 0, h, a, x, x, x); }},
      {"vomtelTransferCall", 0x82, true,
       [&] { return vomtelTransferCall(gate_, 0, h, a, x, x, x); }},
      {"vomtelConsultationCall", 0x3C, false,
       [&] {
         return vomtelConsultationCall(gate_, 0, h, "3002", x, "", "", "", x, nullptr, nullptr,
                                       NoPriv());
       }},
      {"vomtelSingleStepTransfer", 0xAC, false,
       [&] {
         return vomtelSingleStepTransfer(gate_, 0, h, "3002", 1, x, "", x, x, nullptr, nullptr);
       }},
      {"vomtelOneStepConference", 0x3C, false,
       [&] {
         return vomtelOneStepConference(gate_, 0, h, "3002", x, "", x, nullptr, nullptr, NoPriv());
       }},
      {"vomtelDivertDeflect", 0x51, false,
       [&] { return vomtelDivertDeflect(gate_, 0, h, "3009", "", nullptr, nullptr, NoPriv()); }},
      {"vomtelDivertDirect", 0x53, false,
       [&] { return vomtelDivertDirect(gate_, 0, h, "3009", "", nullptr, nullptr, NoPriv()); }},
      {"vomtelSendDTMF", 0xA0, false, [&] { return vomtelSendDTMF(gate_, 0, h, "1", 1, 1); }},
  };
  for (const auto& row : rows) {
    auto sent = ExpectSent(row.name, kCall, row.code, row.call);
    if (row.both) {
      ExpectFieldsSent(row.name, sent.second, two, {'H', 'A'});
    } else {
      ExpectFieldsSent(row.name, sent.second, one, {'H'});
    }
  }

  // Device records: the add and the open send the full 24-byte number.
  DeviceRecord device{};
  device.HeaderByte = 0x30;
  device.LinkMode = 4;
  std::memset(device.Device, 'D', sizeof device.Device);
  Fenced<DeviceRecord> fenced(device);
  auto added = ExpectSent("vomtelAddDevice", kService, 0x0A,
                          [&] { return vomtelAddDevice(gate_, 0, fenced.get()); });
  ExpectFieldsSent("vomtelAddDevice", added.second, {{offsetof(DeviceRecord, Device), 24, 24}},
                   {'D'});
  int second = -1;
  auto opened = ExpectSent("vomtelOpenServer", kService, 0x46, [&] {
    return vomtelOpenServer(&second, 0, fenced.get(), server_.Address().c_str(), server_.Port(),
                            UnreadableText(), "badin", 0, 0);
  });
  EXPECT_EQ(opened.first, VOMTEL_OK);
  EXPECT_EQ(ctisim::DecodeOpenBody(opened.second.body).dn, std::string(24, 'D'));
  vomtelCloseServer(second, 0);
}

// Blocks full to their last byte, their length field wrong: the text is read to the end of the
// block. Where the operation has a limit it is refused; otherwise the 1,028 bytes go out.
TEST_F(BadInputTest, DataBlocksAreReadToTheirTextOnly) {
  UserDataBlock full{};
  full.Length = INT_MAX;
  std::memset(full.Text, 'U', sizeof full.Text);
  Fenced<UserDataBlock> fenced(full);
  fenced.Poison(0, sizeof full.Length);  // never read
  const UserDataBlock* b = fenced.get();
  const ConnectionId call = Call();
  const int id = 9;
  const std::pair<const char*, std::function<int()>> refused[] = {
      {"vomtelMakeCall UEI",
       [&] {
         return vomtelMakeCall(gate_, 0, "1", "2", "", "", "", nullptr, b, nullptr, NoPriv());
       }},
      {"vomtelDivertDeflect CI",
       [&] { return vomtelDivertDeflect(gate_, 0, &call, "3", "", nullptr, b, NoPriv()); }},
      {"vomtelPwdConfirm", [&] { return vomtelPwdConfirm(gate_, 0, 1, 1, b); }},
      {"vomtelSetUEIData", [&] { return vomtelSetUEIData(gate_, 0, 1, &id, b); }},
      {"vomtelGetAgentCount",
       [&] {
         uint32_t n = 0;
         return vomtelGetAgentCount(gate_, 0, b, 1, 1, &n);
       }},
      {"vomtelIVRRegisterCall",
       [&] { return vomtelIVRRegisterCall(gate_, 0, 1, 2, "", "", b, 3); }},
      {"vomtelPutTraceInfo",
       [&] { return vomtelPutTraceInfo(gate_, 0, 1, 2, "", "", "", "", "", "", 7, "", b); }},
      {"vomtelPutCounselInfo", [&] { return vomtelPutCounselInfo(gate_, 0, "", 1, "", b); }},
  };
  for (const auto& [name, row] : refused) ExpectRefused(name, VOMTEL_TEXT_TOO_LONG, row);

  const std::vector<TextField> text = {{offsetof(UserDataBlock, Text), 1028, 1028, 2}};
  const struct {
    const char* name;
    std::uint8_t code;
    std::function<int()> call;
  } sent[] = {
      {"vomtelUserExInfoData", 0x78, [&] { return vomtelUserExInfoData(gate_, 0, 9, b); }},
      {"vomtelSQLQuery", 0x5E,
       [&] {
         int rows = 0;
         UserDataBlock result{};
         return vomtelSQLQuery(gate_, 0, "3001", 1, ',', b, &rows, &result);
       }},
      {"vomtelSQLExecute", 0xA0, [&] { return vomtelSQLExecute(gate_, 0, "3001", b); }},
      {"vomtelCampaignInfo", 0x8C, [&] { return vomtelCampaignInfo(gate_, 0, 9, b); }},
  };
  for (const auto& row : sent) {
    auto got = ExpectSent(row.name, kService, row.code, row.call);
    ExpectFieldsSent(row.name, got.second, text, {'U'});
  }
}

// Texts written into caller memory that ends at the unreadable page: cut to the room, none
// written past it.
TEST_F(BadInputTest, OutputsEndingAtThePageEndAreNotOverrun) {
  ctisim::ReplyRule agent;
  ctisim::Frame reply;
  reply.PutStr8(std::string(200, 'N'))
      .PutU8(203)
      .PutU32(3001)
      .PutU8(1)
      .PutU8(2)
      .PutU16(300)
      .PutU8(0);
  agent.data = reply.Take();
  server_.SetRule(kService, 0x6E, agent);
  ctisim::ReplyRule sql;
  ctisim::Frame rows;
  rows.PutU32(3).PutStr16(std::string(4000, 'r'));
  sql.data = rows.Take();
  server_.SetRule(kService, 0x5E, sql);
  ctisim::ReplyRule directory;
  ctisim::Frame reads;
  reads.PutStr16(std::string(3000, '9')).PutU32(0);
  directory.data = reads.Take();
  server_.SetRule(kService, 0xC7, directory);

  FencedBytes name(31);
  int v[5];
  ASSERT_EQ(vomtelQueryAgentStatusEx(gate_, 0, "a", 1, reinterpret_cast<char*>(name.Data()), &v[0],
                                     &v[1], &v[2], &v[3], &v[4], 0, 0, 0),
            VOMTEL_OK);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(name.Data())), std::string(30, 'N'));

  Fenced<UserDataBlock> result(UserDataBlock{});
  const UserDataBlock query = Block("select");
  int count = 0;
  ASSERT_EQ(vomtelSQLQuery(gate_, 0, "3001", 1, ',', &query, &count, result.get()), VOMTEL_OK);
  EXPECT_EQ(result.get()->Length, 1027);

  ctisim::ReplyRule data;
  ctisim::Frame blocks;
  blocks.PutStr16(std::string(3000, 'U')).PutStr16(std::string(2000, 'C'));
  data.data = blocks.Take();
  server_.SetRule(kService, 0xAB, data);
  ASSERT_EQ(gate_, 0) << "vomtelGetUEIData works on gate 0";
  Fenced<UserDataBlock> uei(UserDataBlock{});
  Fenced<UserDataBlock> ci(UserDataBlock{});
  ASSERT_EQ(vomtelGetUEIData(gate_, 0, 1, 9, uei.get(), ci.get()), VOMTEL_OK);
  EXPECT_EQ(uei.get()->Length, 1027);
  EXPECT_EQ(ci.get()->Length, 1027);

  FencedBytes readCount(1025);
  FencedBytes entries(0);
  uint32_t n = 0;
  ASSERT_EQ(vomtelGetAgentEx(gate_, 0, "", "", "", "", "", "", "", "",
                             reinterpret_cast<AgentExEntry*>(entries.Data()),
                             reinterpret_cast<char*>(readCount.Data()), &n, "1"),
            VOMTEL_OK);
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(std::strlen(reinterpret_cast<char*>(readCount.Data())), 1024u);
}

}  // namespace
