#include "agentphone/db/background_check.h"

#include "agentphone/core/lists/list_statements.h"

namespace agentphone::db {

void BackgroundCheck::Ask(ConnectionThread& connection) {
  // The date read is not used: the question only proves that the connection answers.
  connection.Post(lists::CurrentDateQuery(), true, [log = log_](const lists::SqlResult& r) {
    if (!r.ok && log) log(r.error);
  });
}

}  // namespace agentphone::db
