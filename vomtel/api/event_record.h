// EventRecord: one server event as the decoder leaves it, before it is copied into the
// caller's EventData.
//
// A new record has every number 0 and every text empty; a decode writes eventId and the
// members that the event's body names, nothing else. Texts keep every byte the server sent
// (a str8 brings at most 255 bytes, a str16 at most 65,535); cutting them to the fields of
// EventData is the copy's business.
#pragma once

#include <cstdint>
#include <string>

#include "vomtel/core/stream.h"

namespace vomtel {

// Event ids that the client makes or maps.
inline constexpr std::int32_t kEventNone = 0;
inline constexpr std::int32_t kEventPrivate = 200;
inline constexpr std::int32_t kEventPopup = 254;        // what EventData shows for sub-code 107
inline constexpr std::int32_t kEventCode251 = 998;      // the server's code 251
inline constexpr std::int32_t kEventServerDown = 999;   // no session of the gate left

// Sub-codes of the private event 200 that carry a body.
inline constexpr std::uint32_t kPrivateMaxCpsq = 100;
inline constexpr std::uint32_t kPrivateListNotice = 101;
inline constexpr std::uint32_t kPrivatePopup = 107;
inline constexpr std::uint32_t kPrivateSelectedTarget = 212;
inline constexpr std::uint32_t kPrivateIvrPopup = 213;

struct EventTime {
  std::uint16_t year = 0;
  std::uint8_t month = 0;
  std::uint8_t day = 0;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
  std::uint16_t millisecond = 0;
};

// Private sub-code 100: the server asks for the maximum CPSQ.
struct MaxCpsqRequest {
  std::uint32_t gate = 0;
  std::uint16_t invoke = 0;
  std::uint32_t ciod = 0;
  std::uint32_t campaign = 0;
};

// Private sub-code 101.
struct ListNotice {
  std::uint32_t value1 = 0;
  std::uint16_t value2 = 0;
  std::uint32_t value3 = 0;
  std::string text1;
  std::string text2;
  std::string text3;
  std::string text4;
  std::string text5;
};

// Private sub-code 107: the outbound pop-up.
struct PopupNotice {
  std::string custtel;  // decimal text of the customer number
  std::uint32_t popupNumber = 0;
  std::string employee_id;
  std::uint32_t cpid = 0;
  std::uint32_t cpseq = 0;
  std::string popupText;
  std::uint32_t token_id = 0;
  SizedString uei;  // UEILENTH, UEI
  std::uint32_t script = 0;
  std::uint32_t wait = 0;
  std::uint32_t gap = 0;
  std::uint32_t enum_cmMode = 0;
  std::uint32_t enum_callkind = 0;
};

struct EventRecord {
  std::uint8_t ctype = 0;          // tag 0xB2
  std::uint32_t cnid = 0;          // tag 0xB0
  std::string cnidText;            // tag 0xB0: decimal text of cnid, or the tag's own text
  std::uint16_t cnsq = 0;          // tag 0xB1
  std::int32_t eventId = kEventNone;
  std::uint8_t svrid = 0;
  std::uint8_t pbxtype = 0;
  std::uint8_t callkind = 0;
  EventTime timeStamp;
  std::uint32_t callRefId = 0;
  std::uint32_t preOldCallRefId = 0;
  std::uint32_t secOldCallRefId = 0;
  std::uint32_t monitorID = 0;
  std::uint32_t eventCause = 0;
  std::string ucid;                // only from sessions with header byte 0x50
  std::uint8_t otherPartyType = 0;
  std::uint8_t otherPartyCause = 0;
  std::uint8_t thirdPartyType = 0;
  std::uint8_t thirdPartyCause = 0;
  std::uint8_t calledPartyType = 0;
  std::uint8_t originatingPartyType = 0;
  std::uint8_t AutoAnswerMode = 0;
  std::uint8_t DNDMode = 0;
  std::uint8_t microphoneMuteMode = 0;
  std::uint8_t speakerMuteMode = 0;
  std::uint8_t forwardType = 0;
  std::string forwardDn;
  std::string monitorParty;
  std::string otherParty;
  std::string thirdParty;
  std::string calledParty;
  std::string originatingParty;
  std::string connectionList1;
  std::string connectionList2;
  std::string connectionList3;
  std::string UUI;
  SizedString uei;                 // tag 0xB3 or a body str16
  SizedString ci;                  // tag 0xB4 or a body str16
  std::uint32_t queueDN = 0;       // tag 0xB5
  std::string queueDNText;         // tag 0xB5: signed decimal text of queueDN, or the tag's text
  std::uint32_t queueWait = 0;     // tag 0xB6
  std::uint32_t reasoncode = 0;
  std::uint8_t privateType = 0;    // sub-code of event 200, low 8 bits
  std::uint32_t privateCode = 0;   // sub-code of event 200, all 32 bits
  std::string agentId;
  std::string agentExtra;          // third text of the agent-state events (not exported)
  std::string agentGroup;
  std::uint8_t agentMode = 0;      // 0 login ... 5 after-call work
  std::uint8_t workMode = 0;
  std::uint32_t queuedCount = 0;   // last field of evtQueued (not exported)
  std::uint32_t localConnState = 0;
  MaxCpsqRequest maxCpsq;
  ListNotice listNotice;
  PopupNotice popup;
};

// Member-wise equality (the texts of the sized strings included).
bool operator==(const EventRecord& a, const EventRecord& b);

}  // namespace vomtel
