// The program-wide variables of the agent program, one instance for the whole run, each under
// its own name. The main window's core owns the one instance and hands it by reference to the
// modules that read or write it (dispatcher, event handling, dial-request server, screen pops,
// dialogs and lists). Texts are UTF-8. Everything runs on the user-interface thread: no locks.
#pragma once

#include <cstdint>
#include <string>

namespace agentphone {

struct Globals {
  // Gate and invoke counter that every control method takes first. gGATEID is refreshed from
  // the main control's GateId before every command; gINVOKEID steps by one after each counted
  // method call and wraps within its type.
  int32_t gGATEID = 0;
  int32_t gINVOKEID = 0;

  // The agent's identity, set before the login.
  std::string gAGENTID;     // trimmed agent ID
  std::string gAGENTDN;     // the agent's extension
  std::string gAGENTDATA;   // "100" at login
  std::string gAGENTGROUP;  // "101" at login

  // Server and web settings.
  std::string gCTIIP;    // primary CTI server ([CTIINFO] IP; the built-in address after OPENSERVER)
  std::string gbkCTIIP;  // standby CTI server ([CTIINFO] IP2)
  std::string gCTIPORT;  // CTI server port as text ([CTIINFO] PORT; the built-in one after OPENSERVER)
  std::string gREC;      // [SOFTPHONE] REC, trimmed: prefix of the recording-link page

  // Call state kept by the event handling.
  int32_t gCALLID = 0;         // current call
  int32_t gACTCALLID = 0;      // active call (transfer, conference, reconnect)
  std::string gACTDEVICE;      // device of the active call
  int32_t gHELDCALLID = 0;     // the call put on hold
  std::string gHELDDEVICE;     // MonitorParty of the held event
  int32_t gHELDFLAG = 0;       // 1 from a held event until a cleared connection restores it
  std::string gMONITORPARTY;   // MonitorParty of the last event of any kind
  std::string gUEI;            // UEI of the last delivered call: fields separated by "^"
  std::string gQUEUECODE;      // queue number of the last delivered call, mapped
  std::string gCNID;           // recording call id of the last established call
  std::string gSTARTTIME;      // TimeStamp of the last established call
  std::string gSTARTYEAR;      // its characters 1-4
  std::string gSTARTMONTH;     // its characters 6-7
  std::string gSTARTDAY;       // its characters 9-10
  std::string gOUTNUMBER;      // other party of an outbound call (over 8 characters, 9 or 8 first)

  // Agent and call modes.
  int32_t gREASONCODE = 0;     // not-ready reason 0-3
  int32_t gCONSULT = 0;        // consultation in progress when not 0
  int32_t gCONSULTMODE = 0;    // what the consultation timer sends: 1 consultation call
  bool gCONFERENCE = false;    // set by the conference button, cleared by the state display
  bool gDBFLAG = false;        // [SOFTPHONE] DB read as the number 1 at start-up

  // Dialog results.
  std::string gDIALNUMBER;     // number handed back by the dial pad or the consultation dialog
  int16_t gDIALMODE = 0;       // why a dial dialog was opened: 1 make call, 2 consultation

  // Customer keys of the dial-request server and the outbound screen pop.
  std::string gCUSTKEY;        // customer key of the last dialled request
  std::string gCUSTKEYSENT;    // the key kept for the delayed recording link

  // Ready agents filled by "ReadyGet": records of employee_id|device|blendmode|continuetime^.
  std::string gREADYLIST;
  int32_t gREADYCOUNT = 0;

  // Browser windows of the screen pops (handles given by the browser adapter; 0 = none).
  // mPOPHWND is held by the main window and set to 0 when it loads.
  int64_t mPOPHWND = 0;
  int64_t gOUTPOPHWND = 0;
};

}  // namespace agentphone
