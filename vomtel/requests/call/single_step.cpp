#include "vomtel/requests/call/single_step.h"

#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/call/call_request.h"

namespace vomtel {

// Both bodies carry CI as a str8 and the account and authorisation codes as two empty texts;
// only the transfer has a type byte between DN and calledDN.

int SingleStepTransfer(OrbaAdapter& adapter, std::string_view DN, std::string_view calledDN,
                       std::uint32_t call, int mode, std::string_view UUI, std::string_view UEI,
                       std::string_view CI, int gate) {
  return Guarded([&] {
    const U8 modeByte(mode);
    const int waitSeconds = static_cast<std::uint8_t>(adapter.GetSettings().sst);
    return RunCall(adapter, gate,
                   {shape::kSingleStepTransfer,
                    {{UEI, kDataLimit}, {CI, kCiLimit}},
                    {U32(call), Str8{DN}, U8(0), Str8{calledDN}, modeByte, Str8{UUI}, Str8{},
                     Str8{}, Str16{UEI}, Str8{CI}},
                    {{"\t\tCall\t\t[", ShownSigned(call)},
                     {"\t\tDN\t\t[", Masked(DN)},
                     {"\t\theldType\t\t[", "0"},
                     {"\t\tcalledDN\t\t[", Masked(calledDN)},
                     {"\t\tmode\t\t[", Shown(modeByte.value)},
                     {"\t\tUUI\t\t[", Shown(UUI)},
                     {"\t\taccCode\t\t[", ""},
                     {"\t\tauthCode\t\t[", ""},
                     {"\t\tUEI\t\t[", Shown(UEI)},
                     {"\t\tCI\t\t[", Shown(CI)}},
                    waitSeconds});
  });
}

int SingleStepConference(OrbaAdapter& adapter, std::string_view DN, std::string_view calledDN,
                         std::uint32_t call, int mode, std::string_view UUI,
                         std::string_view UEI, std::string_view CI, int gate) {
  return Guarded([&] {
    const U8 modeByte(mode);
    return RunCall(adapter, gate,
                   {shape::kSingleStepConference,
                    {{UEI, kDataLimit}, {CI, kCiLimit}},
                    {U32(call), Str8{DN}, Str8{calledDN}, modeByte, Str8{UUI}, Str8{}, Str8{},
                     Str16{UEI}, Str8{CI}},
                    {{"\t\tCall\t\t[", ShownSigned(call)},
                     {"\t\tDN\t\t[", Masked(DN)},
                     {"\t\theldType\t\t[", "0"},
                     {"\t\tcalledDN\t\t[", Masked(calledDN)},
                     {"\t\tmode\t\t[", Shown(modeByte.value)},
                     {"\t\tUEI\t\t[", Shown(UEI)}}});
  });
}

}  // namespace vomtel
