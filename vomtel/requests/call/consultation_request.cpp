#include "vomtel/requests/call/consultation_request.h"

#include "vomtel/requests/call/call_request.h"

namespace vomtel {

int CheckConsultation(const RequestExchange& exchange, std::string_view UUI, std::string_view UEI,
                      std::string_view CI) {
  if (!exchange.HasSession()) return kNoSession;
  return CheckTexts({{UUI, kUuiLimit}, {UEI, kDataLimit}, {CI, kCiLimit}});
}

int ExchangeConsultation(RequestExchange& exchange, const CallShape& shape, std::string_view DN,
                         std::uint32_t call, std::string_view calledDN, std::string_view UUI,
                         std::string_view accCode, std::string_view authCode,
                         std::string_view UEI, std::string_view CI) {
  return ExchangeCall(exchange, {shape,
                                 {{UUI, kUuiLimit}, {UEI, kDataLimit}, {CI, kCiLimit}},
                                 {U32(call), Str8{DN}, Str8{calledDN}, U8(0), Str8{UUI},
                                  Str8{accCode}, Str8{authCode}, Str16{UEI}, Str16{CI}},
                                 {{"\t\tCall\t\t[", ShownSigned(call)},
                                  {"\t\tDN\t\t[", Masked(DN)},
                                  {"\t\tcalledDN\t\t[", Shown(calledDN)},
                                  {"\t\tUEI\t\t[", Shown(UEI)}}});
}

}  // namespace vomtel
