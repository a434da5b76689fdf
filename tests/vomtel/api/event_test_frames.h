// Valid event frames of every family with the record each one decodes to, shared by the
// decoder tables and the truncation property.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/ctisim/frame.h"
#include "vomtel/api/event_record.h"
#include "vomtel/core/stream.h"

namespace vomtel::test {

using ctisim::Frame;
using FrameBytes = ctisim::Bytes;

// The head of every test frame: each value distinct, so a field read from the wrong byte
// shows.
inline const ctisim::EventHead kTestHead = {0x41, 0,   0,      2026,       12,         10, 9, 8,
                                            7,    654, 0xEEEE, 0xDDDDDDDD, 0xCCCCCCCC, 3,  4, 5};

// An event frame: the test head with `code`, then `body`.
inline FrameBytes Event(std::uint8_t code, const Frame& body) {
  return ctisim::EventFrame(code, body.bytes(), kTestHead);
}

// A received frame holding exactly `bytes`.
inline Stream MakeFrame(const FrameBytes& bytes) { return Stream(bytes.data(), bytes.size()); }

struct EventCase {
  const char* name;
  std::uint8_t version;  // header byte of the session the frame comes from
  FrameBytes frame;
  // The fields beyond the head's (eventId, time stamp, svrid, pbxtype, callkind).
  std::function<void(EventRecord&)> expect;
};

// The record of a frame with the test head and the given code.
inline EventRecord HeadRecord(std::int32_t code) {
  EventRecord r;
  r.eventId = code;
  r.timeStamp = {2026, 12, 10, 9, 8, 7, 654};
  r.svrid = 3;
  r.pbxtype = 4;
  r.callkind = 5;
  return r;
}

// The prefix of every call event body; the ucid only for version 0x50.
inline Frame CallBody(std::uint8_t version) {
  Frame b;
  b.PutStr8("5001").PutU32(77).PutStr8("uu").PutU32(1234).PutU32(3).PutU32(0xFFFFFFF6);
  if (version == 0x50) b.PutStr8("UC-1");
  return b;
}

inline void Other(EventRecord& r, const char* text, std::uint8_t type) {
  r.otherParty = text;
  r.otherPartyType = type;
}
inline void Third(EventRecord& r, const char* text, std::uint8_t type) {
  r.thirdParty = text;
  r.thirdPartyType = type;
}
inline void Called(EventRecord& r, const char* text, std::uint8_t type) {
  r.calledParty = text;
  r.calledPartyType = type;
}
inline void Originating(EventRecord& r, const char* text, std::uint8_t type) {
  r.originatingParty = text;
  r.originatingPartyType = type;
}

inline void ExpectPrefix(EventRecord& r, std::uint8_t version) {
  r.monitorParty = "5001";
  r.monitorID = 77;
  r.UUI = "uu";
  r.callRefId = 1234;
  r.localConnState = 3;
  r.eventCause = 0xFFFFFFF6;
  if (version == 0x50) r.ucid = "UC-1";
}

// A tagged block with number id 256 / sequence 7 / call type 9 / queue -1 / wait 30 as
// numbers (sessions other than 0x28 and 0x50).
inline const FrameBytes kNumberBlock = {0xAA, 0xB0, 0,    0,    1,    0,    0xB1, 0, 7, 0xB2, 9,
                                        0xB5, 0xFF, 0xFF, 0xFF, 0xFF, 0xB6, 0,    0, 0, 30,   0xFF};
inline void ExpectNumberBlock(EventRecord& r) {
  r.cnid = 256;
  r.cnidText = "256";
  r.cnsq = 7;
  r.ctype = 9;
  r.queueDN = 0xFFFFFFFF;
  r.queueDNText = "-1";
  r.queueWait = 30;
}

// The same ids as texts (sessions 0x28 and 0x50), and the user data tags.
inline const FrameBytes kTextBlock = {0xAA, 0xB0, 3,   'N', '-', '1',  0xB5, 2, 'Q', '9', 0xB3,
                                      0,    3,    'u', 'e', 'i', 0xB4, 0,    2, 'c', 'i', 0xFF};
inline void ExpectTextBlock(EventRecord& r) {
  r.cnidText = "N-1";
  r.queueDNText = "Q9";
  r.uei = SizedString("uei");
  r.ci = SizedString("ci");
}

inline std::vector<EventCase> CallEventCases() {
  std::vector<EventCase> cases;
  cases.push_back({"conferenced", 0x28,
                   Event(2, CallBody(0x28)
                                .PutU32(11)
                                .PutU32(12)
                                .PutTaggedStr8(1, "5002")
                                .PutTaggedStr8(2, "5003")
                                .PutStr8("a")
                                .PutStr8("b")
                                .PutStr8("c")
                                .PutBytes(kTextBlock)),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0x28);
                     r.preOldCallRefId = 11;
                     r.secOldCallRefId = 12;
                     Other(r, "5002", 1);
                     Third(r, "5003", 2);
                     r.connectionList1 = "a";
                     r.connectionList2 = "b";
                     r.connectionList3 = "c";
                     ExpectTextBlock(r);
                   }});
  cases.push_back({"connection cleared", 0,
                   Event(3, CallBody(0).PutTaggedStr8(3, "01012345678").PutBytes(kNumberBlock)),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     Other(r, "01012345678", 3);
                     ExpectNumberBlock(r);
                   }});
  // The other party is the monitored device: the third party is the caller.
  cases.push_back({"delivered to the monitored device", 0,
                   Event(4, CallBody(0)
                                .PutTaggedStr8(4, "5001")
                                .PutTaggedStr8(5, "0311112222")
                                .PutTaggedStr8(6, "5001")
                                .PutTaggedStr8(7, "0311112222")
                                .PutU32(1)
                                .PutU32(2)
                                .PutU8(3)
                                .PutU32(4)
                                .PutBytes(kNumberBlock)),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     Other(r, "0311112222", 4);
                     r.otherPartyCause = 5;
                     Called(r, "5001", 6);
                     Originating(r, "0311112222", 7);
                     ExpectNumberBlock(r);
                   }});
  cases.push_back({"delivered elsewhere", 0x50,
                   Event(4, CallBody(0x50)
                                .PutTaggedStr8(4, "5009")
                                .PutTaggedStr8(5, "0311112222")
                                .PutTaggedStr8(6, "5009")
                                .PutTaggedStr8(7, "0311112222")
                                .PutU32(1)
                                .PutU32(2)
                                .PutU8(3)
                                .PutU32(4)
                                .PutBytes(kTextBlock)),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0x50);
                     Other(r, "5009", 4);
                     r.otherPartyCause = 2;
                     Third(r, "0311112222", 5);
                     r.thirdPartyCause = 5;
                     Called(r, "5009", 6);
                     Originating(r, "0311112222", 7);
                     ExpectTextBlock(r);
                   }});
  cases.push_back({"diverted", 0,
                   Event(5, CallBody(0).PutTaggedStr8(1, "5002").PutTaggedStr8(2, "5003").PutBytes(
                                {0xAA, 0xFF})),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     Other(r, "5002", 1);
                     Called(r, "5003", 2);
                   }});
  cases.push_back({"established", 0x50,
                   Event(6, CallBody(0x50)
                                .PutTaggedStr8(1, "5002")
                                .PutTaggedStr8(2, "5003")
                                .PutTaggedStr8(3, "5004")
                                .PutBytes({0xAA, 0xFF})),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0x50);
                     Other(r, "5002", 1);
                     Third(r, "5003", 2);
                     Called(r, "5004", 3);
                   }});
  cases.push_back(
      {"failed", 0,
       Event(
           7,
           CallBody(0).PutTaggedStr8(1, "5002").PutTaggedStr8(0x21, "5003").PutBytes({0xAA, 0xFF})),
       [](EventRecord& r) {
         ExpectPrefix(r, 0);
         Other(r, "5002", 1);
         Called(r, "5003", 0x21);
       }});
  // An empty tagged party: one byte, the body goes on at the next.
  cases.push_back({"held with an empty party", 0,
                   Event(8, CallBody(0).PutU8(0).PutBytes(kNumberBlock)), [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     ExpectNumberBlock(r);
                   }});
  cases.push_back({"network reached", 0,
                   Event(9, CallBody(0).PutTaggedStr8(1, "5002").PutTaggedStr8(2, "5003")),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     Other(r, "5002", 1);
                     Called(r, "5003", 2);
                   }});
  cases.push_back({"originated", 0,
                   Event(10, CallBody(0)
                                 .PutTaggedStr8(1, "5002")
                                 .PutTaggedStr8(2, "5003")
                                 .PutTaggedStr8(3, "5004")
                                 .PutBytes({0xAA, 0xFF})),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     Other(r, "5002", 1);
                     Called(r, "5003", 2);
                     Originating(r, "5004", 3);
                   }});
  cases.push_back({"queued", 0x50,
                   Event(11, CallBody(0x50)
                                 .PutTaggedStr8(1, "5002")
                                 .PutTaggedStr8(2, "5003")
                                 .PutTaggedStr8(3, "5004")
                                 .PutTaggedStr8(4, "5005")
                                 .PutU32(42)
                                 .PutBytes(kTextBlock)),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0x50);
                     Other(r, "5002", 1);
                     Third(r, "5003", 2);
                     Called(r, "5004", 3);
                     Originating(r, "5005", 4);
                     r.queuedCount = 42;
                     ExpectTextBlock(r);
                   }});
  cases.push_back({"retrieved", 0,
                   Event(12, CallBody(0).PutTaggedStr8(1, "5002").PutBytes({0xAA, 0xFF})),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     Other(r, "5002", 1);
                   }});
  cases.push_back({"service initiated", 0x50, Event(13, CallBody(0x50).PutBytes(kTextBlock)),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0x50);
                     ExpectTextBlock(r);
                   }});
  cases.push_back({"transferred away", 0,
                   Event(14, CallBody(0)
                                 .PutU32(11)
                                 .PutU32(12)
                                 .PutTaggedStr8(1, "5002")
                                 .PutTaggedStr8(2, "5003")
                                 .PutStr8("a")
                                 .PutStr8("b")
                                 .PutBytes({0xAA, 0xFF})),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.preOldCallRefId = 11;
                     r.secOldCallRefId = 12;
                     Other(r, "5002", 1);
                     r.otherPartyCause = 1;
                     Third(r, "5003", 2);
                     r.thirdPartyCause = 13;
                     r.connectionList1 = "a";
                     r.connectionList2 = "b";
                   }});
  // The third party is the monitored device: the other party moves there.
  cases.push_back({"transferred to the monitored device", 0,
                   Event(14, CallBody(0)
                                 .PutU32(11)
                                 .PutU32(12)
                                 .PutTaggedStr8(1, "5002")
                                 .PutTaggedStr8(2, "5001")
                                 .PutStr8("a")
                                 .PutStr8("b")
                                 .PutBytes({0xAA, 0xFF})),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.preOldCallRefId = 11;
                     r.secOldCallRefId = 12;
                     Third(r, "5002", 2);
                     r.thirdPartyCause = 1;
                     // Moved in: g++ 12 at -O3 warns falsely on assigning the literal.
                     r.connectionList1 = std::string("a");
                     r.connectionList2 = "b";
                   }});
  return cases;
}

