#include "vomtel/requests/service/preview.h"

#include "vomtel/requests/service/service_request.h"

namespace vomtel {

int PreviewMakeCall(OrbaAdapter& adapter, std::uint32_t ciodId, std::uint32_t cpid, std::uint32_t cpsq,
                    std::string_view employeeId, std::uint32_t dialKind, int gate) {
  return RunService(adapter, gate,
                    {shape::kPreviewMakeCall,
                     {},
                     {U32(ciodId), U32(cpid), U32(cpsq), Str8{employeeId}, U32(dialKind)},
                     {{"\t\tciodID\t\t[", ciodId},
                      {"\t\tcpid\t\t[", cpid},
                      {"\t\tcpsq\t\t[", cpsq},
                      {"\t\temployeeID\t\t[", employeeId},
                      {"\t\tdialkind\t\t[", dialKind}}},
                    [](RequestExchange& ex) { return OutboundOutcome(ex, shape::kPreviewMakeCall); });
}

}  // namespace vomtel
