#include "vomtel/requests/service/campaign_status.h"

#include "vomtel/requests/service/service_exchange.h"

namespace vomtel {

namespace {

// Send, wait, and the first-form outcome line with this request's number.
int ResultOnly(RequestExchange& ex, std::uint8_t code, std::string_view name) {
  if (const int got = SendAndWait(ex, kServiceClass, code); got != kOk) return got;
  ex.LogOutcome(name, AsResult(ex.Result()));
  return AsResult(ex.Result());
}

}  // namespace

int CampaignStatus(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid, std::uint8_t mode,
                   int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(ciod).PutU32(cpid).PutU8(mode);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelCamapignStatus: gate[", gate, ex.RequestNumber())
               .Field("\t\tciod\t\t[", ciod)
               .Field("\t\tcpid\t\t[", cpid)
               .Field("\t\tmode\t\t[", mode)
               .Text());
    return ResultOnly(ex, 0xF0, "vomtelCamapignStatus");
  });
}

int SystemPreview(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid,
                  std::string_view agentId, std::uint8_t mode, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(ciod).PutU32(cpid).PutStr8(agentId).PutU8(mode);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelSystemPreview: gate[", gate, ex.RequestNumber())
               .Field("\t\tciod\t\t[", ciod)
               .Field("\t\tcpid\t\t[", cpid)
               .Field("\t\tagentId\t\t[", agentId)
               .Field("\t\tmode\t\t[", mode)
               .Text());
    return ResultOnly(ex, 0xF1, "vomtelSystemPreview");
  });
}

int CampaignInfo(OrbaAdapter& adapter, std::uint32_t callId, std::string_view sysData, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    PutData16(ex.BeginBody().PutU32(callId), sysData);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelCampaignInfo: gate[", gate, ex.RequestNumber())
               .Field("\t\tcallID\t\t[", callId)
               .Field("\t\tsysData\t\t[", sysData)
               .Text());
    return ResultOnly(ex, 0x8C, "vomtelCampaignInfo");
  });
}

int SystemPreviewState(OrbaAdapter& adapter, std::uint32_t ciod, std::uint32_t cpid,
                       std::string_view agentId, int gate) {
  return Guarded([&]() -> int {
    RequestExchange ex(adapter, gate);
    if (!ex.HasSession()) return kNoSession;
    ex.BeginBody().PutU32(ciod).PutU32(cpid).PutStr8(agentId);
    if (const int numbered = ex.NumberRequest(); numbered != kOk) return numbered;
    ex.Log(RequestLog("vomtelSystemPreviewState: gate[", gate, ex.RequestNumber())
               .Field("\t\tciod\t\t[", ciod)
               .Field("\t\tcpid\t\t[", cpid)
               .Field("\t\tagentId\t\t[", agentId)
               .Text());
    return ResultOnly(ex, 0xF2, "vomtelSystemPreviewState");
  });
}

}  // namespace vomtel
