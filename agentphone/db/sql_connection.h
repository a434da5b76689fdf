// One database connection of the lists over Qt's SQL module: the embedded SQLite file, a
// MySQL-compatible server through the native driver, or an ODBC connection text. It opens on
// Open(); a connection found broken (a failed statement, or the embedded file gone from its
// folder) is closed and reopened once at its next use.
#pragma once

#include <sys/types.h>

#include <QString>
#include <functional>
#include <string>

#include "agentphone/core/lists/connection_setting.h"
#include "agentphone/core/lists/database.h"

namespace agentphone::db {

class SqlConnection final : public lists::Database {
 public:
  // `name` is unique per connection of the program. `today` gives the date ("YYYYMMDD") that
  // the demo rows of a new embedded file carry.
  SqlConnection(std::string name, lists::ConnectionSetting setting,
                std::function<std::string()> today = {});
  ~SqlConnection() override;
  SqlConnection(const SqlConnection&) = delete;
  SqlConnection& operator=(const SqlConnection&) = delete;

  // Opens the connection (an embedded file is made with the tables when new). False, with the
  // driver's description in `error`, when it cannot be opened.
  bool Open(std::string* error = nullptr);
  void Close();
  bool IsOpen() const;

  lists::SqlResult Query(const lists::Statement& statement) override;
  lists::SqlResult Execute(const lists::Statement& statement) override;

  // True when text values are sent as UTF-8 bytes (the MySQL dialect over ODBC).
  bool BindsTextAsBytes() const { return textAsBytes_; }
  const lists::ConnectionSetting& Setting() const { return setting_; }

 private:
  lists::SqlResult Run(const lists::Statement& statement, bool rows);
  bool PrepareEmbedded(std::string& error);
  bool EmbeddedFileGone() const;
  std::string SqlFor(const std::string& sql) const;

  QString name_;
  lists::ConnectionSetting setting_;
  std::function<std::string()> today_;
  bool broken_ = false;
  bool textAsBytes_ = false;
  dev_t fileDevice_ = 0;
  ino_t fileInode_ = 0;
};

}  // namespace agentphone::db
