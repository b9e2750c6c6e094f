#pragma once
// Small files read and written whole, as the two settings files are: every
// write replaces the file through FileReplacement. While a FileBatch of a file
// is open, reads and writes of that file work on one copy in memory, written
// back by commit() as one replacement: after a crash the file is the old one
// or the new one. A batch of a file whose batch is already open joins it, and
// only the outer one writes; without commit() the changes are dropped.
#include <QByteArray>
#include <QString>

namespace platform {

struct WholeFile {
  bool exists = false;  // an ordinary file (or a link to one) is there
  QByteArray bytes;
};

// False, with the reason, when the file is there but cannot be read. Anything
// but an ordinary file reads as no file, so nothing can hang or flood the reader.
bool ReadWholeFile(const QString& path, WholeFile* file, QString* reason = nullptr);
// False, with the reason, when the file was not replaced.
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

class FileBatch {
 public:
  explicit FileBatch(const QString& path);
  ~FileBatch();
  FileBatch(const FileBatch&) = delete;
  FileBatch& operator=(const FileBatch&) = delete;
  // False, with the reason, when the changes were not stored: the file could
  // not be read when the batch began, or not be replaced now.
  bool commit(QString* reason = nullptr);

 private:
  QString path_;
  bool owner_ = false;
};

}  // namespace platform
