#include "vomtel/requests/call/divert.h"

#include "vomtel/requests/call/call_request.h"

namespace vomtel {

namespace {

// The two bodies differ in their last byte, which repeats the code byte.
int Divert(OrbaAdapter& adapter, const CallShape& shape, std::string_view targetOpening,
           std::string_view DN, std::uint32_t call, std::string_view target,
           std::string_view UUI, std::string_view UEI, std::string_view CI, int gate) {
  return Guarded([&] {
    return RunCall(adapter, gate,
                   {shape,
                    {{UEI, kDataLimit}, {CI, kCiLimit}},
                    {U32(0), U16(0), U32(call), Str8{DN}, U8(0), Str8{target}, Str8{UUI},
                     Str16{UEI}, Str16{CI}, U8(0), U8(shape.code)},
                    {{"\t\tCall\t\t[", ShownUnsigned(call)},
                     {"\t\tDN\t\t[", Masked(DN)},
                     {"\t\tType\t         \t[", "0"},
                     {targetOpening, Masked(target)},
                     {"\t\tUUI\t\t\t\t     \t[", Shown(UUI)}}});
  });
}

}  // namespace

int DivertDeflect(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
                  std::string_view divertDn, std::string_view UUI, std::string_view UEI,
                  std::string_view CI, int gate) {
  return Divert(adapter, shape::kDivertDeflect, "\t\tdivertDn\t         \t[", DN, call, divertDn,
                UUI, UEI, CI, gate);
}

int DivertDirect(OrbaAdapter& adapter, std::string_view DN, std::uint32_t call,
                 std::string_view divertedDn, std::string_view UUI, std::string_view UEI,
                 std::string_view CI, int gate) {
  return Divert(adapter, shape::kDivertDirect, "\t\tdivertedDn\t         \t[", DN, call,
                divertedDn, UUI, UEI, CI, gate);
}

}  // namespace vomtel
