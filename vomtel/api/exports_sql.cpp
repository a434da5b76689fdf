// Exports that run SQL in the server's database.
#include <string>

#include "vomtel/api/export_guard.h"
#include "vomtel/core/orba_adapter.h"
#include "vomtel/requests/service/ivr_sql.h"
#include "vomtel/vomtel.h"

using namespace vomtel::api;
using vomtel::OrbaAdapter;

extern "C" {

int VOMTEL_CALL vomtelSQLQuery(int gate, int, const char* device, int recordNumber, int delimiter,
                               const UserDataBlock* query, int* rows, UserDataBlock* result) {
  return Export([&] {
    if (!rows || !result) return kNullArgument;
    // The operation writes the row count whenever a reply carried it.
    std::uint32_t rowCount = U32(*rows);
    std::string text;
    const int code = vomtel::SQLQuery(OrbaAdapter::Instance(), Text(device),
                                      static_cast<std::uint16_t>(recordNumber),
                                      LowByte(delimiter), rowCount, BlockText(query), text, gate);
    *rows = static_cast<int>(rowCount);
    if (code == vomtel::kOk) {
      result->Length = static_cast<std::int32_t>(PutText(text, result->Text));
    }
    return code;
  });
}

int VOMTEL_CALL vomtelSQLExecute(int gate, int, const char* device,
                                 const UserDataBlock* statement) {
  return Export([&] {
    return vomtel::SQLExecute(OrbaAdapter::Instance(), Text(device), BlockText(statement), gate);
  });
}

}  // extern "C"
