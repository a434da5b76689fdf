// Outbound forwarders: arguments straight to the export, the invoke id as 16 bits, records by
// their address in the host's process (a pointer-sized argument); a null record that the
// library reads in any case gives 3009, any other null address goes on to the library.
#include <gtest/gtest.h>

#include "request_case.h"

namespace vomtelx::test {
namespace {

Variant AddressOf(const void* p) {
  return Variant(static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(p)));
}
const Variant kNull = Variant(std::int64_t{0});
const void* NumberAsAddress(std::uint32_t n) {
  return reinterpret_cast<const void*>(std::uintptr_t{n});
}

TEST_F(MainControlTest, ForwardersPassTheirArgumentsStraightOn) {
  BlackListRecord blackList{};
  blackList.Cpid = 41;
  CampaignListHandleRecord handle{};
  handle.CampaignId = 5;
  CallbackRecord callback{};
  callback.CmId = 3;
  CallbackResult answer{};
  CallbackCampaignEntry campaigns[2] = {};
  std::int32_t count = 0;
  CampaignRecord campaign{};

  auto numbers = [](std::vector<std::int64_t> want) {
    return [want](const fake::Call& c) {
      for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(c.Int(i), want[i]) << "argument " << i;
    };
  };
  const std::vector<RequestCase> cases = {
      {"MaxCpsqResult", 120,
       {Variant(1), Variant(2), Variant(3), Variant(4), Variant(5), Variant(6), Variant(7)},
       "vomtelGetMaxCPSQResult", numbers({1, 2, 3, 4, 5, 6, 7})},
      {"BlackList", 121, {Variant(1), Variant(2), Variant(3), AddressOf(&blackList)},
       "vomtelBlackListInsert",
       [&](const fake::Call& c) {
         EXPECT_EQ(c.Pointer(3), &blackList);
         EXPECT_EQ(c.Record<BlackListRecord>(3).Cpid, 41u);
       }},
      {"BlackListWithoutRecord", 121, {Variant(1), Variant(2), Variant(3), kNull}, nullptr, nullptr,
       3009},
      {"BlackListResult", 122, {Variant(1), Variant(2), Variant(3), Variant(4)},
       "vomtelBlackListInsertResult", numbers({1, 2, 3, 4})},
      {"ListHandle", 123, {Variant(1), Variant(2), AddressOf(&handle)}, "vomtelSetCampaignListHandle",
       [&](const fake::Call& c) { EXPECT_EQ(c.Record<CampaignListHandleRecord>(2).CampaignId, 5); }},
      {"ListHandleWithoutRecord", 123, {Variant(1), Variant(2), kNull}, nullptr, nullptr, 3009},
      {"ListHandleResult", 124, {Variant(1), Variant(2), Variant(3), Variant(4)},
       "vomtelSetCampaignListHandleResult", numbers({1, 2, 3, 4}), 2, {},
       [](MainControlTest& t) { t.Script("vomtelSetCampaignListHandleResult", Result(2)); }},
      {"CallbackCampaign", 125,
       {Variant(1), Variant(2), Variant(3), Variant::ByRef(&count), AddressOf(campaigns)},
       "vomtelCallbackCampaign",
       [&](const fake::Call& c) {
         EXPECT_EQ(c.Pointer(3), &count);
         EXPECT_EQ(c.Pointer(4), campaigns);
       }},
      {"CallbackCampaignWithoutEntries", 125,
       {Variant(1), Variant(2), Variant(3), Variant::ByRef(&count), kNull}, nullptr, nullptr, 3009},
      {"CallbackCampaignResultLeavesAnEmptyListToTheLibrary", 126,
       {Variant(1), Variant(2), Variant(3), Variant(4), Variant(std::int16_t{0}), kNull},
       "vomtelCallbackCampaignResult",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(4), 0);
         EXPECT_EQ(c.Pointer(5), nullptr);
       }},
      {"CallbackInsert", 127, {Variant(1), Variant(2), Variant(3), AddressOf(&callback), AddressOf(&answer)},
       "vomtelCallbackListInsert",
       [&](const fake::Call& c) {
         EXPECT_EQ(c.Record<CallbackRecord>(3).CmId, 3u);
         EXPECT_EQ(c.Pointer(4), &answer);
       }},
      {"CallbackInsertWithoutResultRecord", 127,
       {Variant(1), Variant(2), Variant(3), AddressOf(&callback), kNull},
       "vomtelCallbackListInsert",
       [&](const fake::Call& c) {
         EXPECT_EQ(c.Record<CallbackRecord>(3).CmId, 3u);
         EXPECT_EQ(c.Pointer(4), nullptr);
       }},
      {"CallbackInsertWithoutRecord", 127,
       {Variant(1), Variant(2), Variant(3), kNull, AddressOf(&answer)}, nullptr, nullptr, 3009},
      {"CallbackInsertResult", 128,
       {Variant(1), Variant(2), Variant(3), Variant(4), Variant(5), Variant(6), Variant(7)},
       "vomtelCallbackListInsertResult", numbers({1, 2, 3, 4, 5, 6, 7}), 2018,
       {}, [](MainControlTest& t) { t.Script("vomtelCallbackListInsertResult", Result(2018)); }},
      {"CounselResultResult", 129, {Variant(1), Variant(2), Variant(3), Variant(4)},
       "vomtelSetCounselResultResult", numbers({1, 2, 3, 4})},
      // The campaign id is a 32-bit number, handed on where the export has an address.
      {"CreateCampaign", 130, {Variant(1), Variant(2), Variant(7), AddressOf(&campaign)},
       "vomtelCreateCampaign",
       [&](const fake::Call& c) {
         EXPECT_EQ(c.Pointer(2), NumberAsAddress(7));
         EXPECT_EQ(c.Pointer(3), &campaign);
       }},
      {"CreateCampaignWithoutRecordGetsTheLibrarysCode", 130,
       {Variant(1), Variant(2), Variant(7), kNull}, "vomtelCreateCampaign",
       [](const fake::Call& c) { EXPECT_EQ(c.Pointer(3), nullptr); }, 2018, {},
       [](MainControlTest& t) { t.Script("vomtelCreateCampaign", Result(2018)); }},
      {"PreviewMakeCallResult", 131, {Variant(1), Variant(2), Variant(3), Variant(4)},
       "vomtelPreviewMakeCallResult", numbers({1, 2, 3, 4})},
      {"SendPopup", 132, {Variant(1), Variant(2), Variant("emp"), Variant(9)}, "vomtelSendPopup",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Text(2), "emp");
         EXPECT_EQ(c.Pointer(3), NumberAsAddress(9));
       }},
      {"PreviewMakeCall", 133,
       {Variant(1), Variant(2), Variant(3), Variant(4), Variant(5), Variant("emp"), Variant(7)},
       "vomtelPreviewMakeCall",
       [](const fake::Call& c) {
         EXPECT_EQ(c.Int(4), 5);
         EXPECT_EQ(c.Text(5), "emp");
         EXPECT_EQ(c.Int(6), 7);
       }},
  };
  RunRequestTable(*this, cases, lines_);
}

TEST_F(MainControlTest, CallbackCampaignForwarderLetsTheLibraryFillTheHostsRecords) {
  CallbackCampaignEntry wire[2] = {};
  wire[0].CampaignId = 5;
  wire[1].CampaignId = 6;
  Script("vomtelCallbackCampaign", fake::ListAnswer(std::vector<CallbackCampaignEntry>(wire, wire + 2)));
  CallbackCampaignEntry hostEntries[2] = {};
  std::int32_t hostCount = 0;
  EXPECT_EQ(CallLong(125, {Variant(1), Variant(2), Variant(3), Variant::ByRef(&hostCount),
                           AddressOf(hostEntries)}),
            1);
  EXPECT_EQ(hostCount, 2);
  EXPECT_EQ(hostEntries[1].CampaignId, 6);
}

TEST_F(MainControlTest, ForwardersHaveNoHandler) {
  Script("vomtelPreviewMakeCall", Throws("lost"));
  EXPECT_EQ(Call(133, {Variant(1), Variant(2), Variant(3), Variant(4), Variant(5), Variant("e"),
                       Variant(7)}),
            DISP_E_EXCEPTION);
}

}  // namespace
}  // namespace vomtelx::test
