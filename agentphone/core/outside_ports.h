// Modules of the program that the main window's core calls out to and that live beside it:
// the screen pops and HTTP notifications, the database check, and the dial-request listener.
// Each is implemented in its own module; the core is given them at construction (a null port
// does nothing).
#pragma once

#include <cstdint>
#include <string>

namespace agentphone {

class ScreenPops {
 public:
  virtual ~ScreenPops() = default;
  // Inbound screen pop of an established call.
  virtual void Screenpopup(std::string& Regnum, std::string& RecFile, std::string& CustTel,
                           std::string& ingb) = 0;
  // Outbound page call of an established outbound call; arms Timer2.
  virtual void OutBoundScreenpopup(std::string& Regnum, std::string& RecFile,
                                   std::string& CustKey, std::string& CustTel) = 0;
  // Recording-link notification (Timer2).
  virtual void NewRecDataSend(std::string& v_cnid, std::string& v_custno) = 0;
  // Customer-field notification of an established call.
  virtual void SetRecordingData(std::string& CustNo) = 0;
  // Closes a browser window by the handle that a screen pop kept (0 does nothing).
  virtual void CloseBrowserWindow(int64_t handle) = 0;
};

class DatabaseCheck {
 public:
  virtual ~DatabaseCheck() = default;
  // Each asks its connection for the current date; failures go to the program's log.
  virtual void GetDate01() = 0;  // statistics connection
  virtual void GetDate02() = 0;  // call-back connection
};

class DialRequestListener {
 public:
  virtual ~DialRequestListener() = default;
  // Resets the connection counter and listens on the port (0: any free port).
  virtual void StartListening(int32_t port) = 0;
};

}  // namespace agentphone
