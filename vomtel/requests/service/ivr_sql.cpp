#include "vomtel/requests/service/ivr_sql.h"

#include "vomtel/core/mask_number.h"
#include "vomtel/requests/service/reply_reader.h"
#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

namespace {

// Send, wait, and the literal-label outcome line with the echoed request number.
int ResultOnly(RequestExchange& ex, std::uint8_t cls, std::uint8_t code, std::string_view name) {
  if (const int got = SendAndWait(ex, cls, code); got != kOk) return got;
  if (ex.LogEnabled()) {
    ex.Log(LabelOutcomeLine(std::string(name) + " [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
  }
  return AsResult(ex.Result());
}

}  // namespace

int RegisterCall(OrbaAdapter& adapter, std::uint32_t sid, std::uint32_t callId, std::string_view dn,
                 std::string_view ani, std::string_view callData, std::uint32_t registerOption,
                 int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    if (CheckTexts({{callData, kDataLimit}}) != kOk) return kTextTooLong;
    PutData16(ex.BeginBody().PutU32(sid).PutU32(callId).PutStr8(dn).PutStr8(ani), callData)
        .PutU32(registerOption);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelRegisterCall: gate[", gate, ex.RequestNumber())
               .Field("\t\tcallid\t\t[", callId)
               .Field("\t\tdn\t\t[", MaskNumber(dn))
               .Field("\t\tani\t\t\t\t[", MaskNumber(ani))
               .Text());
    return ResultOnly(ex, kIvrClass, 0x3C, "vomtelRegisterCall");
  });
}

int ReleaseCall(OrbaAdapter& adapter, std::uint32_t sid, std::uint32_t callId, std::string_view dn,
                std::string_view targetDn, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(sid).PutU32(callId).PutStr8(dn).PutStr8(targetDn);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelReleaseCall: gate[", gate, ex.RequestNumber())
               .Field("\t\tcallid\t\t[", callId)
               .Field("\t\tdn\t\t[", MaskNumber(dn))
               .Field("\t\ttargetdn\t\t\t\t[", MaskNumber(targetDn))
               .Text());
    return ResultOnly(ex, kIvrClass, 0x3D, "vomtelReleaseCall");
  });
}

int AllowRouting(OrbaAdapter& adapter, std::uint32_t sid, std::string_view dn, std::uint32_t callId,
                 std::uint32_t isAllow, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(sid).PutU32(callId).PutStr8(dn).PutU32(isAllow);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelAllowRouting: gate[", gate, ex.RequestNumber())
               .Field("\t\tsid\t\t[", static_cast<std::int32_t>(sid))
               .Field("\t\tcallid\t\t[", callId)
               .Field("\t\tdn\t\t[", dn)
               .Field("\t\tisallow\t\t\t\t[", static_cast<std::int32_t>(isAllow))
               .Text());
    return ResultOnly(ex, kIvrClass, 0x3E, "vomtelAllowRouting");
  });
}

int SQLQuery(OrbaAdapter& adapter, std::string_view device, std::uint16_t recordNo,
             std::uint8_t delimiter, std::uint32_t& rowCount, std::string_view query,
             std::string& rows, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    PutData16(ex.BeginBody().PutStr8(device).PutU16(recordNo).PutU8(delimiter), query);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelSQLQuery: gate[", gate, ex.RequestNumber())
               .Field("\t\tdevice\t\t[", device)
               .Field("\t\trecordNo\t\t[", recordNo)
               .Field("\t\tdelimeter\t\t[", delimiter)
               .Field("\t\tquery\t\t\t\t[", query)
               .Text());
    if (const int got = SendAndWait(ex, kServiceClass, 0x5E); got != kOk) return got;
    // Reply data after the head, read whatever the result.
    ReplyReader in(ex.Reply());
    const std::uint32_t count = in.U32();
    SizedString text = in.Str16();
    if (in.Complete()) {
      rowCount = count;
      rows = std::move(text.text);
    }
    ex.Log(LabelOutcomeLine("vomtelSQLQuery [result][invoke] : [", AsResult(ex.Result()),
                            ex.EchoedNumber()));
    return SettleReply(ex.Result(), in.Complete());
  });
}

int SQLExecute(OrbaAdapter& adapter, std::string_view device, std::string_view query, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    PutData16(ex.BeginBody().PutStr8(device), query);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelSQLExecute: gate[", gate, ex.RequestNumber())
               .Field("\t\tdevice\t\t[", device)
               .Field("\t\tquery\t\t[", query)
               .Text());
    return ResultOnly(ex, kServiceClass, 0xA0, "vomtelSQLExecute");
  });
}

}  // namespace vomtel
