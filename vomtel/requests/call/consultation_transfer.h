// The requests that handle two calls of one agent: the consultation call (the current call
// goes on hold) and transfer, conference, reconnect and alternate of the held and the active
// call. With ext mode 1 on the gate's active session the consultation runs as hold + make-call
// (HoldAndMakeCall) and the reconnect as clear + retrieve; each step is a request of its own.
#pragma once

#include <cstdint>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

// Class 0x41, code 0x3C. UUI at most 32 bytes, UEI 1024, CI 128 (3025, checked after 3007 and
// before the ext mode is looked at). The server's result word, or 3007, 2, 3013, 3014, 3112;
// with ext mode 1 the result of HoldAndMakeCall.
int ConsultationCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
                     std::string_view calledDN, std::string_view UUI, std::string_view accCode,
                     std::string_view authCode, std::string_view UEI, std::string_view CI,
                     int gate);

// HoldCall (DN, call); when it fails its result. Else MakeCall with DN as the calling device;
// when that fails, RetrieveCall (DN, call) takes the first call back (its result is not
// looked at). Returns the make-call's result.
int HoldAndMakeCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
                    std::string_view calledDN, std::string_view UUI, std::string_view accCode,
                    std::string_view authCode, std::string_view UEI, std::string_view CI,
                    int gate);

// Codes 0x82, 0x32, 0x6E, 0x0A: held call and device, type 0, active call and device, type 0.
// The server's result word, or 3007, 3025 (a DN over 255 bytes), 2, 3013, 3014, 3112.
// ConferenceCall's `number`, when given, receives the request's number.
int TransferCall(OrbaAdapter& adapter, std::string_view heldDN, std::uint32_t heldCall,
                 std::string_view activeDN, std::uint32_t activeCall, int gate);
int ConferenceCall(OrbaAdapter& adapter, std::string_view heldDN, std::uint32_t heldCall,
                   std::string_view activeDN, std::uint32_t activeCall, int gate,
                   std::uint16_t* number = nullptr);
// With ext mode 1: ClearConnectionCall (heldDN, activeCall), whatever its result, then
// RetrieveCall (heldDN, heldCall), whose result is returned.
int ReconnectCall(OrbaAdapter& adapter, std::string_view heldDN, std::uint32_t heldCall,
                  std::string_view activeDN, std::uint32_t activeCall, int gate);
int AlternateCall(OrbaAdapter& adapter, std::string_view heldDN, std::uint32_t heldCall,
                  std::string_view activeDN, std::uint32_t activeCall, int gate);

}  // namespace vomtel
