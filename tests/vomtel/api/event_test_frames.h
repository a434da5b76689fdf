// Valid event frames of every family with the record each one decodes to, shared by the
// decoder tables and the truncation property.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/event_frame_builder.h"
#include "vomtel/api/event_record.h"

namespace vomtel::test {

struct EventCase {
  const char* name;
  std::uint8_t version;  // header byte of the session the frame comes from
  FrameBytes frame;
  // The fields beyond the head's (eventId, time stamp, svrid, pbxtype, callkind).
  std::function<void(EventRecord&)> expect;
};

// The record of a frame head built with EventFrameHead{} and the given code.
inline EventRecord HeadRecord(std::int32_t code) {
  const EventFrameHead head;
  EventRecord r;
  r.eventId = code;
  r.timeStamp = {head.year, head.month, head.day, head.hour, head.minute, head.second,
                 head.millisecond};
  r.svrid = head.svrid;
  r.pbxtype = head.pbxtype;
  r.callkind = head.callkind;
  return r;
}

// The prefix of every call event; the ucid only for version 0x50.
inline EventFrameBuilder CallFrame(std::uint8_t code, std::uint8_t version) {
  EventFrameBuilder b(code);
  b.Str8("5001").U32(77).Str8("uu").U32(1234).U32(3).U32(0xFFFFFFF6);
  if (version == 0x50) b.Str8("UC-1");
  return b;
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
inline const FrameBytes kNumberBlock = {0xAA, 0xB0, 0, 0, 1, 0, 0xB1, 0, 7, 0xB2, 9,
                                        0xB5, 0xFF, 0xFF, 0xFF, 0xFF, 0xB6, 0, 0, 0, 30, 0xFF};
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
inline const FrameBytes kTextBlock = {0xAA, 0xB0, 3, 'N', '-', '1', 0xB5, 2, 'Q', '9', 0xB3, 0, 3,
                                      'u', 'e', 'i', 0xB4, 0, 2, 'c', 'i', 0xFF};
inline void ExpectTextBlock(EventRecord& r) {
  r.cnidText = "N-1";
  r.queueDNText = "Q9";
  r.uei = SizedString("uei");
  r.ci = SizedString("ci");
}

inline std::vector<EventCase> CallEventCases() {
  std::vector<EventCase> cases;
  cases.push_back({"conferenced", 0x28,
                   CallFrame(2, 0x28).U32(11).U32(12).Tagged(1, "5002").Tagged(2, "5003")
                       .Str8("a").Str8("b").Str8("c").Raw(kTextBlock).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0x28);
                     r.preOldCallRefId = 11;
                     r.secOldCallRefId = 12;
                     r.otherParty = "5002";
                     r.otherPartyType = 1;
                     r.thirdParty = "5003";
                     r.thirdPartyType = 2;
                     r.connectionList1 = "a";
                     r.connectionList2 = "b";
                     r.connectionList3 = "c";
                     ExpectTextBlock(r);
                   }});
  cases.push_back({"connection cleared", 0,
                   CallFrame(3, 0).Tagged(3, "01012345678").Raw(kNumberBlock).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.otherParty = "01012345678";
                     r.otherPartyType = 3;
                     ExpectNumberBlock(r);
                   }});
  // The other party is the monitored device: the third party is the caller.
  cases.push_back({"delivered to the monitored device", 0,
                   CallFrame(4, 0).Tagged(4, "5001").Tagged(5, "0311112222").Tagged(6, "5001")
                       .Tagged(7, "0311112222").U32(1).U32(2).U8(3).U32(4).Raw(kNumberBlock)
                       .Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.otherParty = "0311112222";
                     r.otherPartyType = 4;
                     r.otherPartyCause = 5;
                     r.calledParty = "5001";
                     r.calledPartyType = 6;
                     r.originatingParty = "0311112222";
                     r.originatingPartyType = 7;
                     ExpectNumberBlock(r);
                   }});
  cases.push_back({"delivered elsewhere", 0x50,
                   CallFrame(4, 0x50).Tagged(4, "5009").Tagged(5, "0311112222")
                       .Tagged(6, "5009").Tagged(7, "0311112222").U32(1).U32(2).U8(3).U32(4)
                       .Raw(kTextBlock).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0x50);
                     r.otherParty = "5009";
                     r.otherPartyType = 4;
                     r.otherPartyCause = 2;
                     r.thirdParty = "0311112222";
                     r.thirdPartyType = 5;
                     r.thirdPartyCause = 5;
                     r.calledParty = "5009";
                     r.calledPartyType = 6;
                     r.originatingParty = "0311112222";
                     r.originatingPartyType = 7;
                     ExpectTextBlock(r);
                   }});
  cases.push_back({"diverted", 0,
                   CallFrame(5, 0).Tagged(1, "5002").Tagged(2, "5003").Raw({0xAA, 0xFF}).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.otherParty = "5002";
                     r.otherPartyType = 1;
                     r.calledParty = "5003";
                     r.calledPartyType = 2;
                   }});
  cases.push_back({"established", 0x50,
                   CallFrame(6, 0x50).Tagged(1, "5002").Tagged(2, "5003").Tagged(3, "5004")
                       .Raw({0xAA, 0xFF}).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0x50);
                     r.otherParty = "5002";
                     r.otherPartyType = 1;
                     r.thirdParty = "5003";
                     r.thirdPartyType = 2;
                     r.calledParty = "5004";
                     r.calledPartyType = 3;
                   }});
  cases.push_back({"failed", 0,
                   CallFrame(7, 0).Tagged(1, "5002").Tagged(0x21, "5003").Raw({0xAA, 0xFF})
                       .Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.otherParty = "5002";
                     r.otherPartyType = 1;
                     r.calledParty = "5003";
                     r.calledPartyType = 0x21;
                   }});
  // An empty tagged party: one byte, the body goes on at the next.
  cases.push_back({"held with an empty party", 0,
                   CallFrame(8, 0).Tagged0().Raw(kNumberBlock).Bytes(), [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     ExpectNumberBlock(r);
                   }});
  cases.push_back({"network reached", 0,
                   CallFrame(9, 0).Tagged(1, "5002").Tagged(2, "5003").Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.otherParty = "5002";
                     r.otherPartyType = 1;
                     r.calledParty = "5003";
                     r.calledPartyType = 2;
                   }});
  cases.push_back({"originated", 0,
                   CallFrame(10, 0).Tagged(1, "5002").Tagged(2, "5003").Tagged(3, "5004")
                       .Raw({0xAA, 0xFF}).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.otherParty = "5002";
                     r.otherPartyType = 1;
                     r.calledParty = "5003";
                     r.calledPartyType = 2;
                     r.originatingParty = "5004";
                     r.originatingPartyType = 3;
                   }});
  cases.push_back({"queued", 0x50,
                   CallFrame(11, 0x50).Tagged(1, "5002").Tagged(2, "5003").Tagged(3, "5004")
                       .Tagged(4, "5005").U32(42).Raw(kTextBlock).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0x50);
                     r.otherParty = "5002";
                     r.otherPartyType = 1;
                     r.thirdParty = "5003";
                     r.thirdPartyType = 2;
                     r.calledParty = "5004";
                     r.calledPartyType = 3;
                     r.originatingParty = "5005";
                     r.originatingPartyType = 4;
                     r.queuedCount = 42;
                     ExpectTextBlock(r);
                   }});
  cases.push_back({"retrieved", 0,
                   CallFrame(12, 0).Tagged(1, "5002").Raw({0xAA, 0xFF}).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.otherParty = "5002";
                     r.otherPartyType = 1;
                   }});
  cases.push_back({"service initiated", 0x50, CallFrame(13, 0x50).Raw(kTextBlock).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0x50);
                     ExpectTextBlock(r);
                   }});
  cases.push_back({"transferred away", 0,
                   CallFrame(14, 0).U32(11).U32(12).Tagged(1, "5002").Tagged(2, "5003")
                       .Str8("a").Str8("b").Raw({0xAA, 0xFF}).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.preOldCallRefId = 11;
                     r.secOldCallRefId = 12;
                     r.otherParty = "5002";
                     r.otherPartyType = 1;
                     r.otherPartyCause = 1;
                     r.thirdParty = "5003";
                     r.thirdPartyType = 2;
                     r.thirdPartyCause = 13;
                     r.connectionList1 = "a";
                     r.connectionList2 = "b";
                   }});
  // The third party is the monitored device: the other party moves there.
  cases.push_back({"transferred to the monitored device", 0,
                   CallFrame(14, 0).U32(11).U32(12).Tagged(1, "5002").Tagged(2, "5001")
                       .Str8("a").Str8("b").Raw({0xAA, 0xFF}).Bytes(),
                   [](EventRecord& r) {
                     ExpectPrefix(r, 0);
                     r.preOldCallRefId = 11;
                     r.secOldCallRefId = 12;
                     r.thirdParty = "5002";
                     r.thirdPartyType = 2;
                     r.thirdPartyCause = 1;
                     r.connectionList1 = "a";
                     r.connectionList2 = "b";
                   }});
  return cases;
}

