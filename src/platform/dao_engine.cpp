// The engine and its databases: opening and creating the file, SQLite errors
// as Jet's numbered errors, statements.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include "dao_internal.h"

namespace dao {
namespace detail {

void raiseClosed() { platform::Raise(3420, QStringLiteral("Object invalid or no longer set.")); }
void raiseNoCurrentRecord() { platform::Raise(3021, QStringLiteral("No current record.")); }
void raiseInvalidOperation() { platform::Raise(3219, QStringLiteral("Invalid operation.")); }
void raiseNotFoundInCollection() { platform::Raise(3265, QStringLiteral("Item not found in this collection.")); }

void raiseSqlite(sqlite3* db, int rc, Doing doing, const QString& path) {
  const QString sqliteText = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
  long number = 3000;
  QString text;
  switch (rc & 0xff) {
    case SQLITE_READONLY:
      number = 3027;
      text = QStringLiteral("Cannot update. Database or object is read-only.");
      break;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
      if (doing == Doing::Writing) {  // typically no right to create the journal
        number = 3027;
        text = QStringLiteral("Cannot update. Database or object is read-only.");
      } else {
        number = 3051;
        text = QStringLiteral("The Microsoft Jet database engine cannot open the file '%1'. It is already "
                              "opened exclusively by another user, or you need permission to view its data.")
                   .arg(path);
      }
      break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      if (doing == Doing::Writing) {
        number = kLockedForWriting;
        text = QStringLiteral("Could not update; currently locked.");
      } else {
        number = kLockedForReading;
        text = QStringLiteral("Could not use '%1'; file already in use.").arg(path);
      }
      break;
    case SQLITE_FULL:
      number = 3026;
      text = QStringLiteral("Not enough space on disk.");
      break;
    case SQLITE_IOERR:
      number = 3043;
      text = QStringLiteral("Disk or network error.");
      break;
    case SQLITE_NOTADB:
      number = 3343;
      text = QStringLiteral("Unrecognized database format '%1'.").arg(path);
      break;
    case SQLITE_CORRUPT:
      number = 3049;
      text = QStringLiteral("Cannot open database '%1'. It may not be a database that your application "
                            "recognizes, or the file may be corrupt.").arg(path);
      break;
    case SQLITE_NOMEM:
      number = 7;
      text = QStringLiteral("Out of memory");
      break;
    default:
      text = QStringLiteral("The database engine failed.");
      break;
  }
  platform::Raise(number, text + QStringLiteral(" (") + sqliteText + QLatin1Char(')'));
}

namespace {

// Another program (a backup, a database browser) may hold the file for a
// moment: every operation waits for it this long before it fails as locked.
constexpr qint64 kBusyWaitMs = 5000;

int waitWhileBusy(void*, int attempt) {
  static QElapsedTimer waiting;
  if (attempt == 0) {
    waiting.start();
    busyWaitBegins();
  }
  const qint64 left = kBusyWaitMs - waiting.elapsed();
  if (left <= 0) return 0;
  // Short naps first, as a brief write is the common case.
  sqlite3_sleep(int(qMin<qint64>(left, attempt < 10 ? 5 * (attempt + 1) : 50)));
  return 1;
}

}  // namespace

void Connection::close() {
  if (!db) return;
  sqlite3_close_v2(db);  // every statement is already finalized
  db = nullptr;
}

Statement::Statement(Connection& conn, const QString& sql, Doing doing) : conn_(conn), doing_(doing) {
  if (!conn.isOpen()) raiseClosed();
  const QByteArray utf8 = sql.toUtf8();
  const int rc = sqlite3_prepare_v2(conn.db, utf8.constData(), int(utf8.size()), &stmt_, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    raiseSqlite(conn.db, rc, doing, conn.path);
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

bool Statement::step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  // The statement's own result code says more than the step's.
  raiseSqlite(conn_.db, sqlite3_extended_errcode(conn_.db), doing_, conn_.path);
}

void Statement::run() {
  while (step()) {
  }
}

void exec(Connection& conn, const QString& sql, Doing doing) { Statement(conn, sql, doing).run(); }

void probeDatabase(Connection& conn) {
  sqlite3_extended_result_codes(conn.db, 1);
  // Reading the schema is what tells a database from any other file; it
  // writes nothing, so a foreign file stays as it was.
  exec(conn, QStringLiteral("SELECT count(*) FROM sqlite_master"), Doing::Opening);
}

void checkFileToOpen(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists() || info.isDir()) platform::Raise(3024, QStringLiteral("Could not find file '%1'.").arg(path));
  // SQLite would take an empty file for an empty database; Jet does not.
  if (info.size() == 0) platform::Raise(3343, QStringLiteral("Unrecognized database format '%1'.").arg(path));
}

std::shared_ptr<Connection> openConnection(const QString& path, bool create, bool readOnly) {
  auto conn = std::make_shared<Connection>();
  conn->path = path;
  // One thread uses a connection: no locking on every call.
  const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX |
                    (create ? SQLITE_OPEN_CREATE : 0);
  const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &conn->db, flags, nullptr);
  if (rc != SQLITE_OK) {
    const QString message = QString::fromUtf8(conn->db ? sqlite3_errmsg(conn->db) : sqlite3_errstr(rc));
    sqlite3_close_v2(conn->db);
    conn->db = nullptr;
    if (!QFileInfo(path).absoluteDir().exists())
      platform::Raise(3044, QStringLiteral("'%1' isn't a valid path. Make sure that the path name is spelled "
                                           "correctly and that you are connected to the server on which the "
                                           "file resides. (%2)")
                                .arg(QFileInfo(path).absolutePath(), message));
    raiseSqlite(nullptr, rc, Doing::Opening, path);
  }
  sqlite3_busy_handler(conn->db, &waitWhileBusy, nullptr);
  probeDatabase(*conn);
  // The one file must always be the whole database: rollback journal, never
  // WAL, and every commit on the disk before the call returns. A read-only
  // file cannot change its mode; it is read as it is.
  if (readOnly) {
    registerHebrewCollation(conn->db);
    return conn;
  }
  try {
    exec(*conn, QStringLiteral("PRAGMA journal_mode=DELETE"), Doing::Opening);
  } catch (const platform::VbError&) {
  }
  exec(*conn, QStringLiteral("PRAGMA synchronous=FULL"), Doing::Opening);
  registerHebrewCollation(conn->db);
  return conn;
}

}  // namespace detail

