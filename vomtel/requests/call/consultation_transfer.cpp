#include "vomtel/requests/call/consultation_transfer.h"

#include "vomtel/core/session.h"
#include "vomtel/requests/call/answer_clear_hold.h"
#include "vomtel/requests/call/call_request.h"
#include "vomtel/requests/call/consultation_request.h"
#include "vomtel/requests/call/make_call.h"

namespace vomtel {

namespace {

constexpr std::uint8_t kCompositeExtMode = 1;

// Transfer, conference, reconnect and alternate share body and log; only the alternate shows
// the two devices unmasked.
int TwoCalls(RequestExchange& exchange, const CallShape& shape, std::string_view heldDN,
             std::uint32_t heldCall, std::string_view activeDN, std::uint32_t activeCall,
             bool masked, std::uint16_t* number = nullptr) {
  const auto device = [masked](std::string_view dn) { return masked ? Masked(dn) : Shown(dn); };
  return RunCall(exchange,
                 {shape,
                  {},
                  {U32(heldCall), Str8{heldDN}, U8(0), U32(activeCall), Str8{activeDN}, U8(0)},
                  {{"\t\theldCall\t\t[", ShownSigned(heldCall)},
                   {"\t\theldDN\t\t[", device(heldDN)},
                   {"\t\theldType\t\t[", "0"},
                   {"\t\tactiveCall\t\t[", ShownSigned(activeCall)},
                   {"\t\tactiveDN\t\t[", device(activeDN)},
                   {"\t\tactiveType\t\t[", "0"}}},
                 number);
}

int TwoCalls(OrbaAdapter& adapter, int gate, const CallShape& shape, std::string_view heldDN,
             std::uint32_t heldCall, std::string_view activeDN, std::uint32_t activeCall,
             bool masked, std::uint16_t* number = nullptr) {
  return Guarded([&] {
    RequestExchange exchange(adapter, gate);
    if (!exchange.HasSession()) return static_cast<int>(kNoSession);
    return TwoCalls(exchange, shape, heldDN, heldCall, activeDN, activeCall, masked, number);
  });
}

}  // namespace

int ConsultationCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
                     std::string_view calledDN, std::string_view UUI, std::string_view accCode,
                     std::string_view authCode, std::string_view UEI, std::string_view CI,
                     int gate) {
  return Guarded([&] {
    RequestExchange exchange(adapter, gate);
    if (const int checked = CheckConsultation(exchange, UUI, UEI, CI); checked != kOk) {
      return checked;
    }
    if (exchange.Session().ExtMode() == kCompositeExtMode) {
      exchange.Finish();
      return HoldAndMakeCall(adapter, DN, call, calledDN, UUI, accCode, authCode, UEI, CI, gate);
    }
    const int exchanged = ExchangeConsultation(exchange, shape::kConsultationCall, DN, call,
                                               calledDN, UUI, accCode, authCode, UEI, CI);
    return exchanged == kOk ? CallOutcome(exchange, shape::kConsultationCall) : exchanged;
  });
}

int HoldAndMakeCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
                    std::string_view calledDN, std::string_view UUI, std::string_view accCode,
                    std::string_view authCode, std::string_view UEI, std::string_view CI,
                    int gate) {
  const int held = HoldCall(adapter, DN, call, gate);
  if (held != kOk) return held;
  const int made = MakeCall(adapter, DN, calledDN, UUI, accCode, authCode, UEI, CI, gate);
  if (made != kOk) RetrieveCall(adapter, DN, call, gate);
  return made;
}

int TransferCall(OrbaAdapter& adapter, std::string_view heldDN, std::uint32_t heldCall,
                 std::string_view activeDN, std::uint32_t activeCall, int gate) {
  return TwoCalls(adapter, gate, shape::kTransferCall, heldDN, heldCall, activeDN, activeCall,
                  true);
}

int ConferenceCall(OrbaAdapter& adapter, std::string_view heldDN, std::uint32_t heldCall,
                   std::string_view activeDN, std::uint32_t activeCall, int gate,
                   std::uint16_t* number) {
  return TwoCalls(adapter, gate, shape::kConferenceCall, heldDN, heldCall, activeDN, activeCall,
                  true, number);
}

int ReconnectCall(OrbaAdapter& adapter, std::string_view heldDN, std::uint32_t heldCall,
                  std::string_view activeDN, std::uint32_t activeCall, int gate) {
  return Guarded([&] {
    RequestExchange exchange(adapter, gate);
    if (!exchange.HasSession()) return static_cast<int>(kNoSession);
    if (exchange.Session().ExtMode() == kCompositeExtMode) {
      exchange.Finish();
      ClearConnectionCall(adapter, heldDN, activeCall, gate);
      return RetrieveCall(adapter, heldDN, heldCall, gate);
    }
    return TwoCalls(exchange, shape::kReconnectCall, heldDN, heldCall, activeDN, activeCall,
                    true);
  });
}

int AlternateCall(OrbaAdapter& adapter, std::string_view heldDN, std::uint32_t heldCall,
                  std::string_view activeDN, std::uint32_t activeCall, int gate) {
  return TwoCalls(adapter, gate, shape::kAlternateCall, heldDN, heldCall, activeDN, activeCall,
                  false);
}

}  // namespace vomtel
