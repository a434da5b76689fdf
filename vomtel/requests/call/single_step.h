// Single-step transfer and single-step conference: the current call goes to, or takes in,
// another number in one request, without a consultation call first.
#pragma once

#include <cstdint>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

// Class 0x41, code 0xAC; waits the configured SST seconds for the reply. UEI at most 1024
// bytes, CI 128, every str8 text 255, else 3025. `mode` goes out as its low byte. The server's
// result word, or 3007, 2, 3013, 3014, 3112.
int SingleStepTransfer(OrbaAdapter& adapter, std::string_view DN, std::string_view calledDN,
                       std::uint32_t call, int mode, std::string_view UUI, std::string_view UEI,
                       std::string_view CI, int gate);
// Code 0xAD; the usual reply wait; otherwise as the transfer.
int SingleStepConference(OrbaAdapter& adapter, std::string_view DN, std::string_view calledDN,
                         std::uint32_t call, int mode, std::string_view UUI,
                         std::string_view UEI, std::string_view CI, int gate);

}  // namespace vomtel
