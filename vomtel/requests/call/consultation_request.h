// The consultation request (class 0x41, code 0x3C), shared by the consultation call and the
// one-step conference, which differ only in their labels and in the account and authorisation
// codes (empty in the one-step conference).
#pragma once

#include <cstdint>
#include <string_view>

#include "vomtel/requests/call/call_shapes.h"
#include "vomtel/requests/call/request_exchange.h"

namespace vomtel {

// The checks before anything else: 3007 without a session, 3025 for UUI over 32 bytes, UEI
// over 1024 or CI over 128; else kOk.
int CheckConsultation(const RequestExchange& exchange, std::string_view UUI, std::string_view UEI,
                      std::string_view CI);

// Body, number, request log, send and wait (ExchangeCall): kOk with the reply head read, else
// the failure code.
int ExchangeConsultation(RequestExchange& exchange, const CallShape& shape, std::string_view DN,
                         std::uint32_t call, std::string_view calledDN, std::string_view UUI,
                         std::string_view accCode, std::string_view authCode,
                         std::string_view UEI, std::string_view CI);

}  // namespace vomtel
