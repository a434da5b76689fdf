// Exports that upload trace and counsel records (sent without waiting for a reply).
#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/uploads.h"
#include "vomtel/vomtel.h"

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelPutTraceInfo(int gate, int, int first, int second, const char* text1,
                                   const char* text2, const char* text3, const char* text4,
                                   const char* text5, const char* text6, int number,
                                   const char* text7, const UserDataBlock* trace) {
  return Export([&] {
    vomtel::TraceTexts texts;
    texts.texts = {Text(text1), Text(text2), Text(text3), Text(text4), Text(text5), Text(text6)};
    texts.flag = LowByte(number);
    texts.text7 = Text(text7);
    texts.data = BlockText(trace);
    return vomtel::PutTraceInfo(OrbaAdapter::Instance(), U32(first), U32(second), texts, gate);
  });
}

int VOMTEL_CALL vomtelPutCounselInfo(int gate, int, const char* cnid, int cnsq, const char* tag,
                                     const UserDataBlock* attachment) {
  return Export([&] {
    return vomtel::PutCounsel(OrbaAdapter::Instance(), Text(cnid), cnsq, Text(tag),
                              BlockText(attachment), gate);
  });
}

}  // extern "C"
