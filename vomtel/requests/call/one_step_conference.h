// The one-step conference: a consultation call to a third party, a wait until the agent's
// device reports the call established, then the conference of the two calls.
#pragma once

#include <cstdint>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

// Arms the wait for the established event of DN before the consultation request (class 0x41,
// code 0x3C, empty account and authorisation codes) is sent, so an answer that comes before
// the consultation's reply is not missed; the wait is disarmed on every exit. Then:
// - consultation not sent or not answered: that code (2, 3013, 3014); its result word not 1:
//   that result;
// - established within Timings::conferenceWait: ConferenceCall (DN, call, calledDN, the
//   consultation's call id) and its result;
// - not established in time: ClearConnectionCall (DN, consultation call id), RetrieveCall
//   (DN, call), and 3013, or the retrieve's result when the retrieve failed.
// UUI at most 32 bytes, UEI 1024, CI 128, every str8 text 255, else 3025; 3007 without an
// active session; 3112 on an exception. The gate's ext mode is not looked at.
int OneStepConference(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
                      std::string_view calledDN, std::string_view UUI, std::string_view UEI,
                      std::string_view CI, int gate);

}  // namespace vomtel
