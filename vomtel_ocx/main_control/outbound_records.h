// The outbound and customer records that the request methods build: the call-back customer and
// the campaign from the control's properties, the black-list customer, the campaign list handle
// and the counsel result from the method's arguments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vomtel/vomtel.h"
#include "vomtel_ocx/main_control/main_control_properties.h"

namespace vomtelx {

// The counsel result handed to vomtelSetCounselResult (136 bytes; the library does not read it).
struct CounselResultRecord {
  std::int32_t Gate;        // 0
  std::uint16_t Invoke;     // 4
  std::uint8_t reserved6[2];
  std::int32_t Cpid;        // 8
  std::int32_t Cpsq;        // 12
  std::int32_t GroupId;     // 16
  std::int32_t PartId;      // 20
  std::int32_t AgentId;     // 24
  char EmployeeId[32];      // 28
  std::int32_t BlackList;   // 60
  std::int32_t CallKind;    // 64
  char RsvData[21];         // 68
  char RsvTel[21];          // 89
  char Result[21];          // 110
  std::uint8_t reserved131; // 131
  std::int32_t Clock;       // 132
};
static_assert(sizeof(CounselResultRecord) == 136);
static_assert(offsetof(CounselResultRecord, EmployeeId) == 28);
static_assert(offsetof(CounselResultRecord, RsvData) == 68);
static_assert(offsetof(CounselResultRecord, RsvTel) == 89);
static_assert(offsetof(CounselResultRecord, Result) == 110);
static_assert(offsetof(CounselResultRecord, Clock) == 132);

// Texts longer than the campaign record lets through: the creation is refused (3009) before
// anything is sent.
inline constexpr std::size_t kCampaignPhoneOrderMax = 11;
inline constexpr std::size_t kCampaignUserOptionMax = 201;

// The customer of the call-back insert from the customer properties; every text cut to its field
// less one byte.
CallbackRecord MakeCallbackRecord(const MainControlProperties& p);

// The campaign from the campaign properties and ucCampANI: numbers narrowed to their field's
// width (the low bits kept), texts cut to their field less one byte.
CampaignRecord MakeCampaignRecord(const MainControlProperties& p);

struct BlackListTexts {
  std::u16string_view custKey, custName, custDate, custTel, employeeId;
};
// Zeroes at 0-7, the campaign id at 8, each text up to its field's whole width.
BlackListRecord MakeBlackListRecord(std::int32_t cpid, const BlackListTexts& texts);

struct ListHandleArgs {
  std::int32_t gate;
  std::int16_t invoke;
  std::int32_t campaignId;
  std::int32_t listKind;
  std::u16string_view listMode;
  std::int32_t appKind;
  std::u16string_view fileName;
  std::int32_t listCount;
};
// Gate, the 16-bit invoke id, the constant 1, the campaign, list kind, the first character of the
// list mode, the application kind, the file name (at most 255 bytes) and the list count.
CampaignListHandleRecord MakeListHandleRecord(const ListHandleArgs& args);

struct CounselArgs {
  std::int32_t gate;
  std::int16_t invoke;
  std::int32_t cpid, cpsq, groupId, partId, agentId;
  std::u16string_view employeeId;
  std::int32_t blackList, callKind;
  std::u16string_view rsvData, rsvTel, result;
  std::int32_t clock;
};
// Numbers as given, each text up to its field's whole width.
CounselResultRecord MakeCounselResultRecord(const CounselArgs& args);

}  // namespace vomtelx
