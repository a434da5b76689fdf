// Divert requests: deflect a call at the agent's device to `divertDn`, or divert it directly
// to `divertedDn`.
#pragma once

#include <cstdint>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

// Class 0x41, codes 0x51 and 0x53. UEI at most 1024 bytes, CI 128, every str8 text 255, else
// 3025. The server's result word, or 3007, 2, 3013, 3014, 3112.
int DivertDeflect(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
                  std::string_view divertDn, std::string_view UUI, std::string_view UEI,
                  std::string_view CI, int gate);
int DivertDirect(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
                 std::string_view divertedDn, std::string_view UUI, std::string_view UEI,
                 std::string_view CI, int gate);

}  // namespace vomtel
