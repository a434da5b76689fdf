// The named codes of the public headers against the library's own tables: every result code
// the library returns has a name with the library's value, every code the library gives a text
// of its own is named (or never leaves the library), and every event kind the decoder names or
// makes has a header name with the same value.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "vomtel/api/event_decoder.h"
#include "vomtel/api/event_record.h"
#include "vomtel/core/result_codes.h"
#include "vomtel/requests/service/agent_directory.h"
#include "vomtel/vomtel.h"
#include "vomtel/vomtel_event.h"

namespace vomtel {
namespace {

struct Named {
  const char* name;
  std::int32_t header;
};

#define NAMED(constant) Named{#constant, constant}

// The text ResultText gives a code that is not the library's own.
const std::string kServerWord = ResultText(-424242);

// Stages of the socket service that end inside the library; no entry point returns them.
const std::set<std::int32_t> kInternalOnly = {kNotFrameType, kConnectionClosed, kIncomplete};

TEST(HeaderResultCodes, EachNameHasTheLibrarysValueAndText) {
  struct Case {
    Named named;
    std::int32_t library;
  };
  const Case cases[] = {
      {NAMED(VOMTEL_OK), kOk},
      {NAMED(VOMTEL_NO_ROOM), kNoRoom},
      {NAMED(VOMTEL_DOES_NOTHING), kDoesNothing},
      {NAMED(VOMTEL_REPLY_MISMATCH), kReplyMismatch},
      {NAMED(VOMTEL_NO_SESSION), kNoSession},
      {NAMED(VOMTEL_NULL_ARGUMENT), kZeroDevice},
      {NAMED(VOMTEL_NO_EVENT), kNoEvent},
      {NAMED(VOMTEL_TIMEOUT), kTimeout},
      {NAMED(VOMTEL_NOT_CONNECTED), kNotConnected},
      {NAMED(VOMTEL_TEXT_TOO_LONG), kTextTooLong},
      {NAMED(VOMTEL_BAD_PORT), kBadPort},
      {NAMED(VOMTEL_TOO_MANY_DEVICES), kTooManyDevices},
      {NAMED(VOMTEL_FRAME_TOO_LONG), kFrameTooLong},
      {NAMED(VOMTEL_INTERNAL_ERROR), kInternalError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.named.name);
    EXPECT_EQ(c.named.header, c.library);
    EXPECT_NE(ResultText(c.named.header), kServerWord);
  }
  EXPECT_EQ(VOMTEL_DIRECTORY_TEXT_TOO_LONG, kDirectoryTextTooLong);
  EXPECT_EQ(VOMTEL_DIRECTORY_TEXT_TOO_LONG, -VOMTEL_TEXT_TOO_LONG);
}

// A code the library adds to its table without a name in the header shows up here; so does a
// header name the library no longer knows.
TEST(HeaderResultCodes, EveryOwnCodeOfTheLibraryIsNamedAndTheRestAreServerWords) {
  const std::set<std::int32_t> named = {
      VOMTEL_OK,         VOMTEL_NO_ROOM,      VOMTEL_DOES_NOTHING, VOMTEL_REPLY_MISMATCH,
      VOMTEL_NO_SESSION, VOMTEL_NULL_ARGUMENT, VOMTEL_NO_EVENT,    VOMTEL_TIMEOUT,
      VOMTEL_NOT_CONNECTED, VOMTEL_TEXT_TOO_LONG, VOMTEL_BAD_PORT, VOMTEL_TOO_MANY_DEVICES,
      VOMTEL_FRAME_TOO_LONG, VOMTEL_INTERNAL_ERROR,
  };
  for (std::int32_t code = -5000; code <= 70000; ++code) {
    const bool own = ResultText(code) != kServerWord;
    if (kInternalOnly.count(code) != 0) {
      EXPECT_TRUE(own) << code;
      continue;
    }
    EXPECT_EQ(own, named.count(code) != 0) << code << " " << ResultText(code);
  }
}

TEST(HeaderEventKinds, EachNameHasTheDecodersValue) {
  // Kinds the decoder logs under a name of its own.
  const Named logged[] = {
      NAMED(VOMTEL_EVENT_CONFERENCED),     NAMED(VOMTEL_EVENT_CONNECTION_CLEARED),
      NAMED(VOMTEL_EVENT_DELIVERED),       NAMED(VOMTEL_EVENT_DIVERTED),
      NAMED(VOMTEL_EVENT_ESTABLISHED),     NAMED(VOMTEL_EVENT_FAILED),
      NAMED(VOMTEL_EVENT_HELD),            NAMED(VOMTEL_EVENT_NETWORK_REACHED),
      NAMED(VOMTEL_EVENT_ORIGINATED),      NAMED(VOMTEL_EVENT_QUEUED),
      NAMED(VOMTEL_EVENT_RETRIEVED),       NAMED(VOMTEL_EVENT_SERVICE_INITIATED),
      NAMED(VOMTEL_EVENT_TRANSFERRED),     NAMED(VOMTEL_EVENT_DO_NOT_DISTURB),
      NAMED(VOMTEL_EVENT_FORWARDING),      NAMED(VOMTEL_EVENT_AUTO_ANSWER),
      NAMED(VOMTEL_EVENT_MICROPHONE_MUTE), NAMED(VOMTEL_EVENT_SPEAKER_MUTE),
      NAMED(VOMTEL_EVENT_LOGGED_ON),       NAMED(VOMTEL_EVENT_LOGGED_OFF),
      NAMED(VOMTEL_EVENT_NOT_READY),       NAMED(VOMTEL_EVENT_READY),
      NAMED(VOMTEL_EVENT_OTHER_WORK),      NAMED(VOMTEL_EVENT_AFTER_CALL_WORK),
      NAMED(VOMTEL_EVENT_PASSWORD_CONFIRM), NAMED(VOMTEL_EVENT_SERVER_DOWN),
  };
  std::set<std::int32_t> loggedValues;
  for (const Named& n : logged) {
    SCOPED_TRACE(n.name);
    EXPECT_STRNE(EventLogName(n.header), "");
    EXPECT_TRUE(loggedValues.insert(n.header).second) << "two names for one value";
  }
  // Every kind the decoder names is in the list above.
  for (std::int32_t code = -1000; code <= 70000; ++code) {
    if (*EventLogName(code) != '\0') {
      EXPECT_EQ(loggedValues.count(code), 1u) << code;
    }
  }

  // Kinds the library makes or maps, and the ones it takes as sent without a log name.
  EXPECT_EQ(VOMTEL_EVENT_NONE, kEventNone);
  EXPECT_EQ(VOMTEL_EVENT_PRIVATE, kEventPrivate);
  EXPECT_EQ(VOMTEL_EVENT_POPUP, kEventPopup);
  EXPECT_EQ(VOMTEL_EVENT_CODE_251, kEventCode251);
  EXPECT_EQ(VOMTEL_EVENT_SERVER_DOWN, kEventServerDown);
  EXPECT_EQ(VOMTEL_EVENT_CODE_250, 250);

  // Sub-codes of the private event.
  EXPECT_EQ(VOMTEL_PRIVATE_MAX_CPSQ, static_cast<std::int32_t>(kPrivateMaxCpsq));
  EXPECT_EQ(VOMTEL_PRIVATE_LIST_NOTICE, static_cast<std::int32_t>(kPrivateListNotice));
  EXPECT_EQ(VOMTEL_PRIVATE_POPUP, static_cast<std::int32_t>(kPrivatePopup));
}

}  // namespace
}  // namespace vomtel