inline std::vector<EventCase> FeatureEventCases() {
  std::vector<EventCase> cases;
  cases.push_back({"do not disturb", 0, Event(102, Frame().PutStr8("5001").PutU32(77).PutU8(1)),
                   [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.monitorID = 77;
                     r.DNDMode = 1;
                   }});
  cases.push_back({"forwarding", 0x28,
                   Event(103, Frame().PutStr8("5001").PutU32(77).PutU8(2).PutStr8("7000")),
                   [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.monitorID = 77;
                     r.forwardType = 2;
                     r.forwardDn = "7000";
                   }});
  cases.push_back({"auto answer", 0, Event(105, Frame().PutStr8("5001").PutU32(77).PutU8(1)),
                   [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.monitorID = 77;
                     r.AutoAnswerMode = 1;
                   }});
  cases.push_back({"microphone mute", 0, Event(106, Frame().PutStr8("5001").PutU32(77).PutU8(1)),
                   [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.monitorID = 77;
                     r.microphoneMuteMode = 1;
                   }});
  cases.push_back({"speaker mute", 0x50, Event(107, Frame().PutStr8("5001").PutU32(77).PutU8(1)),
                   [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.monitorID = 77;
                     r.speakerMuteMode = 1;
                   }});
  return cases;
}

// Agent-state frames: 202 carries three bytes more before the work mode, 203 two.
inline std::vector<EventCase> AgentStateEventCases() {
  std::vector<EventCase> cases;
  static const char* const names[] = {"logged on", "logged off", "not ready",
                                      "ready",     "other work", "after-call work"};
  for (std::uint8_t code = 201; code <= 206; ++code) {
    Frame b;
    b.PutStr8("5001").PutU32(77).PutStr8("A100").PutStr8("G1").PutStr8("X");
    if (code == 202) b.PutU16(0xBBBB).PutU8(0xBB);
    if (code == 203) b.PutU8(0xBB).PutU8(0xBB);
    b.PutU8(6).PutU8(static_cast<std::uint8_t>(code - 200));
    cases.push_back({names[code - 201], code == 203 ? std::uint8_t{0x50} : std::uint8_t{0},
                     Event(code, b), [code](EventRecord& r) {
                       r.monitorParty = "5001";
                       r.monitorID = 77;
                       r.agentId = "A100";
                       r.agentGroup = "G1";
                       r.agentExtra = "X";
                       r.workMode = 6;
                       r.reasoncode = code - 200u;
                       r.agentMode = static_cast<std::uint8_t>(code - 201);
                     }});
  }
  return cases;
}

