// Exports that ask for a few values: agent count, ready rate, queue waiting times and a
// call's UEI and CI data.
#include <algorithm>
#include <array>
#include <cstring>

#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/requests/service/outbound_lists.h"
#include "vomtel/vomtel.h"

namespace vomtel::api {
namespace {

// A caller's block that the operation may fill: the operation writes into `area`; when it did
// (a NUL is there, which the unwritten area never holds) the text goes to the caller's block
// with its length. The operation's NUL is the last one in the area: the text before it may hold
// NUL bytes of its own, and those are part of it.
class BlockOut {
 public:
  BlockOut() { area_.fill('\x01'); }
  std::span<char> Area() { return area_; }
  void WriteTo(UserDataBlock& block) const {
    const auto last = std::find(area_.rbegin(), area_.rend(), '\0');
    if (last == area_.rend()) return;
    const auto length = static_cast<std::size_t>(area_.rend() - last) - 1;
    std::memcpy(block.Text, area_.data(), length + 1);
    block.Length = static_cast<std::int32_t>(length);
  }

 private:
  std::array<char, sizeof(UserDataBlock::Text)> area_;
};

}  // namespace
}  // namespace vomtel::api

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelGetAgentCount(int gate, int, const UserDataBlock* list, int agentMode,
                                    int blendMode, uint32_t* counts) {
  return Export([&] {
    if (!counts) return kNullArgument;
    // The operation writes the count whenever a reply carried it.
    std::uint32_t value = *counts;
    const int result = vomtel::GetAgentCount(OrbaAdapter::Instance(), BlockText(list),
                                             LowByte(agentMode), LowByte(blendMode), value, gate);
    *counts = value;
    return result;
  });
}

int VOMTEL_CALL vomtelReadyRateGet(int gate, int, int value, float* rate) {
  return Export([&] {
    if (!rate) return kNullArgument;
    float got = 0;
    const int result = vomtel::AgentReadyRateGet(OrbaAdapter::Instance(), value, got, gate);
    if (result == vomtel::kOk) *rate = got;
    return result;
  });
}

int VOMTEL_CALL vomtelWaitTimeGet(int gate, int, int tenantId, const char* queueDn, int* first,
                                  int* second) {
  return Export([&] {
    if (!first || !second) return kNullArgument;
    std::uint32_t one = U32(*first);
    std::uint32_t two = U32(*second);
    const int result =
        vomtel::WaitTimeGet(OrbaAdapter::Instance(), Text(queueDn), tenantId, one, two, gate);
    *first = static_cast<int>(one);
    *second = static_cast<int>(two);
    return result;
  });
}

int VOMTEL_CALL vomtelGetUEIData(int, int, int serverId, int callId, UserDataBlock* uei,
                                 UserDataBlock* ci) {
  return Export([&] {
    if (!uei || !ci) return kNullArgument;
    BlockOut ueiOut;
    BlockOut ciOut;
    const int result = vomtel::GetUEIData(OrbaAdapter::Instance(), LowByte(serverId), callId,
                                          ueiOut.Area(), ciOut.Area());
    ueiOut.WriteTo(*uei);
    ciOut.WriteTo(*ci);
    return result;
  });
}

}  // extern "C"
