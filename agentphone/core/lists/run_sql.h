// The statement runner of the call-back list.
#pragma once

#include "agentphone/core/dialogs.h"
#include "agentphone/core/lists/database.h"

namespace agentphone::lists {

inline constexpr int kRunSqlQuery = 1;  // any other mode executes without a result set

// Runs a statement over the connection; a failure shows the driver's description in a message
// box and gives false. The rows of a query are handed back in `result` when given.
bool RunSql(Database& db, const Statement& statement, int mode, Dialogs& dialogs,
            SqlResult* result = nullptr);

}  // namespace agentphone::lists
