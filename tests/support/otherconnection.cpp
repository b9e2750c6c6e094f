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

int OtherConnection::execWithText(const char* sql, const QByteArray& bytes) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
  if (rc == SQLITE_OK) rc = sqlite3_bind_text(st, 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
  if (rc == SQLITE_OK) rc = sqlite3_step(st) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
  sqlite3_finalize(st);
  return rc;
}

QString OtherConnection::text(const char* sql) { return QString::fromUtf8(bytes(sql)); }

QByteArray OtherConnection::bytes(const char* sql) {
  sqlite3_stmt* st = nullptr;
  QByteArray out;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
    out = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), sqlite3_column_bytes(st, 0));
  sqlite3_finalize(st);
  return out;
}

}  // namespace testsupport
