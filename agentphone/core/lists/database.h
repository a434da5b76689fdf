// The lists' view of a database connection: a statement with positional parameters ("?") and
// its values, run to the end. Values always travel as bound parameters, never inside the text.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace agentphone::lists {

// One field as read: nullopt for NULL, else its text (numbers in decimal).
using SqlValue = std::optional<std::string>;

struct Statement {
  std::string sql;                  // with one "?" per parameter
  std::vector<std::string> params;  // texts, UTF-8, bound in order
};

struct SqlResult {
  bool ok = false;
  std::string error;                       // the driver's description when !ok
  std::vector<std::string> columns;        // field names of a query, in order
  std::vector<std::vector<SqlValue>> rows;  // every row of a query, read forward-only

  // Index of a field by name (case-insensitive), or -1.
  int Column(std::string_view name) const;
  // The field of a row as text; NULL and an unknown field read as the empty text.
  std::string Text(size_t row, std::string_view name) const;
};

// Told true when a statement goes on waiting for its database, so that the window can show
// it, and false when the wait has ended; called on the thread that runs the statement.
using WaitNotice = std::function<void(bool waiting)>;

class Database {
 public:
  virtual ~Database() = default;

  // Runs a query and reads all its rows before returning, so the count is known. A connection
  // found broken is reopened once on the next call.
  virtual SqlResult Query(const Statement& statement) = 0;

  // Runs a statement that returns no rows.
  virtual SqlResult Execute(const Statement& statement) = 0;

  // A connection that may keep a statement waiting tells `notice` (empty: nobody) about it.
  virtual void SetWaitNotice(WaitNotice notice) { (void)notice; }
};

}  // namespace agentphone::lists
