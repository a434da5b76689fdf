// The three tables of the lists, as the embedded database creates them and as a test server
// is given them, and the demo rows of a new embedded file.
#pragma once

#include <string>
#include <vector>

#include "agentphone/core/lists/database.h"

namespace agentphone::db {

enum class Dialect { kSqlite, kMySql };

// CREATE TABLE statements (only when missing) of Data_CallBack, OT_CALLSTAT and BU_OT_CALLSTAT.
std::vector<std::string> ListTableStatements(Dialect dialect);

// INSERT statements of a few requests and abandoned calls of the current day (date as
// "YYYYMMDD"), for a first look at the lists.
std::vector<lists::Statement> DemoRowStatements(const std::string& today);

}  // namespace agentphone::db
