#include "agentphone/core/lists/run_sql.h"

namespace agentphone::lists {

bool RunSql(Database& db, const Statement& statement, int mode, Dialogs& dialogs,
            SqlResult* result) {
  SqlResult r = mode == kRunSqlQuery ? db.Query(statement) : db.Execute(statement);
  const bool ok = r.ok;
  if (!ok) dialogs.ShowMessage(r.error, kProgramTitle, MessageIcon::kNone);
  if (result) *result = std::move(r);
  return ok;
}

}  // namespace agentphone::lists
