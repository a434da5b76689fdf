#include "agentphone/core/lists/database_check.h"

#include "agentphone/core/lists/list_statements.h"

namespace agentphone::lists {

void ConnectionCheck::GetDate(Database& db) {
  const SqlResult r = db.Query(CurrentDateQuery());
  if (!r.ok && log_) log_(r.error);
  // The date read is not used: the question only proves that the connection answers.
}

}  // namespace agentphone::lists
