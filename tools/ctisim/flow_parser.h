// The flow file of the simulator program: one statement a line, parsed with every value
// checked against its bounds. The format is described in tools/ctisim/README.md.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "tools/ctisim/flow.h"

namespace ctisim {

struct FlowError {
  int line = 0;  // 1-based; 0 for a file that cannot be read at all
  std::string message;
};

// Bounds of a flow file.
inline constexpr std::size_t kMaxFlowFileBytes = 1 << 20;
inline constexpr std::size_t kMaxFlowLineBytes = 16384;  // a hex body of 4096 bytes fits
inline constexpr std::size_t kMaxRepeatDepth = 16;
inline constexpr std::size_t kMaxStr8Text = 255;       // device, party, agent, group
inline constexpr std::size_t kMaxDataText = 1024;      // uei, ci
inline constexpr std::size_t kMaxEventBytes = 4096;    // hex bodies
inline constexpr long long kMaxFlowMillis = 3600000;   // wait, after
inline constexpr unsigned long long kMaxRepeatCount = 1000000000ull;

// The flow, or nothing with `error` set to the first bad line.
std::optional<Flow> ParseFlow(std::string_view text, FlowError* error);

// Reads and parses a flow file.
std::optional<Flow> LoadFlowFile(const std::string& path, FlowError* error);

}  // namespace ctisim
