#include "otherconnection.h"

#include <QFile>

namespace testsupport {

OtherConnection::OtherConnection(const QString& path) {
  sqlite3_open_v2(QFile::encodeName(path), &db, SQLITE_OPEN_READWRITE, nullptr);
}

OtherConnection::~OtherConnection() { sqlite3_close(db); }

int OtherConnection::exec(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

bool OtherConnection::keepChangesInLog() {
  return text("PRAGMA journal_mode=WAL") == QLatin1String("wal") && exec("PRAGMA wal_autocheckpoint=0") == SQLITE_OK;
}

QString OtherConnection::text(const char* sql) {
  sqlite3_stmt* st = nullptr;
  QString out;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
    out = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  return out;
}

}  // namespace testsupport
