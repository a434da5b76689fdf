#include "agentphone/db/sql_connection.h"

#include <sql.h>
#include <sqlext.h>
#include <sys/stat.h>

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <filesystem>
#include <mutex>

#include "agentphone/db/list_tables.h"

namespace agentphone::db {

namespace {

std::string Text(const QString& s) { return s.toUtf8().toStdString(); }
QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::string ErrorText(const QSqlError& e) {
  std::string t = Text(e.text().trimmed());
  return t.empty() ? std::string("database error") : t;
}

// The database product behind an open ODBC connection ("MariaDB", "MySQL", "SQLite", ...).
std::string OdbcDbmsName(const QSqlDatabase& db) {
  const QVariant h = db.driver()->handle();
  // The driver hands out its connection handle as a plain pointer.
  if (!h.isValid() || (qstrcmp(h.typeName(), "SQLHANDLE") != 0 &&
                       qstrcmp(h.typeName(), "void*") != 0)) {
    return {};
  }
  SQLHANDLE dbc = *static_cast<const SQLHANDLE*>(h.data());
  if (!dbc) return {};
  SQLCHAR name[128] = {};
  SQLSMALLINT len = 0;
  if (!SQL_SUCCEEDED(SQLGetInfo(dbc, SQL_DBMS_NAME, name, sizeof name, &len))) return {};
  return std::string(reinterpret_cast<const char*>(name));
}

// Connections open on threads of their own, and both of the program's may name one embedded
// file: one at a time finds out whether the file is new and makes it, so that a new file gets
// its tables and demo rows once.
std::mutex& EmbeddedMaking() {
  static std::mutex m;
  return m;
}

bool MySqlDialect(const std::string& dbms) {
  return dbms.find("MariaDB") != std::string::npos || dbms.find("MySQL") != std::string::npos;
}

}  // namespace

SqlConnection::SqlConnection(std::string name, lists::ConnectionSetting setting,
                             std::function<std::string()> today)
    : name_(Q(name)), setting_(std::move(setting)), today_(std::move(today)) {}

SqlConnection::~SqlConnection() {
  Close();
  QSqlDatabase::removeDatabase(name_);
}

bool SqlConnection::IsOpen() const {
  return QSqlDatabase::contains(name_) && QSqlDatabase::database(name_, false).isOpen();
}

void SqlConnection::Close() {
  if (QSqlDatabase::contains(name_)) {
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    db.close();
  }
  broken_ = false;
}

bool SqlConnection::Open(std::string* errorOut) {
  std::string error;
  auto fail = [&](std::string e) {
    if (errorOut) *errorOut = e;
    return false;
  };
  if (!setting_.error.empty()) return fail(setting_.error);
  Close();
  const int login = setting_.loginTimeoutSeconds;
  const int query = setting_.queryTimeoutSeconds;
  const char* driver = setting_.driver == lists::DbDriver::kSqlite   ? "QSQLITE"
                       : setting_.driver == lists::DbDriver::kMariaDb ? "QMYSQL"
                                                                       : "QODBC";
  if (!QSqlDatabase::contains(name_)) QSqlDatabase::addDatabase(QString::fromLatin1(driver), name_);
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  if (!db.isValid()) return fail(std::string("database driver ") + driver + " is not available");
  textAsBytes_ = false;
  switch (setting_.driver) {
    case lists::DbDriver::kSqlite:
      db.setDatabaseName(Q(setting_.file.string()));
      db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(query * 1000));
      break;
    case lists::DbDriver::kMariaDb:
      db.setHostName(Q(setting_.host));
      db.setPort(setting_.port);
      db.setDatabaseName(Q(setting_.database));
      db.setUserName(Q(setting_.user));
      db.setPassword(Q(setting_.password));
      db.setConnectOptions(QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1;MYSQL_OPT_READ_TIMEOUT=%2;"
                                          "MYSQL_OPT_WRITE_TIMEOUT=%2")
                               .arg(login)
                               .arg(query));
      break;
    case lists::DbDriver::kOdbc:
      db.setDatabaseName(Q(setting_.odbcText));
      db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%2")
                               .arg(login)
                               .arg(query));
      break;
  }
  if (setting_.driver == lists::DbDriver::kSqlite) {
    if (!PrepareEmbedded(error)) return fail(error);
    return true;
  }
  if (!db.open()) return fail(ErrorText(db.lastError()));
  if (setting_.driver == lists::DbDriver::kOdbc) {
    // This driver pair stores a text value bound as text with a NUL after it (and so finds
    // nothing on an equality test): such values go as UTF-8 bytes, turned back into text in
    // the statement.
    textAsBytes_ = MySqlDialect(OdbcDbmsName(db));
  }
  if (setting_.driver == lists::DbDriver::kMariaDb) {
    QSqlQuery q(db);
    q.exec(QStringLiteral("SET NAMES utf8mb4"));
  }
  return true;
}

