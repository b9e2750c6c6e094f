#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>

#include "filereplace.h"

namespace platform {
namespace {

struct OpenBatch {
  WholeFile file;
  bool readable = true;
  QString readError;
  bool changed = false;
};
QMap<QString, OpenBatch> g_batches;  // by the path the batch was opened with

bool readFromDisk(const QString& path, WholeFile* file, QString* reason) {
  *file = WholeFile();
  const QFileInfo info(path);
  if (!info.exists() || !info.isFile()) return true;
  QFile f(path);
  QByteArray bytes;
  if (f.open(QIODevice::ReadOnly)) bytes = f.readAll();
  if (!f.isOpen() || f.error() != QFileDevice::NoError) {
    if (reason) *reason = f.errorString();
    return false;
  }
  file->exists = true;
  file->bytes = bytes;
  return true;
}

}  // namespace

bool ReadWholeFile(const QString& path, WholeFile* file, QString* reason) {
  const auto batch = g_batches.constFind(path);
  if (batch == g_batches.constEnd()) return readFromDisk(path, file, reason);
  *file = batch->file;
  if (!batch->readable && reason) *reason = batch->readError;
  return batch->readable;
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* reason) {
  const auto batch = g_batches.find(path);
  if (batch == g_batches.end()) return ReplaceFile(path, bytes, reason);
  // A file that could not be read is never replaced.
  if (!batch->readable) {
    if (reason) *reason = batch->readError;
    return false;
  }
  batch->file = WholeFile{true, bytes};
  batch->changed = true;
  return true;
}

FileBatch::FileBatch(const QString& path) : path_(path) {
  if (g_batches.contains(path)) return;  // joins the batch already open
  OpenBatch& batch = g_batches[path];
  batch.readable = readFromDisk(path, &batch.file, &batch.readError);
  owner_ = true;
}

FileBatch::~FileBatch() {
  if (owner_) g_batches.remove(path_);
}

bool FileBatch::commit(QString* reason) {
  if (!owner_) return true;  // the outer batch writes
  const OpenBatch batch = g_batches.take(path_);
  owner_ = false;
  if (!batch.readable) {
    if (reason) *reason = batch.readError;
    return false;
  }
  return !batch.changed || ReplaceFile(path_, batch.file.bytes, reason);
}

}  // namespace platform
