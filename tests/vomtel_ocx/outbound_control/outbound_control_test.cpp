#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "fake_library.h"
#include "vomcom/com_ptr.h"
#include "vomcom/dispatch_sink.h"
#include "vomcom/variant.h"
#include "vomtel_ocx/module/control_factories.h"

namespace vomtelx::test {
namespace {

class OutboundControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFake();
    ASSERT_EQ(CreateOutboundControl(IID_IDispatch, control_.PutVoid()), S_OK);
  }
  // vomtelobsetcampaignlisthandleX(gate, invoke, campaign, listkind, listmode, appkind, file,
  // listcount)
  int32_t Call(const std::string& listMode, const std::string& fileName) {
    vomcom::Variant result;
    EXPECT_EQ(vomcom::Invoke(control_.Get(), 1, DISPATCH_METHOD,
                             {vomcom::Variant(int32_t{3}), vomcom::Variant(int16_t{-2}),
                              vomcom::Variant(int32_t{77}), vomcom::Variant(int32_t{5}),
                              vomcom::Variant(listMode), vomcom::Variant(int32_t{9}),
                              vomcom::Variant(fileName), vomcom::Variant(int32_t{1200})},
                             result.Put()),
              S_OK);
    return result.ToI4(-12345);
  }
  vomcom::ComPtr<IDispatch> control_;
};

TEST_F(OutboundControlTest, FillsTheListHandleRecordAndReturnsTheLibraryResult) {
  Fake().listHandleResult = 3014;
  EXPECT_EQ(Call("Append", "list.txt"), 3014);
  ASSERT_EQ(Fake().listHandleCalls, 1);
  EXPECT_EQ(Fake().listHandleGate, 3);
  EXPECT_EQ(Fake().listHandleInvoke, -2);
  const CampaignListHandleRecord& r = Fake().listHandleRecord;
  int32_t gate = 0;
  int16_t invoke = 0;
  std::memcpy(&gate, r.reserved0, 4);
  std::memcpy(&invoke, r.reserved0 + 4, 2);
  EXPECT_EQ(gate, 3);
  EXPECT_EQ(invoke, -2);
  EXPECT_EQ(r.reserved0[6], 0);
  EXPECT_EQ(r.CiodId, 1);
  EXPECT_EQ(r.CampaignId, 77);
  EXPECT_EQ(r.ListKind, 5);
  EXPECT_EQ(r.ListMode, 'A');
  EXPECT_EQ(r.AppKind, 9);
  EXPECT_STREQ(r.FileName, "list.txt");
  EXPECT_EQ(r.ListCount, 1200);
}

TEST_F(OutboundControlTest, OnlyTheFirstLetterOfTheListModeCounts) {
  Call("A", "f");
  const CampaignListHandleRecord one = Fake().listHandleRecord;
  Call("Append", "f");
  EXPECT_EQ(std::memcmp(&one, &Fake().listHandleRecord, sizeof one), 0);
}

TEST_F(OutboundControlTest, LongFileNameIsCutToTheFieldOnACharacterBoundary) {
  Call("A", std::string(300, 'x'));
  EXPECT_EQ(std::string(Fake().listHandleRecord.FileName), std::string(255, 'x'));
  // 254 ASCII bytes and then a two-byte character that would need bytes 254-255.
  Call("A", std::string(254, 'x') + "가");
  EXPECT_EQ(std::string(Fake().listHandleRecord.FileName), std::string(254, 'x'));
}

TEST_F(OutboundControlTest, OffersNoObjectSafety) {
  vomcom::ComPtr<IObjectSafety> safety;
  EXPECT_EQ(control_.As(IID_IObjectSafety, std::addressof(safety)), E_NOINTERFACE);
}

}  // namespace
}  // namespace vomtelx::test