bool SqlConnection::PrepareEmbedded(std::string& error) {
  std::lock_guard<std::mutex> making(EmbeddedMaking());
  std::error_code ec;
  const bool isNew = !std::filesystem::exists(setting_.file, ec);
  if (isNew && setting_.file.has_parent_path()) {
    std::filesystem::create_directories(setting_.file.parent_path(), ec);
  }
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  if (!db.open()) {
    error = ErrorText(db.lastError());
    return false;
  }
  QSqlQuery q(db);
  for (const std::string& s : ListTableStatements(Dialect::kSqlite)) {
    if (!q.exec(Q(s))) {
      error = ErrorText(q.lastError());
      db.close();
      return false;
    }
  }
  if (isNew && setting_.demoRows) {
    for (const lists::Statement& s : DemoRowStatements(today_ ? today_() : "20260101")) {
      QSqlQuery insert(db);
      insert.prepare(Q(s.sql));
      for (const std::string& p : s.params) insert.addBindValue(Q(p));
      if (!insert.exec()) {
        error = ErrorText(insert.lastError());
        db.close();
        return false;
      }
    }
  }
  struct stat st {};
  if (::stat(setting_.file.c_str(), &st) != 0) {
    error = "database file " + setting_.file.string() + " cannot be read";
    db.close();
    return false;
  }
  fileDevice_ = st.st_dev;
  fileInode_ = st.st_ino;
  return true;
}

bool SqlConnection::EmbeddedFileGone() const {
  struct stat st {};
  if (::stat(setting_.file.c_str(), &st) != 0) return true;
  return st.st_dev != fileDevice_ || st.st_ino != fileInode_;
}

std::string SqlConnection::SqlFor(const std::string& sql) const {
  if (!textAsBytes_) return sql;
  std::string out;
  out.reserve(sql.size() + 64);
  bool inQuote = false;
  for (char c : sql) {
    if (c == '\'') inQuote = !inQuote;
    if (c == '?' && !inQuote) {
      out += "CONVERT(? USING utf8mb4)";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

lists::SqlResult SqlConnection::Query(const lists::Statement& statement) {
  return Run(statement, true);
}

lists::SqlResult SqlConnection::Execute(const lists::Statement& statement) {
  return Run(statement, false);
}

lists::SqlResult SqlConnection::Run(const lists::Statement& statement, bool rows) {
  lists::SqlResult r;
  if (broken_ || !IsOpen()) {
    std::string error;
    if (!Open(&error)) {
      r.error = error;
      broken_ = true;  // the next use tries again
      return r;
    }
  }
  if (setting_.driver == lists::DbDriver::kSqlite && EmbeddedFileGone()) {
    r.error = "database file " + setting_.file.string() + " is gone";
    Close();
    broken_ = true;
    return r;
  }
  QSqlDatabase db = QSqlDatabase::database(name_, false);
  QSqlQuery q(db);
  q.setForwardOnly(true);
  if (!q.prepare(Q(SqlFor(statement.sql)))) {
    r.error = ErrorText(q.lastError());
    broken_ = true;
    return r;
  }
  for (const std::string& p : statement.params) {
    if (textAsBytes_) {
      q.addBindValue(QByteArray(p.data(), static_cast<qsizetype>(p.size())));
    } else {
      q.addBindValue(Q(p));
    }
  }
  if (!q.exec()) {
    r.error = ErrorText(q.lastError());
    broken_ = true;
    return r;
  }
  if (rows) {
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i) r.columns.push_back(Text(rec.fieldName(i)));
    while (q.next()) {
      std::vector<lists::SqlValue> row;
      row.reserve(static_cast<size_t>(rec.count()));
      for (int i = 0; i < rec.count(); ++i) {
        const QVariant v = q.value(i);
        if (v.isNull()) {
          row.emplace_back(std::nullopt);
        } else if (v.typeId() == QMetaType::QByteArray) {
          const QByteArray b = v.toByteArray();
          row.emplace_back(std::string(b.constData(), static_cast<size_t>(b.size())));
        } else {
          row.emplace_back(Text(v.toString()));
        }
      }
      r.rows.push_back(std::move(row));
    }
    if (q.lastError().isValid()) {
      r.rows.clear();
      r.error = ErrorText(q.lastError());
      broken_ = true;
      return r;
    }
  }
  r.ok = true;
  return r;
}

}  // namespace agentphone::db
