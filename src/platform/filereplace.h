#pragma once
// Replacing a file whole. The new content is written to a temporary file beside
// the target and renamed over it only when every byte has been written, flushed
// and synced; any failure on the way leaves the target exactly as it was. A
// target that exists but is no ordinary file (a folder, a FIFO, a device) is
// never replaced; a link to an ordinary file replaces the file it names.
#include <QByteArray>
#include <QString>
#include <memory>

class QIODevice;
class QTemporaryFile;

namespace platform {

class FileReplacement {
 public:
  explicit FileReplacement(const QString& target);
  ~FileReplacement();  // a replacement never put in place is removed

  bool open();              // makes the temporary file
  QIODevice* device();      // where the new content goes, after open()
  bool finish();            // flushes and syncs it: the content is on disk
  // Renames it onto the target, after finish(); with replace false an existing
  // target is left alone and the placing fails.
  bool place(bool replace = true);
  bool commit() { return finish() && place(); }
  QString errorString() const { return error_; }

 private:
  bool fail(const QString& why);

  QString target_;
  QString error_;
  std::unique_ptr<QTemporaryFile> temp_;
  bool finished_ = false;
};

// The whole file replaced by `bytes`; false (and the reason) when it was not.
bool ReplaceFile(const QString& target, const QByteArray& bytes, QString* reason = nullptr);

// For tests: the next `replacements` succeed, every one after them fails at its
// sync as a full or failing disk would, until Clear.
namespace filefaults {
void FailReplacementsAfter(int replacements);
void Clear();
}  // namespace filefaults

}  // namespace platform
