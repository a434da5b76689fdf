// A database connection as the settings give it, in one text of KEY=VALUE pairs separated by
// ";" (a value may be written in braces to hold ";", "}}" for a brace inside):
//
//   (empty)                                    the embedded database: softphone.db in the desk
//                                              folder, made with the tables and a few demo rows
//                                              when the file is new
//   SQLITE=lists.db                            an embedded database file (relative to the desk
//                                              folder), made with the tables when new
//   MARIADB=db.example;PORT=3306;DATABASE=cc;UID=agent;PWD=secret
//                                              a MySQL-compatible server, native driver
//   DRIVER={MariaDB Unicode};SERVER=...;...    anything else: an ODBC connection text
//
// Every form takes LOGIN_TIMEOUT and QUERY_TIMEOUT in seconds; they are not passed on.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace agentphone::lists {

enum class DbDriver { kSqlite, kMariaDb, kOdbc };

inline constexpr std::string_view kEmbeddedFileName = "softphone.db";
inline constexpr int kDefaultLoginTimeoutSeconds = 5;
inline constexpr int kDefaultQueryTimeoutSeconds = 10;
inline constexpr int kDefaultMariaDbPort = 3306;

struct ConnectionSetting {
  DbDriver driver = DbDriver::kSqlite;
  std::filesystem::path file;  // embedded database
  bool demoRows = false;       // a new embedded file gets the demo rows
  std::string host;            // native driver
  int port = kDefaultMariaDbPort;
  std::string database, user, password;
  std::string odbcText;  // ODBC connection text, time-outs removed
  int loginTimeoutSeconds = kDefaultLoginTimeoutSeconds;
  int queryTimeoutSeconds = kDefaultQueryTimeoutSeconds;
  std::string error;  // not empty when the text cannot be used
};

ConnectionSetting ParseConnectionSetting(std::string_view text,
                                         const std::filesystem::path& deskFolder);

// The pairs of a connection text, keys as written; false when a brace is left open.
bool SplitConnectionText(std::string_view text,
                         std::vector<std::pair<std::string, std::string>>& pairs);

}  // namespace agentphone::lists
