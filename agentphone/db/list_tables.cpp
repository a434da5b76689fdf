#include "agentphone/db/list_tables.h"

namespace agentphone::db {

namespace {
std::string StatTable(const char* name, Dialect d) {
  const char* text = d == Dialect::kSqlite ? "TEXT" : "VARCHAR(32)";
  const char* num = d == Dialect::kSqlite ? "INTEGER" : "INT";
  std::string s = std::string("CREATE TABLE IF NOT EXISTS ") + name + " (" +
                  "EVENT_STARTTIME " + (d == Dialect::kSqlite ? "TEXT" : "VARCHAR(14)") +
                  " NOT NULL, ABANDON_TIME " + num + ", ANI " + text + ", DNIS " + text +
                  ", EMPLOYEE_ID " + num + ", QUEUE_ID " + num + ", QUEUEWAIT_TIME " + num +
                  ", NONSERVICE_FLAG " + text + ", REMOTE_CENTERID " + text +
                  ", STEMPLOYEE_ID " + num + ", GROUPTRANSFER_FLAG " + text + ", CALL_TYPE " +
                  num + ")";
  if (d == Dialect::kMySql) s += " CHARACTER SET utf8mb4";
  return s;
}
}  // namespace

std::vector<std::string> ListTableStatements(Dialect d) {
  const bool lite = d == Dialect::kSqlite;
  std::string callBack = std::string("CREATE TABLE IF NOT EXISTS Data_CallBack (") +
                         "CallBack_Code " + (lite ? "TEXT" : "VARCHAR(40)") +
                         " NOT NULL PRIMARY KEY, Entered_Date " +
                         (lite ? "TEXT" : "VARCHAR(8)") + ", Entered_Time " +
                         (lite ? "TEXT" : "VARCHAR(6)") + ", Ani " +
                         (lite ? "TEXT" : "VARCHAR(32)") + ", Reservation_num " +
                         (lite ? "TEXT" : "VARCHAR(32)") + ", CallBack_Data01 " +
                         (lite ? "TEXT" : "VARCHAR(16)") + ", CallBack_Data02 " +
                         (lite ? "TEXT" : "VARCHAR(40)") + ", CallBack_Data03 " +
                         (lite ? "TEXT" : "VARCHAR(32)") + ")";
  if (!lite) callBack += " CHARACTER SET utf8mb4";
  return {callBack, StatTable("OT_CALLSTAT", d), StatTable("BU_OT_CALLSTAT", d)};
}

std::vector<lists::Statement> DemoRowStatements(const std::string& today) {
  return {
      {"INSERT INTO Data_CallBack VALUES ('CB0001', ?, '091510', '0212345678', '01098765432',"
       " NULL, NULL, '1201')",
       {today}},
      {"INSERT INTO Data_CallBack VALUES ('CB0002', ?, '103000', '0317654321', '0317654321',"
       " '1', '부재중', '1202')",
       {today}},
      {"INSERT INTO OT_CALLSTAT VALUES (?, 25, '01055551234', '1201', 0, 3, 25, NULL, NULL, 0,"
       " NULL, 1)",
       {today + "093012"}},
      {"INSERT INTO OT_CALLSTAT VALUES (?, 8, '0262223333', '1203', 2041, 3, 4, NULL, NULL, 0,"
       " NULL, 11)",
       {today + "111503"}},
  };
}

}  // namespace agentphone::db
