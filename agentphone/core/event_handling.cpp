// The handling of the event control's vomteleventget: call identifiers and call data into the
// program-wide variables, the state display, the follow-up agent-state command after a call,
// log lines, and the screen pops.
#include <cmath>
#include <exception>
#include <limits>
#include <stdexcept>
#include <vector>

#include "agentphone/core/control_ids.h"
#include "agentphone/core/dispatch_call.h"
#include "agentphone/core/soft_phone.h"
#include "agentphone/core/text_routines.h"

namespace agentphone {
namespace {

// A property text as a 32-bit integer, rounded half to even; anything else is an error that
// ends the handling of the event.
int32_t ToLong(const std::string& text, const char* what) {
  std::optional<double> v = ReadNumber(text);
  if (!v) throw std::runtime_error(std::string(what) + " is not a number: \"" + text + "\"");
  double r = std::nearbyint(*v);
  if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max()) {
    throw std::runtime_error(std::string(what) + " is out of range: \"" + text + "\"");
  }
  return static_cast<int32_t>(r);
}

// Fields of a text split at "^"; an empty text has none.
std::vector<std::string> SplitFields(const std::string& text) {
  std::vector<std::string> fields;
  if (text.empty()) return fields;
  size_t start = 0;
  for (;;) {
    size_t pos = text.find('^', start);
    if (pos == std::string::npos) {
      fields.push_back(text.substr(start));
      return fields;
    }
    fields.push_back(text.substr(start, pos - start));
    start = pos + 1;
  }
}

// Characters [first, first+count) counted from 1, as much of them as the text has.
std::string Mid(const std::string& s, size_t first, size_t count) {
  if (first - 1 >= s.size()) return {};
  return s.substr(first - 1, count);
}

std::string MapQueue(const std::string& queue) {
  if (queue == "1105" || queue == "1106") return "0006";
  if (queue == "1107" || queue == "1108") return "0776";
  if (queue == "1101" || queue == "1102" || queue == "1103" || queue == "1104") return "0038";
  return queue;
}

}  // namespace

void SoftPhone::TELXEvt1_vomteleventget(int32_t EventKind) {
  try {
    HandleEvent(EventKind);
  } catch (const std::exception& e) {
    log_.WriteLog("[EVENT ERROR] " + std::to_string(EventKind) + " : " + e.what());
  } catch (...) {
    log_.WriteLog("[EVENT ERROR] " + std::to_string(EventKind) + " : unknown error");
  }
  Changed();
}

void SoftPhone::EndOfCall() {
  ufButtonSet("HANGUP");
  if (display_.chk_Ready) {
    SoftPhonePort::Call_Function("READY");
    ufButtonSet("READY");
  } else {
    SoftPhonePort::Call_Function("AFTERCALLWORK");
    ufButtonSet("AFTERCALLWORK");
  }
}

