// Transactions of a database: BeginTrans, CommitTrans, Rollback over one
// SQLite transaction, so that several writes land in the file together or not
// at all (the rollback journal puts the file back even after a crash).
#include "dao_internal.h"

namespace dao {
namespace {

// Ends the transaction with `sql`. When that fails the transaction stays
// only if SQLite kept it (a busy file), for a retry or a Rollback.
void endTransaction(const Database& db, const QString& sql) {
  if (!db.IsOpen()) detail::raiseClosed();
  Database::Impl& d = *db.impl();
  if (!d.inTransaction)
    platform::Raise(3034, QStringLiteral("You tried to commit or roll back a transaction without first beginning "
                                         "a transaction."));
  try {
    detail::exec(*d.conn, sql, detail::Doing::Writing);
  } catch (...) {
    if (sqlite3_get_autocommit(d.conn->db)) d.inTransaction = false;
    throw;
  }
  d.inTransaction = false;
}

}  // namespace

void Database::BeginTrans() {
  if (!IsOpen()) detail::raiseClosed();
  if (impl_->inTransaction)
    platform::Raise(3003, QStringLiteral("Could not start transaction; too many transactions already nested."));
  // The write lock is asked for at once: SQLite waits (the busy handler) for
  // a lock taken at the start, but a reader that later needs to write fails
  // at once when another program holds the file.
  detail::exec(*impl_->conn, QStringLiteral("BEGIN IMMEDIATE"), detail::Doing::Writing);
  impl_->inTransaction = true;
}

// After some failures (a full disk, an I/O error) SQLite has already rolled
// back: the COMMIT then fails and says so.
void Database::CommitTrans() { endTransaction(*this, QStringLiteral("COMMIT")); }

void Database::Rollback() {
  // Nothing left to undo when SQLite already rolled back after a failed write.
  if (IsOpen() && impl_->inTransaction && sqlite3_get_autocommit(impl_->conn->db)) {
    impl_->inTransaction = false;
    return;
  }
  endTransaction(*this, QStringLiteral("ROLLBACK"));
}

}  // namespace dao
