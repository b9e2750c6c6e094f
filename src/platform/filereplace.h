#pragma once
// Replacing a file whole. The new content is written to a temporary file beside
// the target and renamed over it only when every byte has been written, flushed
// and synced; the folder is synced after the rename, so the new name outlives a
// power cut. Any failure on the way leaves the target exactly as it was. A
// target that exists but is no ordinary file (a folder, a FIFO, a device), or
// one the user may not write, is never replaced; a link to an ordinary file
// replaces the file it names, and a replaced file keeps its mode.
#include <QByteArray>
#include <QString>
#include <QStringList>
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

// Removes what a replacement of `names` in `folder` left behind when the
// program ended in the middle of it: only the temporary files of those names.
void RemoveLeftoverReplacements(const QString& folder, const QStringList& names);
// Removes the files of `folder` named one of `prefixes` (letter case aside)
// followed by six random characters, as a temporary file is named.
void RemoveTemporaryFiles(const QString& folder, const QStringList& prefixes);

// For tests.
namespace filefaults {
// The next `replacements` succeed, every one after them fails at its sync as
// a full or failing disk would, until Clear.
void FailReplacementsAfter(int replacements);
// Placing without replacing as a FAT or exFAT file system meets it: hard
// links refused; and, separately, as a kernel without the rename that
// refuses to replace.
void RefuseHardLinks();
void NoExclusiveRename();
void Clear();
}  // namespace filefaults

}  // namespace platform