DBEngine& DBEngine::instance() {
  static DBEngine engine;
  return engine;
}

std::shared_ptr<Database> DBEngine::CreateDatabase(const QString& path, const QString& locale, int options) {
  // One collating order and one file format here; both arguments are Jet's.
  Q_UNUSED(locale);
  Q_UNUSED(options);
  if (QFileInfo::exists(path)) platform::Raise(3204, QStringLiteral("Database already exists."));
  std::shared_ptr<Database> db(new Database());
  db->path_ = path;
  try {
    db->impl_->conn = detail::openConnection(path, true);
    // SQLite writes nothing until the first change; the header makes the new
    // file a database even before it has a table.
    detail::exec(*db->impl_->conn, QStringLiteral("PRAGMA application_id=1346718029"),
                 detail::Doing::Writing);
  } catch (...) {
    if (db->impl_->conn) db->impl_->conn->close();
    QFile::remove(path);  // nothing of a failed creation stays behind
    throw;
  }
  db->loadTableDefs();
  return db;
}

std::shared_ptr<Database> DBEngine::OpenDatabase(const QString& path) { return Database::open(path, false); }

std::shared_ptr<Database> DBEngine::OpenDatabaseReadOnly(const QString& path) { return Database::open(path, true); }

std::shared_ptr<Database> Database::open(const QString& path, bool readOnly) {
  detail::checkFileToOpen(path);
  std::shared_ptr<Database> db(new Database());
  db->path_ = path;
  db->impl_->conn = detail::openConnection(path, false, readOnly);
  db->loadTableDefs();
  return db;
}

void Database::CheckIntegrity() {
  if (!IsOpen()) detail::raiseClosed();
  // quick_check reads every page of every table; it answers "ok" or lists
  // what is wrong, and a page it cannot even parse raises on its own.
  detail::Statement st(*impl_->conn, QStringLiteral("PRAGMA quick_check"), detail::Doing::Reading);
  if (st.step()) {
    const QString first = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    if (first == QLatin1String("ok")) return;
  }
  detail::raiseSqlite(nullptr, SQLITE_CORRUPT, detail::Doing::Reading, path_);
}

Database::Database() : impl_(std::make_unique<Impl>()) { tableDefs_.db_ = this; }

Database::~Database() {
  Close();
  // Table definitions may outlive this object; they must not reach it.
  for (const auto& t : tables_) t->db_ = nullptr;
}

bool Database::IsOpen() const { return impl_->conn && impl_->conn->isOpen(); }

void Database::Close() {
  // Closing twice is harmless: callers close in their error paths too.
  if (impl_->conn) impl_->conn->close();
}

dao::TableDefs& Database::TableDefs() {
  if (!IsOpen()) detail::raiseClosed();
  return tableDefs_;
}

std::shared_ptr<TableDef> Database::CreateTableDef(const QString& name) {
  if (!IsOpen()) detail::raiseClosed();
  return std::make_shared<TableDef>(name);
}

void Database::loadTableDefs() {
  tables_.clear();
  auto& conn = *impl_->conn;
  for (const QString& name : detail::readTableNames(conn)) {
    auto table = std::make_shared<TableDef>(name);
    table->db_ = this;
    table->stored_ = true;
    for (const detail::ColumnInfo& c : detail::readColumns(conn, name)) {
      auto field = std::make_shared<Field>(c.name, c.type, c.size);
      field->required_ = c.required;
      field->allowZeroLength_ = c.allowZeroLength;
      field->appended_ = true;
      table->fields_.items_.append(field);
    }
    tables_.append(table);
  }
}

}  // namespace dao
