// Outbound forwarders: each passes its arguments straight to the export of its name (without
// the trailing X), the invoke id as 16 bits; no log line, no exception handler, no records.
// A record or list that the export reads is given by its address in the host's process, a
// pointer-sized argument. A null address of a record that the library reads or writes in any
// case gives 3009 and the library is not called; any other address goes on as it is, null too
// (the call-back insert's answer, which the library writes only when given, the call-back
// campaign answer's entries, which it reads only for a count above 0, and the addresses of the
// entry points that do nothing).
#include <cstdint>
#include <string>

#include "vomtel/vomtel.h"
#include "vomtel_ocx/main_control/main_control.h"
#include "vomtel_ocx/main_control/method_support.h"

namespace vomtelx {
namespace {

template <class T>
T* Address(const vomcom::Args& a, std::size_t i) {
  return reinterpret_cast<T*>(static_cast<std::uintptr_t>(a.I8(i)));
}

// A 32-bit number where the export has an address argument that it does not read.
void* NumberAsAddress(const vomcom::Args& a, std::size_t i) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(a.I4(i))));
}

}  // namespace

HRESULT Cvomtel_ocxCtrl::vomtelGetMaxCPSQResultX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    return vomtelGetMaxCPSQResult(a.I4(0), a.I4(1), a.I2(2), a.I4(3), a.I4(4), a.I4(5), a.I4(6));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelBlackListInsertX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    const auto* record = Address<const BlackListRecord>(a, 3);
    if (record == nullptr) return VOMTEL_NULL_ARGUMENT;
    return vomtelBlackListInsert(a.I4(0), a.I2(1), a.I4(2), record);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelBlackListInsertResultX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    return vomtelBlackListInsertResult(a.I4(0), a.I4(1), a.I2(2), a.I4(3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelSetCampaignListHandleX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    const auto* record = Address<const CampaignListHandleRecord>(a, 2);
    if (record == nullptr) return VOMTEL_NULL_ARGUMENT;
    return vomtelSetCampaignListHandle(a.I4(0), a.I2(1), record);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelSetCampaignListHandleResulX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    return vomtelSetCampaignListHandleResult(a.I4(0), a.I4(1), a.I2(2), a.I4(3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelCallbackCampaignX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    // The host's count, by reference: the library writes the number of entries there.
    auto* count = reinterpret_cast<std::uint32_t*>(a.Ref(3)->plVal);
    auto* entries = Address<CallbackCampaignEntry>(a, 4);
    if (count == nullptr || entries == nullptr) return VOMTEL_NULL_ARGUMENT;
    return vomtelCallbackCampaign(a.I4(0), a.I2(1), a.I4(2), count, entries);
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelCallbackCampaignResultX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    // The library reads the entries only for a count above 0, and answers 3009 itself then.
    return vomtelCallbackCampaignResult(a.I4(0), a.I4(1), a.I2(2), a.I4(3), a.I2(4),
                                        Address<const CallbackCampaignEntry>(a, 5));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelCallbackListInsertX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    // The answer is written only where the host gives an address for it.
    const auto* record = Address<const CallbackRecord>(a, 3);
    if (record == nullptr) return VOMTEL_NULL_ARGUMENT;
    return vomtelCallbackListInsert(a.I4(0), a.I2(1), a.I4(2), record,
                                    Address<CallbackResult>(a, 4));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelCallbackListInsertResultX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    return vomtelCallbackListInsertResult(a.I4(0), a.I4(1), a.I2(2), a.I4(3), a.I4(4), a.I4(5),
                                          a.I4(6));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelSetCounselResultResultX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    return vomtelSetCounselResultResult(a.I4(0), a.I4(1), a.I2(2), a.I4(3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelCreateCampaignX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    // The library reads neither argument and answers 2018 itself.
    return vomtelCreateCampaign(a.I4(0), a.I2(1), NumberAsAddress(a, 2),
                                Address<const void>(a, 3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelPreviewMakeCallResultX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    return vomtelPreviewMakeCallResult(a.I4(0), a.I4(1), a.I2(2), a.I4(3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelSendPopupX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    const std::string employeeId = NarrowArg(a, 2);
    return vomtelSendPopup(a.I4(0), a.I2(1), employeeId.c_str(), NumberAsAddress(a, 3));
  });
}

HRESULT Cvomtel_ocxCtrl::vomtelPreviewMakeCallX(const Args& a, VARIANT* r) {
  return Uncaught(r, [&] {
    const std::string employeeId = NarrowArg(a, 5);
    return vomtelPreviewMakeCall(a.I4(0), a.I2(1), a.I4(2), a.I4(3), a.I4(4), employeeId.c_str(),
                                 a.I4(6));
  });
}

}  // namespace vomtelx
