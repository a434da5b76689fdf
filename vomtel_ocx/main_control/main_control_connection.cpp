// Server connection methods: open (direct, proxy, two servers), close, the server names and
// device registration. They read the connection properties and let the library write the new
// gate into GateId.
#include <string>

#include "vomtel/vomtel.h"
#include "vomtel_ocx/log/trace_log.h"
#include "vomtel_ocx/main_control/call_records.h"
#include "vomtel_ocx/main_control/main_control.h"
#include "vomtel_ocx/main_control/method_support.h"

namespace vomtelx {
namespace {

// The protocol text and the application flag every open passes.
constexpr char kProtocol[] = "TCPIP";
constexpr int kOpenReserved = 1;
constexpr int kOpenHeaderWord = 0;
// A proxy port of 2 or more takes the proxy open.
constexpr std::int32_t kFirstProxyPort = 2;

}  // namespace

HRESULT Cvomtel_ocxCtrl::vomtelopenserver(const Args&, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelOpenServer ..........! ");
    const DeviceRecord device = MakeDeviceRecord(props_.LinkMode, props_.OpenDevice);
    TraceLog("vomtelOpenServer m_lng_gateid [%d]", props_.GateId);
    TraceLog("vomtelOpenServer deviceDn [%s]", device.Device);
    const std::string server = NarrowText(props_.ServerName);
    const std::string app = NarrowText(props_.AppName);
    if (props_.proxyport < kFirstProxyPort) {
      return vomtelOpenServer(&props_.GateId, 0, &device, server.c_str(), props_.OpenPort,
                              kProtocol, app.c_str(), kOpenReserved, kOpenHeaderWord);
    }
    const std::string proxyIp = NarrowText(props_.proxyip);
    const std::string proxyId = NarrowText(props_.proxyid);
    const std::string proxyPassword = NarrowText(props_.proxypwd);
    return vomtelOpenServerP(&props_.GateId, 0, proxyIp.c_str(), props_.proxyport,
                             proxyId.c_str(), proxyPassword.c_str(), &device, server.c_str(),
                             props_.OpenPort, kProtocol, app.c_str(), kOpenReserved,
                             kOpenHeaderWord);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelopenserverX(const Args&, VARIANT* r) {
  return Caught(r, {}, [&] {
    TraceLog("vomtelopenserver ..........! ");
    const DeviceRecord device = MakeDeviceRecord(props_.LinkMode, props_.OpenDevice);
    const std::string server = NarrowText(props_.ServerName);
    const std::string app = NarrowText(props_.AppName);
    return vomtelOpenServer(&props_.GateId, 0, &device, server.c_str(), props_.OpenPort,
                            kProtocol, app.c_str(), kOpenReserved, kOpenHeaderWord);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelOpenServerHAX(const Args&, VARIANT* r) {
  return Caught(r, {"vomtelOpenserver HAX ex !!!!!!!!!!!!!!"}, [&] {
    TraceLog("vomtelOpenserver HAX..........! ");
    const DeviceRecord device = MakeDeviceRecord(props_.LinkMode, props_.OpenDevice);
    const std::string server = NarrowText(props_.ServerName);
    const std::string standby = NarrowText(props_.ServerName1);
    const std::string app = NarrowText(props_.AppName);
    const int result =
        vomtelOpenServerHA(&props_.GateId, 0, &device, server.c_str(), standby.c_str(),
                           props_.OpenPort, kProtocol, app.c_str(), kOpenReserved,
                           kOpenHeaderWord);
    TraceLog("vomtelOpenserver HAX end result[%d]..........! ", result);
    return result;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelCloseServerX(const Args& a, VARIANT* r) {
  return Caught(r, {"vomtelCloseServer HAX ex !!!!!!!!!!!!!!"}, [&] {
    TraceLog("vomtelCloseServerHA ..........! ");
    const int result = vomtelCloseServerHA(a.I4(0), a.I4(1));
    TraceLog("vomtelCloseServerHA end result[%d]..........! ", result);
    return result;
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelcloseserver(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    TraceLog("vomtelCloseServer ..........! ");
    return vomtelCloseServer(a.I4(0), a.I4(1));
  });
}

HRESULT Cvomtel_ocxCtrl::SetServerNameHA(const Args& a, VARIANT*) {
  props_.ServerName = std::u16string(TextArg(a, 0));
  props_.ServerName1 = std::u16string(TextArg(a, 1));
  MarkModified();
  return S_OK;
}

HRESULT Cvomtel_ocxCtrl::vomteladddevice(const Args& a, VARIANT* r) {
  return Caught(r, {"vomteladddevice CException"}, [&] {
    TraceLog("vomteladddevice ..........! ");
    const DeviceRecord device = MakeDeviceRecord(props_.LinkMode, TextArg(a, 2));
    return vomtelAddDevice(a.I4(0), a.I4(1), &device);
  });
}

}  // namespace vomtelx
