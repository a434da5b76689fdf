#include "vomtel/requests/service/ivr_sql.h"

#include "vomtel/requests/service/reply_reader.h"
#include "vomtel/requests/service/service_request.h"

namespace vomtel {

int RegisterCall(OrbaAdapter& adapter, std::uint32_t sid, std::uint32_t callId, std::string_view dn,
                 std::string_view ani, std::string_view callData, std::uint32_t registerOption,
                 int gate) {
  return RunService(adapter, gate,
                    {shape::kRegisterCall,
                     {{callData, kDataLimit}},
                     {U32(sid), U32(callId), Str8{dn}, Str8{ani}, Str16{callData}, U32(registerOption)},
                     {{"\t\tcallid\t\t[", callId},
                      {"\t\tdn\t\t[", LogValue::MaskedNumber(dn)},
                      {"\t\tani\t\t\t\t[", LogValue::MaskedNumber(ani)}}});
}

int ReleaseCall(OrbaAdapter& adapter, std::uint32_t sid, std::uint32_t callId, std::string_view dn,
                std::string_view targetDn, int gate) {
  return RunService(adapter, gate,
                    {shape::kReleaseCall,
                     {},
                     {U32(sid), U32(callId), Str8{dn}, Str8{targetDn}},
                     {{"\t\tcallid\t\t[", callId},
                      {"\t\tdn\t\t[", LogValue::MaskedNumber(dn)},
                      {"\t\ttargetdn\t\t\t\t[", LogValue::MaskedNumber(targetDn)}}});
}

int AllowRouting(OrbaAdapter& adapter, std::uint32_t sid, std::string_view dn, std::uint32_t callId,
                 std::uint32_t isAllow, int gate) {
  return RunService(adapter, gate,
                    {shape::kAllowRouting,
                     {},
                     {U32(sid), U32(callId), Str8{dn}, U32(isAllow)},
                     {{"\t\tsid\t\t[", static_cast<std::int32_t>(sid)},
                      {"\t\tcallid\t\t[", callId},
                      {"\t\tdn\t\t[", dn},
                      {"\t\tisallow\t\t\t\t[", static_cast<std::int32_t>(isAllow)}}});
}

int SQLQuery(OrbaAdapter& adapter, std::string_view device, std::uint16_t recordNo,
             std::uint8_t delimiter, std::uint32_t& rowCount, std::string_view query,
             std::string& rows, int gate) {
  return RunService(adapter, gate,
                    {shape::kSQLQuery,
                     {},
                     {Str8{device}, U16(recordNo), U8(delimiter), Str16{query}},
                     {{"\t\tdevice\t\t[", device},
                      {"\t\trecordNo\t\t[", recordNo},
                      {"\t\tdelimeter\t\t[", delimiter},
                      {"\t\tquery\t\t\t\t[", query}}},
                    [&](RequestExchange& ex) -> int {
                      // Reply data after the head, read whatever the result.
                      ReplyReader in(ex.Reply());
                      const std::uint32_t count = in.U32();
                      SizedString text = in.Str16();
                      if (in.Complete()) {
                        rowCount = count;
                        rows = std::move(text.text);
                      }
                      return SettledOutcome(ex, shape::kSQLQuery, in.Complete());
                    });
}

int SQLExecute(OrbaAdapter& adapter, std::string_view device, std::string_view query, int gate) {
  return RunService(adapter, gate,
                    {shape::kSQLExecute,
                     {},
                     {Str8{device}, Str16{query}},
                     {{"\t\tdevice\t\t[", device}, {"\t\tquery\t\t[", query}}});
}

}  // namespace vomtel
