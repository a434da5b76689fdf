#include "agentphone/core/screen_pop/pop_urls.h"

#include <initializer_list>

namespace agentphone {
namespace {

std::string Join(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (std::string_view p : pieces) out.append(p);
  return out;
}

}  // namespace

std::string InboundPopUrl(std::string_view customerServer, std::string_view regnum,
                          std::string_view custTel, std::string_view recFile,
                          std::string_view ingb) {
  return Join({customerServer, "/cust/frmPhone.do?reg_no=", regnum, "&tel_no=", custTel,
               "&file_url=", recFile, "&inbound_num=", ingb});
}

std::string OutboundPageUrl(std::string_view customerServer, std::string_view custKey,
                            std::string_view custTel, std::string_view recFile) {
  return Join({customerServer, "/cust/frmUrlSave.do?reg_no=", custKey, "&tel_no=", custTel,
               "&file_url=", recFile});
}

std::string CustomerFieldUpdateUrl(std::string_view recordingServer, std::string_view cnid) {
  return Join({recordingServer, "/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID= ", cnid,
               "&CUST_ID= "});
}

std::string RecordingLinkUrl(const RecordingLink& l) {
  return Join({l.rec, "CustIdLinkage.jsp?RCallID=", l.cnid, "&StartTime=", l.startYear,
               l.startMonth, l.startDay, "&Ext=", l.extension, " &CustId=", l.custNo});
}

}  // namespace agentphone
