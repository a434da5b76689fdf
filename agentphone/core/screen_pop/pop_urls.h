// The URLs of the screen pops and the notifications. The pieces are joined unchanged: nothing
// is encoded here, and the blanks inside the literals belong to them.
#pragma once

#include <string>
#include <string_view>

namespace agentphone {

// customer server + "/cust/frmPhone.do?reg_no=" Regnum "&tel_no=" CustTel "&file_url=" RecFile
// "&inbound_num=" ingb
std::string InboundPopUrl(std::string_view customerServer, std::string_view regnum,
                          std::string_view custTel, std::string_view recFile,
                          std::string_view ingb);

// customer server + "/cust/frmUrlSave.do?reg_no=" CustKey "&tel_no=" CustTel "&file_url=" RecFile
std::string OutboundPageUrl(std::string_view customerServer, std::string_view custKey,
                            std::string_view custTel, std::string_view recFile);

// recording server + "/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID= " cnid "&CUST_ID= "
std::string CustomerFieldUpdateUrl(std::string_view recordingServer, std::string_view cnid);

struct RecordingLink {
  std::string_view rec;  // the REC setting, trimmed: prefix of "CustIdLinkage.jsp"
  std::string_view cnid;
  std::string_view startYear, startMonth, startDay;
  std::string_view extension;  // trimmed
  std::string_view custNo;
};

// rec + "CustIdLinkage.jsp?RCallID=" cnid "&StartTime=" YYYYMMDD "&Ext=" ext " &CustId=" custNo
std::string RecordingLinkUrl(const RecordingLink& link);

}  // namespace agentphone