inline std::vector<EventCase> OtherEventCases() {
  std::vector<EventCase> cases;
  cases.push_back({"250", 0, Event(250, Frame().PutStr8("5001")),
                   [](EventRecord& r) { r.monitorParty = "5001"; }});
  cases.push_back(
      {"251 becomes 998", 0, Event(251, Frame()), [](EventRecord& r) { r.eventId = 998; }});
  // From a session 0 the device comes as the second number.
  cases.push_back({"password confirmation, number", 0,
                   Event(253, Frame().PutU32(9).PutU32(0xFFFFFFFF).PutU32(4).PutStr16("pw")),
                   [](EventRecord& r) {
                     r.monitorParty = "-1";
                     r.reasoncode = 4;
                     r.uei = SizedString("pw");
                   }});
  cases.push_back({"password confirmation, text", 0x28,
                   Event(253, Frame().PutU32(9).PutU32(5).PutStr8("5001").PutU32(4).PutStr16("pw")),
                   [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.reasoncode = 4;
                     r.uei = SizedString("pw");
                   }});
  cases.push_back({"104 has no body", 0, Event(104, Frame().PutU32(1)), [](EventRecord&) {}});
  cases.push_back({"127 has no body", 0, Event(0x7F, Frame().PutU32(1)), [](EventRecord&) {}});
  return cases;
}

