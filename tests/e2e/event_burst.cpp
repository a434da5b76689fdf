#include "tests/e2e/event_burst.h"

#include <charconv>

namespace desk::test {
namespace {

constexpr char kDeliveredText[] = "[EVENT orbaEK_Delivered]-";

}  // namespace

std::vector<CallEvent> DeliveredBurst(const std::string& dn) {
  std::vector<CallEvent> burst;
  for (std::uint32_t call : WholeBurst()) {
    burst.push_back(CallEvent::Of(kDelivered, call).Other("0212345678").Called(dn));
  }
  return burst;
}

std::string DeliveredLine(std::uint32_t call) { return kDeliveredText + std::to_string(call); }

std::vector<std::uint32_t> HandledBurstCalls(const DeskLog& log) {
  std::vector<std::uint32_t> calls;
  for (const LogLine& line : log.Matching(kDeliveredText)) {
    const std::string id =
        line.text.substr(line.text.find(kDeliveredText) + sizeof kDeliveredText - 1);
    std::uint32_t call = 0;
    const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), call);
    if (ec == std::errc() && end == id.data() + id.size() && call >= kFirstBurstCall &&
        call < kFirstBurstCall + kBurst) {
      calls.push_back(call);
    }
  }
  return calls;
}

std::vector<std::uint32_t> WholeBurst() {
  std::vector<std::uint32_t> calls(kBurst);
  for (std::uint32_t i = 0; i < kBurst; ++i) calls[i] = kFirstBurstCall + i;
  return calls;
}

}  // namespace desk::test
