#pragma once
// A second SQLite connection to a file, as another program (a database
// browser, a backup tool) would hold it: its own writes and its own locks.
#include <sqlite3.h>

#include <QByteArray>
#include <QString>

namespace testsupport {

class OtherConnection {
 public:
  explicit OtherConnection(const QString& path);
  ~OtherConnection();
  OtherConnection(const OtherConnection&) = delete;
  OtherConnection& operator=(const OtherConnection&) = delete;
  int exec(const char* sql);
  // Write-ahead log on, never checkpointed while this connection lives: its
  // writes stay in the -wal file, as a database tool can leave them.
  bool keepChangesInLog();
  int exec(const QString& sql) { return exec(sql.toUtf8().constData()); }
  // Runs `sql` with its one parameter bound to exactly these bytes as text,
  // as a program writing another encoding (Windows-1255, cut UTF-8) does.
  int execWithText(const char* sql, const QByteArray& bytes);
  // The first column of the first row, as text ("" when there is none).
  QString text(const char* sql);
  // The same, as the bytes stored.
  QByteArray bytes(const char* sql);
  sqlite3* db = nullptr;
};

}  // namespace testsupport
