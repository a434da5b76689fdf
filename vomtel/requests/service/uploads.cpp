#include "vomtel/requests/service/uploads.h"

#include "vomtel/requests/service/service_request.h"

namespace vomtel {

int PutCounsel(OrbaAdapter& adapter, std::string_view cnid, std::int32_t cnsq, std::string_view tag,
               std::string_view attach, int gate) {
  return RunService(adapter, gate,
                    {shape::kPutCounsel,
                     {{attach, kDataLimit}},
                     {Str8{cnid}, U16(cnsq), Str8{tag}, Str16{attach}},
                     {}},
                    [&](const RequestExchange& ex) -> int {
                      WriteOutcome(ex, shape::kPutCounsel, 1);
                      return kOk;
                    });
}

int PutTraceInfo(OrbaAdapter& adapter, std::uint32_t traceNo1, std::uint32_t traceNo2,
                 const TraceTexts& trace, int gate) {
  return OnGate(adapter, gate, [&](RequestExchange& ex) -> int {
    if (CheckTexts({{trace.data, kDataLimit}}) != kOk) return kTextTooLong;
    const auto& t = trace.texts;
    PutFields(ex.BeginBody(), {U32(traceNo1), U32(traceNo2), Str8{t[0]}, Str8{t[1]}, Str8{t[2]}, Str8{t[3]},
                               Str8{t[4]}, Str8{t[5]}, U8(trace.flag), Str8{trace.text7}, Str16{trace.data}});
    if (const int numbered = NumberAndLog(ex, shape::kPutTraceInfo, {}); numbered != kOk) return numbered;
    // The outcome line shows what the send gave, whatever it was.
    const int sent = SendAndAwait(ex, shape::kPutTraceInfo);
    WriteOutcome(ex, shape::kPutTraceInfo, sent);
    return sent;
  });
}

}  // namespace vomtel
