#include "vomtel/requests/call/answer_clear_hold.h"

#include "vomtel/requests/call/call_request.h"

namespace vomtel {

namespace {

// Answer and clear: call id, DN, and a UUI line that always shows 0.
int CallAtDevice(OrbaAdapter& adapter, const CallShape& shape, std::string_view DN,
                 std::uint32_t callId, bool clear, int gate) {
  return Guarded([&] {
    const std::initializer_list<LogField> log{{"\t\tcallID\t\t[", ShownUnsigned(callId)},
                                              {"\t\tcalledDN\t\t[", Masked(DN)},
                                              {"\t\tUUI\t         \t[", "0"}};
    if (clear) {
      return RunCall(adapter, gate, {shape, {}, {U32(callId), Str8{DN}, U8(0), U16(0)}, log});
    }
    return RunCall(adapter, gate, {shape, {}, {U32(callId), Str8{DN}}, log});
  });
}

// Hold and retrieve: the same body, one type byte 0 at its end.
int HeldCall(OrbaAdapter& adapter, const CallShape& shape, std::string_view DN,
             std::uint32_t callId, int gate) {
  return Guarded([&] {
    return RunCall(adapter, gate,
                   {shape,
                    {},
                    {U32(callId), Str8{DN}, U8(0)},
                    {{"\t\tcall\t\t[", ShownUnsigned(callId)},
                     {"\t\tDN\t\t[", Masked(DN)},
                     {"\t\tType\t         \t[", "0"}}});
  });
}

}  // namespace

int AnswerCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t callId, int gate) {
  return CallAtDevice(adapter, shape::kAnswerCall, DN, callId, false, gate);
}

int ClearConnectionCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t callId,
                        int gate) {
  return CallAtDevice(adapter, shape::kClearConnectionCall, DN, callId, true, gate);
}

int HoldCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t callId, int gate) {
  return HeldCall(adapter, shape::kHoldCall, DN, callId, gate);
}

int RetrieveCall(OrbaAdapter& adapter, std::string_view DN, std::uint32_t callId, int gate) {
  return HeldCall(adapter, shape::kRetrieveCall, DN, callId, gate);
}

}  // namespace vomtel
