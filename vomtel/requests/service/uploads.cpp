#include "vomtel/requests/service/uploads.h"

#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

int PutCounsel(OrbaAdapter& adapter, std::string_view cnid, std::int32_t cnsq, std::string_view tag,
               std::string_view attach, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    if (CheckTexts({{attach, kDataLimit}}) != kOk) return kTextTooLong;
    PutData16(ex.BeginBody().PutStr8(cnid).PutU16(static_cast<std::uint16_t>(cnsq)).PutStr8(tag), attach);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelPutCounsel: gate[", gate, ex.RequestNumber()).Text());
    const int sent = ex.SendWithoutReply(kServiceClass, 0xC1);
    if (sent != kOk) return sent;
    ex.Log(LabelOutcomeLine("vomtelPutCounsel [result][invoke] : [", 1, ex.RequestNumber()));
    return kOk;
  });
}

int PutTraceInfo(OrbaAdapter& adapter, std::uint32_t traceNo1, std::uint32_t traceNo2,
                 const TraceTexts& trace, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    if (CheckTexts({{trace.data, kDataLimit}}) != kOk) return kTextTooLong;
    Stream& body = ex.BeginBody().PutU32(traceNo1).PutU32(traceNo2);
    for (std::string_view text : trace.texts) body.PutStr8(text);
    body.PutU8(trace.flag).PutStr8(trace.text7);
    PutData16(body, trace.data);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelPutTraceInfo: gate[", gate, ex.RequestNumber()).Text());
    const int sent = ex.SendWithoutReply(kServiceClass, 0xC0);
    ex.Log(LabelOutcomeLine("PutTraceInfo [result][invoke] : [", sent, ex.RequestNumber()));
    return sent;
  });
}

}  // namespace vomtel
