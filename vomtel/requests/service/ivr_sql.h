// IVR call routing (class 0x57) and SQL run in the server's database on the client's behalf.
// The SQL text goes to the server exactly as the caller wrote it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vomtel {

class OrbaAdapter;

// 0x57 0x3C: registers a call with its data (`callData` at most 1024 bytes).
int RegisterCall(OrbaAdapter& adapter, std::uint32_t sid, std::uint32_t callId, std::string_view dn,
                 std::string_view ani, std::string_view callData, std::uint32_t registerOption,
                 int gate);
// 0x57 0x3D: releases a call to a target number.
int ReleaseCall(OrbaAdapter& adapter, std::uint32_t sid, std::uint32_t callId, std::string_view dn,
                std::string_view targetDn, int gate);
// 0x57 0x3E: allows or refuses the routing of a call (the body carries sid, call id, dn, isallow).
int AllowRouting(OrbaAdapter& adapter, std::uint32_t sid, std::string_view dn, std::uint32_t callId,
                 std::uint32_t isAllow, int gate);
// 0x45 0x5E: runs `query`; the reply's row count and rows (one text, rows and columns
// separated by `delimiter`) go to `rowCount` and `rows`, whatever the result.
int SQLQuery(OrbaAdapter& adapter, std::string_view device, std::uint16_t recordNo,
             std::uint8_t delimiter, std::uint32_t& rowCount, std::string_view query,
             std::string& rows, int gate);
// 0x45 0xA0: runs a statement.
int SQLExecute(OrbaAdapter& adapter, std::string_view device, std::string_view query, int gate);

}  // namespace vomtel