void SoftPhone::HandleEvent(int32_t kind) {
  auto text = [this](DISPID id, const char* name) { return GetTextProperty(evt_, id, name); };
  auto callRefId = [&] { return ToLong(text(telxevt::CallRefID, "CallRefID"), "CallRefID"); };

  g_.gMONITORPARTY = text(telxevt::MonitorParty, "MonitorParty");

  switch (kind) {
    case 2:  // Conferenced
      g_.gACTCALLID = g_.gCALLID = callRefId();
      g_.gACTDEVICE = g_.gMONITORPARTY;
      ufButtonSet("CBUSY");
      break;

    case 3: {  // ConnectionCleared
      if (!g_.gCONFERENCE) {
        if (g_.gHELDFLAG != 0) {
          g_.gACTCALLID = g_.gHELDCALLID;
          g_.gACTDEVICE = g_.gHELDDEVICE;
          g_.gCALLID = g_.gHELDCALLID;
          g_.gHELDFLAG = 0;
        } else {
          g_.gACTCALLID = g_.gCALLID = callRefId();
          g_.gACTDEVICE = g_.gMONITORPARTY;
        }
      }
      const std::string cleared = Trim(text(telxevt::OtherParty, "OtherParty"));
      if (cleared == g_.gAGENTDN && !g_.gCONFERENCE) {
        EndOfCall();
        g_.gCONSULT = 0;
      } else if (cleared != g_.gAGENTDN && g_.gCONFERENCE) {
        ufButtonSet("BUSY");
        g_.gCONSULT = 0;
      }
      break;
    }

    case 4: {  // Delivered
      g_.gCALLID = g_.gACTCALLID = callRefId();
      g_.gUEI = text(telxevt::uei, "uei");
      g_.gQUEUECODE = MapQueue(text(telxevt::queueDN, "queueDN"));
      log_.WriteLog("[EVENT orbaEK_Delivered]" + g_.gUEI + "-" + std::to_string(g_.gACTCALLID));
      ufButtonSet(g_.gCONSULT != 0 ? "CONSULT" : "DELIVERED");
      break;
    }

    case 6: {  // Established
      g_.gCALLID = g_.gACTCALLID = callRefId();
      g_.gACTDEVICE = g_.gMONITORPARTY;
      g_.gSTARTTIME = text(telxevt::TimeStamp, "TimeStamp");
      g_.gSTARTYEAR = Mid(g_.gSTARTTIME, 1, 4);
      g_.gSTARTMONTH = Mid(g_.gSTARTTIME, 6, 2);
      g_.gSTARTDAY = Mid(g_.gSTARTTIME, 9, 2);
      g_.gCNID = text(telxevt::cnid, "cnid");
      const std::string url = settings_.Get(kRecordingWebKey) +
                              "/tpw/vlg.vlgCustomFieldUpdateByApLumorJson.ajax?CNID= " + g_.gCNID +
                              "&CUST_ID= ";
      if (parts_.screenPops) {
        std::string custNo;
        parts_.screenPops->SetRecordingData(custNo);
      }
      log_.WriteLog("[EVENT orbaEK_Established]" + g_.gUEI + "-" + std::to_string(g_.gACTCALLID));

      std::string other = text(telxevt::OtherParty, "OtherParty");
      bool outside = false;
      if (other.size() > 8 && (other[0] == '9' || other[0] == '8')) {
        g_.gOUTNUMBER = other;
        other.erase(0, 1);
        outside = true;
      }
      if (g_.gCONSULT == 0) {
        display_.sAninum = FormatPhoneNumber(other);
        ufButtonSet("BUSY");
      } else {
        display_[Button::ImgTransfer] = {true, Picture::ImgTransferOn};
        display_[Button::ImgConference] = {true, Picture::ImgConferenceOn};
        Changed();
      }
      const std::vector<std::string> fields = SplitFields(Trim(g_.gUEI));
      if (fields.size() < 4 && outside && !g_.gCUSTKEY.empty() && parts_.screenPops) {
        std::string regnum, recFile = url, custKey = g_.gCUSTKEY;
        std::string custTel = OnlyDigits(Trim(g_.gOUTNUMBER));
        parts_.screenPops->OutBoundScreenpopup(regnum, recFile, custKey, custTel);
      }
      if (g_.gCONSULT == 0 && fields.size() >= 12 && parts_.screenPops) {
        std::string regnum = fields[5], recFile = url;
        std::string custTel = OnlyDigits(Trim(display_.sAninum)), ingb = g_.gQUEUECODE;
        parts_.screenPops->Screenpopup(regnum, recFile, custTel, ingb);
      }
      break;
    }

    case 8:  // Held
      g_.gHELDFLAG = 1;
      g_.gHELDCALLID = callRefId();
      g_.gHELDDEVICE = g_.gMONITORPARTY;
      ufButtonSet("HOLD");
      break;

    case 10:  // Originated
      g_.gCALLID = callRefId();
      break;

    case 12:  // Retrieved
      g_.gACTCALLID = g_.gHELDCALLID;
      g_.gACTDEVICE = g_.gHELDDEVICE;
      g_.gCALLID = g_.gACTCALLID;
      ufButtonSet("RETRIVAL");
      break;

    case 14:  // Transferred
      if (ToLong(text(telxevt::ThirdPartyCause, "ThirdPartyCause"), "ThirdPartyCause") == 1) {
        EndOfCall();
      } else {
        g_.gACTCALLID = g_.gCALLID = callRefId();
        g_.gACTDEVICE = g_.gMONITORPARTY;
      }
      break;

    case 201: ufButtonSet("LOGIN"); break;
    case 202: ufButtonSet("LOGOUT"); break;
    case 203:
      g_.gREASONCODE = ToLong(text(telxevt::reasoncode, "reasoncode"), "reasoncode");
      ufButtonSet("NOTREADY");
      break;
    case 204: ufButtonSet("READY"); break;
    case 206: ufButtonSet("AFTERCALLWORK"); break;

    case 999:  // every server of the gate is gone
      log_.WriteLog("[EVENT orbaEK_CCSEDown] CTI server down, logged out");
      SoftPhonePort::Call_Function("CLOSESERVERHA");  // the dead gate, so a new login opens afresh
      ufButtonSet("LOGOUT");
      break;

    default:
      break;
  }
}

}  // namespace agentphone
