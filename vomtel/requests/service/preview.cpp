#include "vomtel/requests/service/preview.h"

#include "vomtel/requests/service/reply_reader.h"
#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

int PreviewMakeCall(OrbaAdapter& adapter, std::uint32_t ciodId, std::uint32_t cpid, std::uint32_t cpsq,
                    std::string_view employeeId, std::uint32_t dialKind, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(ciodId).PutU32(cpid).PutU32(cpsq).PutStr8(employeeId).PutU32(dialKind);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelPreviewMakeCall: gate[", gate, ex.RequestNumber())
               .Field("\t\tciodID\t\t[", ciodId)
               .Field("\t\tcpid\t\t[", cpid)
               .Field("\t\tcpsq\t\t[", cpsq)
               .Field("\t\temployeeID\t\t[", employeeId)
               .Field("\t\tdialkind\t\t[", dialKind)
               .Text());
    if (const int got = SendAndWaitWhole(ex, kServiceClass, 0xF8); got != kOk) return got;
    // Outbound reply, read from the frame's first byte: invoke number at 4-5, result at 6-9.
    ReplyReader in(ex.Reply());
    const std::uint16_t invoke = in.OutboundHead();
    const std::uint32_t result = in.U32();
    if (!in.Complete()) return kReplyMismatch;
    ex.Log(LabelOutcomeLine("vomtelPreviewMakeCall [result][invoke] : [", AsResult(result), invoke));
    return AsResult(result);
  });
}

}  // namespace vomtel
