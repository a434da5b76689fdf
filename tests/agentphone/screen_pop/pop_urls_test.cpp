#include "agentphone/core/screen_pop/pop_urls.h"

#include <gtest/gtest.h>

namespace agentphone {
namespace {

TEST(PopUrls, PiecesJoinedUnchanged) {
  const std::string rec = CustomerFieldUpdateUrl("http://rec", "C77");
  EXPECT_EQ(rec, "http://rec/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID= C77&CUST_ID= ");
  EXPECT_EQ(CustomerFieldUpdateUrl("http://rec", ""),
            "http://rec/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID= &CUST_ID= ");

  EXPECT_EQ(InboundPopUrl("http://crm", "R5", "0212345678", rec, "0776"),
            "http://crm/cust/frmPhone.do?reg_no=R5&tel_no=0212345678&file_url=" + rec +
                "&inbound_num=0776");
  EXPECT_EQ(InboundPopUrl("http://crm", "", "", "", ""),
            "http://crm/cust/frmPhone.do?reg_no=&tel_no=&file_url=&inbound_num=");
  EXPECT_EQ(OutboundPageUrl("http://crm", "K 1", "01012345678", rec),
            "http://crm/cust/frmUrlSave.do?reg_no=K 1&tel_no=01012345678&file_url=" + rec);

  EXPECT_EQ(RecordingLinkUrl({"http://rec/rec/", "C77", "2026", "12", "10", "3001", "K1"}),
            "http://rec/rec/CustIdLinkage.jsp?RCallID=C77&StartTime=20261210&Ext=3001 &CustId=K1");
}

}  // namespace
}  // namespace agentphone