inline std::vector<EventCase> PrivateEventCases() {
  std::vector<EventCase> cases;
  cases.push_back({"get max CPSQ", 0,
                   Event(200, Frame().PutU32(100).PutU32(7).PutU16(8).PutU32(9).PutU32(10)),
                   [](EventRecord& r) {
                     r.privateCode = 100;
                     r.privateType = 100;
                     r.maxCpsq = {7, 8, 9, 10};
                   }});
  cases.push_back({"list notice", 0,
                   Event(200, Frame()
                                  .PutU32(101)
                                  .PutU32(1)
                                  .PutU16(2)
                                  .PutU32(3)
                                  .PutStr8("t1")
                                  .PutStr8("t2")
                                  .PutStr8("t3")
                                  .PutStr8("t4")
                                  .PutStr8("t5")),
                   [](EventRecord& r) {
                     r.privateCode = 101;
                     r.privateType = 101;
                     r.listNotice = {1, 2, 3, "t1", "t2", "t3", "t4", "t5"};
                   }});
  cases.push_back({"pop-up", 0x50,
                   Event(200, Frame()
                                  .PutU32(107)
                                  .PutU32(0)
                                  .PutU32(11)
                                  .PutStr8("E7")
                                  .PutU32(12)
                                  .PutU32(13)
                                  .PutStr8("text")
                                  .PutU32(14)
                                  .PutStr16("ueidata")
                                  .PutU32(15)
                                  .PutU32(16)
                                  .PutU32(17)
                                  .PutU32(18)
                                  .PutU32(19)),
                   [](EventRecord& r) {
                     r.privateCode = 107;
                     r.privateType = 107;
                     PopupNotice& p = r.popup;
                     p.custtel = "0";
                     p.popupNumber = 11;
                     p.employee_id = "E7";
                     p.cpid = 12;
                     p.cpseq = 13;
                     p.popupText = "text";
                     p.token_id = 14;
                     p.uei = SizedString("ueidata");
                     p.script = 15;
                     p.wait = 16;
                     p.gap = 17;
                     p.enum_cmMode = 18;
                     p.enum_callkind = 19;
                   }});
  cases.push_back(
      {"selected target", 0,
       Event(200,
             Frame().PutU32(212).PutU32(55).PutStr8("5001").PutStr8("01012345678").PutStr8("7000")),
       [](EventRecord& r) {
         r.privateCode = 212;
         r.privateType = 212;
         r.callRefId = 55;
         r.monitorParty = "5001";
         r.otherParty = "01012345678";
         r.calledParty = "7000";
       }});
  cases.push_back({"IVR pop-up", 0,
                   Event(200, Frame()
                                  .PutU32(213)
                                  .PutU32(55)
                                  .PutStr8("5001")
                                  .PutStr8("01012345678")
                                  .PutStr8("A100")
                                  .PutStr8("uu")
                                  .PutStr16("ueidata")
                                  .PutStr16("cidata")),
                   [](EventRecord& r) {
                     r.privateCode = 213;
                     r.privateType = 213;
                     r.callRefId = 55;
                     r.monitorParty = "5001";
                     r.otherParty = "01012345678";
                     r.agentId = "A100";
                     r.UUI = "uu";
                     r.uei = SizedString("ueidata");
                     r.ci = SizedString("cidata");
                   }});
  // The body is chosen on all 32 bits: 0x165 is no list notice, 0x16B no pop-up.
  for (std::uint32_t code : {0x165u, 0x16Bu, 150u}) {
    cases.push_back({code == 0x165   ? "sub-code 0x165"
                     : code == 0x16B ? "sub-code 0x16B"
                                     : "sub-code 150",
                     0, Event(200, Frame().PutU32(code).PutU32(1).PutU16(2).PutStr8("t1")),
                     [code](EventRecord& r) {
                       r.privateCode = code;
                       r.privateType = static_cast<std::uint8_t>(code);
                     }});
  }
  return cases;
}

inline std::vector<EventCase> AllEventCases() {
  std::vector<EventCase> all;
  for (auto* family : {CallEventCases, FeatureEventCases, AgentStateEventCases, OtherEventCases,
                       PrivateEventCases}) {
    for (EventCase& c : family()) all.push_back(std::move(c));
  }
  return all;
}

}  // namespace vomtel::test
