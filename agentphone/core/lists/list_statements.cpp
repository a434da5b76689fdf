#include "agentphone/core/lists/list_statements.h"

namespace agentphone::lists {

namespace {

// Calls abandoned in the queue before an agent was assigned (table alias A).
constexpr std::string_view kQueueWhere =
    " WHERE A.EVENT_STARTTIME BETWEEN ? AND ?"
    " AND A.QUEUE_ID > 0"
    " AND A.EMPLOYEE_ID = '0'"
    " AND A.ABANDON_TIME IS NOT NULL"
    " AND A.QUEUEWAIT_TIME IS NOT NULL"
    " AND A.NONSERVICE_FLAG IS NULL"
    " AND A.REMOTE_CENTERID IS NULL"
    " AND (A.STEMPLOYEE_ID = '0' OR A.GROUPTRANSFER_FLAG IS NULL)";

// Calls abandoned after distribution to an agent.
constexpr std::string_view kDistributedWhere =
    " where EVENT_STARTTIME BETWEEN ? AND ?"
    " AND CALL_TYPE = 11"
    " AND EMPLOYEE_ID > 0"
    " AND ABANDON_TIME IS NOT NULL"
    " AND QUEUE_ID IS NOT NULL";

constexpr std::string_view kQueueSelect =
    "SELECT EVENT_STARTTIME, ABANDON_TIME, ANI, DNIS, EMPLOYEE_ID, '포기호' AS GB";
constexpr std::string_view kDistributedSelect =
    "SELECT EVENT_STARTTIME, ABANDON_TIME, ANI, DNIS, EMPLOYEE_ID, '분배포기호' AS GB";

void AddQueuePart(Statement& s, std::string_view table, const std::string& from,
                  const std::string& to) {
  s.sql += kQueueSelect;
  s.sql += " FROM ";
  s.sql += table;
  s.sql += " A";
  s.sql += kQueueWhere;
  s.params.push_back(from);
  s.params.push_back(to);
}

void AddDistributedPart(Statement& s, std::string_view table, const std::string& from,
                        const std::string& to) {
  s.sql += kDistributedSelect;
  s.sql += " From ";
  s.sql += table;
  s.sql += kDistributedWhere;
  s.sql += " AND DNIS IS NOT NULL";
  s.params.push_back(from);
  s.params.push_back(to);
}

}  // namespace

Statement CallBackQuery(const std::string& sDate, const std::string& eDate) {
  return {"Select CallBack_Code, Entered_Date, Entered_Time, Ani, Reservation_num,"
          " CallBack_Data01, CallBack_Data02, CallBack_Data03 From Data_CallBack"
          " WHERE Entered_Date BETWEEN ? AND ?",
          {sDate, eDate}};
}

Statement CallBackUpdate(const std::string& outcome, const std::string& attempts,
                         const std::string& callBackCode) {
  return {"update Data_CallBack set CallBack_Data02 = ?, CallBack_Data01 = ?"
          " where Callback_Code = ?",
          {outcome, attempts, callBackCode}};
}

Statement DropCallQuery(std::string_view kind, const std::string& sDate,
                        const std::string& eDate) {
  const std::string from = sDate + "000000";
  const std::string to = eDate + "235959";
  Statement s;
  const bool all = kind == kDropAll;
  if (all || kind == kDropQueue) {
    AddQueuePart(s, "OT_CALLSTAT", from, to);
    s.sql += " UNION ";
    AddQueuePart(s, "BU_OT_CALLSTAT", from, to);
    if (!all) return s;
    s.sql += " UNION ";
  }
  AddDistributedPart(s, "OT_CALLSTAT", from, to);
  s.sql += " UNION ";
  AddDistributedPart(s, "BU_OT_CALLSTAT", from, to);
  return s;
}

Statement CurrentDateQuery() { return {"SELECT CURRENT_DATE AS ufdatetime", {}}; }

}  // namespace agentphone::lists