inline std::vector<EventCase> FeatureEventCases() {
  std::vector<EventCase> cases;
  cases.push_back({"do not disturb", 0, EventFrameBuilder(102).Str8("5001").U32(77).U8(1).Bytes(),
                   [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.monitorID = 77;
                     r.DNDMode = 1;
                   }});
  cases.push_back({"forwarding", 0x28,
                   EventFrameBuilder(103).Str8("5001").U32(77).U8(2).Str8("7000").Bytes(),
                   [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.monitorID = 77;
                     r.forwardType = 2;
                     r.forwardDn = "7000";
                   }});
  cases.push_back({"auto answer", 0, EventFrameBuilder(105).Str8("5001").U32(77).U8(1).Bytes(),
                   [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.monitorID = 77;
                     r.AutoAnswerMode = 1;
                   }});
  cases.push_back({"microphone mute", 0,
                   EventFrameBuilder(106).Str8("5001").U32(77).U8(1).Bytes(), [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.monitorID = 77;
                     r.microphoneMuteMode = 1;
                   }});
  cases.push_back({"speaker mute", 0x50,
                   EventFrameBuilder(107).Str8("5001").U32(77).U8(1).Bytes(), [](EventRecord& r) {
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
    EventFrameBuilder b(code);
    b.Str8("5001").U32(77).Str8("A100").Str8("G1").Str8("X");
    if (code == 202) b.U16(0xBBBB).U8(0xBB);
    if (code == 203) b.U8(0xBB).U8(0xBB);
    b.U8(6).U8(static_cast<std::uint8_t>(code - 200));
    cases.push_back({names[code - 201], code == 203 ? std::uint8_t{0x50} : std::uint8_t{0},
                     b.Bytes(), [code](EventRecord& r) {
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
  cases.push_back({"250", 0, EventFrameBuilder(250).Str8("5001").Bytes(),
                   [](EventRecord& r) { r.monitorParty = "5001"; }});
  cases.push_back({"251 becomes 998", 0, EventFrameBuilder(251).Bytes(),
                   [](EventRecord& r) { r.eventId = 998; }});
  // From a session 0 the device comes as the second number.
  cases.push_back({"password confirmation, number", 0,
                   EventFrameBuilder(253).U32(9).U32(0xFFFFFFFF).U32(4).Str16("pw").Bytes(),
                   [](EventRecord& r) {
                     r.monitorParty = "-1";
                     r.reasoncode = 4;
                     r.uei = SizedString("pw");
                   }});
  cases.push_back({"password confirmation, text", 0x28,
                   EventFrameBuilder(253).U32(9).U32(5).Str8("5001").U32(4).Str16("pw").Bytes(),
                   [](EventRecord& r) {
                     r.monitorParty = "5001";
                     r.reasoncode = 4;
                     r.uei = SizedString("pw");
                   }});
  cases.push_back({"104 has no body", 0, EventFrameBuilder(104).U32(1).Bytes(),
                   [](EventRecord&) {}});
  cases.push_back({"127 has no body", 0, EventFrameBuilder(0x7F).U32(1).Bytes(),
                   [](EventRecord&) {}});
  return cases;
}

inline std::vector<EventCase> PrivateEventCases() {
  std::vector<EventCase> cases;
  cases.push_back({"get max CPSQ", 0,
                   EventFrameBuilder(200).U32(100).U32(7).U16(8).U32(9).U32(10).Bytes(),
                   [](EventRecord& r) {
                     r.privateCode = 100;
                     r.privateType = 100;
                     r.maxCpsq = {7, 8, 9, 10};
                   }});
  cases.push_back({"list notice", 0,
                   EventFrameBuilder(200).U32(101).U32(1).U16(2).U32(3).Str8("t1").Str8("t2")
                       .Str8("t3").Str8("t4").Str8("t5").Bytes(),
                   [](EventRecord& r) {
                     r.privateCode = 101;
                     r.privateType = 101;
                     r.listNotice = {1, 2, 3, "t1", "t2", "t3", "t4", "t5"};
                   }});
  cases.push_back({"pop-up", 0x50,
                   EventFrameBuilder(200).U32(107).U32(0).U32(11).Str8("E7").U32(12).U32(13)
                       .Str8("text").U32(14).Str16("ueidata").U32(15).U32(16).U32(17).U32(18)
                       .U32(19).Bytes(),
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
  cases.push_back({"selected target", 0,
                   EventFrameBuilder(200).U32(212).U32(55).Str8("5001").Str8("01012345678")
                       .Str8("7000").Bytes(),
                   [](EventRecord& r) {
                     r.privateCode = 212;
                     r.privateType = 212;
                     r.callRefId = 55;
                     r.monitorParty = "5001";
                     r.otherParty = "01012345678";
                     r.calledParty = "7000";
                   }});
  cases.push_back({"IVR pop-up", 0,
                   EventFrameBuilder(200).U32(213).U32(55).Str8("5001").Str8("01012345678")
                       .Str8("A100").Str8("uu").Str16("ueidata").Str16("cidata").Bytes(),
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
    cases.push_back({code == 0x165 ? "sub-code 0x165" : code == 0x16B ? "sub-code 0x16B"
                                                                      : "sub-code 150",
                     0, EventFrameBuilder(200).U32(code).U32(1).U16(2).Str8("t1").Bytes(),
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
