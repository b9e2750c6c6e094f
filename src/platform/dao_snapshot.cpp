// Whole-database copies: a file's database as one consistent image of bytes,
// and a read-only database over such an image.
#include <cstring>

#include "dao_internal.h"

namespace dao {
namespace {

// Bytes 18 and 19 of the header: the file format's write and read versions,
// 1 for a rollback journal, 2 for a write-ahead log.
constexpr int kFormatVersionOffset = 18;
constexpr char kWalFormat = 2, kRollbackFormat = 1;

}  // namespace

QByteArray DBEngine::Snapshot(const QString& path) {
  detail::checkFileToOpen(path);
  auto conn = detail::openConnection(path, false, true);
  // The pages are read through the engine within one read transaction, so the
  // image holds what any reader sees, log included, and nothing half-written.
  sqlite3_int64 size = 0;
  unsigned char* bytes = sqlite3_serialize(conn->db, "main", &size, 0);
  if (!bytes) {
    const int rc = sqlite3_extended_errcode(conn->db);
    detail::raiseSqlite(conn->db, rc == SQLITE_OK ? SQLITE_NOMEM : rc, detail::Doing::Reading, path);
  }
  QByteArray image(reinterpret_cast<const char*>(bytes), qsizetype(size));
  sqlite3_free(bytes);
  // The log's pages are in the image: marked as a rollback-journal file it is
  // whole on its own, as the engine itself marks a file it takes out of WAL.
  for (int at : {kFormatVersionOffset, kFormatVersionOffset + 1})
    if (image.size() > at && image[at] == kWalFormat) image[at] = kRollbackFormat;
  return image;
}

std::shared_ptr<Database> DBEngine::OpenSnapshot(const QByteArray& image, const QString& name) {
  auto conn = std::make_shared<detail::Connection>();
  conn->path = name;
  if (sqlite3_open_v2(":memory:", &conn->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK)
    detail::raiseSqlite(conn->db, SQLITE_NOMEM, detail::Doing::Opening, name);
  // The engine frees its own copy when the connection closes.
  auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(sqlite3_uint64(qMax<qsizetype>(image.size(), 1))));
  if (!copy) detail::raiseSqlite(nullptr, SQLITE_NOMEM, detail::Doing::Opening, name);
  std::memcpy(copy, image.constData(), size_t(image.size()));
  const int rc = sqlite3_deserialize(conn->db, "main", copy, image.size(), image.size(),
                                     SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY);
  if (rc != SQLITE_OK) detail::raiseSqlite(conn->db, rc, detail::Doing::Opening, name);
  detail::probeDatabase(*conn);
  detail::registerHebrewCollation(conn->db);
  std::shared_ptr<Database> db(new Database());
  db->path_ = name;
  db->impl_->conn = std::move(conn);
  db->loadTableDefs();
  return db;
}

}  // namespace dao
