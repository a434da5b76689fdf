// The two uploads that are sent without waiting for a reply: the counsel record and the
// trace record of a call. Both return the send's result.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

// 0x45 0xC1: call id, sequence (its low 16 bits are sent), tag, counsel data (at most 1024 bytes).
int PutCounsel(OrbaAdapter& adapter, std::string_view cnid, std::int32_t cnsq, std::string_view tag,
               std::string_view attach, int gate);

// The texts of a trace record, in the order they go out.
struct TraceTexts {
  std::array<std::string_view, 6> texts;  // traceText1 .. traceText6
  std::uint8_t flag = 0;                  // traceFlag
  std::string_view text7;                 // traceText7
  std::string_view data;                  // traceData, at most 1024 bytes
};

// 0x45 0xC0: two numbers and the trace texts.
int PutTraceInfo(OrbaAdapter& adapter, std::uint32_t traceNo1, std::uint32_t traceNo2,
                 const TraceTexts& trace, int gate);

}  // namespace vomtel
