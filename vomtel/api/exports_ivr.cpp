// Exports of IVR call routing.
#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/data_queries.h"
#include "vomtel/requests/service/ivr_sql.h"
#include "vomtel/vomtel.h"

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelIVRRegisterCall(int gate, int, int first, int second, const char* text1,
                                      const char* text2, const UserDataBlock* uei, int last) {
  return Export([&] {
    return vomtel::RegisterCall(OrbaAdapter::Instance(), U32(first), U32(second), Text(text1),
                                Text(text2), BlockText(uei), U32(last), gate);
  });
}

int VOMTEL_CALL vomtelIVRReleaseCall(int gate, int, int first, int second, const char* dn,
                                     const char* targetDn) {
  return Export([&] {
    return vomtel::ReleaseCall(OrbaAdapter::Instance(), U32(first), U32(second), Text(dn),
                               Text(targetDn), gate);
  });
}

int VOMTEL_CALL vomtelIVRAllowRouting(int gate, int, int first, int second, const char* text,
                                      int last) {
  return Export([&] {
    return vomtel::AllowRouting(OrbaAdapter::Instance(), U32(first), Text(text), U32(second),
                                U32(last), gate);
  });
}

int VOMTEL_CALL vomtelIVRNumberOfWait(int gate, int, uint32_t value, int number,
                                      const char* text, int* count) {
  return Export([&] {
    if (!count) return kNullArgument;
    // The operation writes the count whenever a reply carried it.
    std::uint32_t waiting = U32(*count);
    const int result = vomtel::NumberOfWait(OrbaAdapter::Instance(), static_cast<std::int32_t>(value),
                                            number, Text(text), waiting, gate);
    *count = static_cast<int>(waiting);
    return result;
  });
}

}  // extern "C"
