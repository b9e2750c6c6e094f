#pragma once
// Copying and finding files as the program's data files need it. A copy is written to a
// temporary file beside its destination and renamed into place, so a copy that
// fails part way never leaves half a file where the destination was.
#include <QString>
#include <functional>
#include <memory>

#include "filereplace.h"

namespace platform {

// folder + name; when no entry has exactly that name but one differs from it
// only in letter case, that one (as Windows finds it).
QString FindFileIgnoringCase(const QString& folder, const QString& name);

// Like the system's CopyFile: true when the destination holds a copy of the
// source. With failIfExists an existing destination is left alone and the copy
// fails.
bool CopyFile(const QString& source, const QString& destination, bool failIfExists);
// The same with content already read (a database's snapshot).
bool PutFile(const QByteArray& content, const QString& destination, bool failIfExists);

// A copy of a file's content taken now and put in place later: the content is
// the source's as it was when taken, even when the source is replaced meanwhile.
// The copy never gets the source's permissions (a copy from a read-only backup
// must stay writable): a replaced destination keeps its own, a new one gets a
// new file's.
class StagedCopy {
 public:
  explicit StagedCopy(const QString& destination);
  ~StagedCopy();
  bool take(const QString& source);        // copies the source beside the destination
  bool hold(const QByteArray& content);    // the same with content already read
  bool place(bool failIfExists);           // renames the taken copy onto the destination

 private:
  bool write(const std::function<bool(QIODevice&)>& fill);

  QString destination_;
  std::unique_ptr<FileReplacement> copy_;
};

}  // namespace platform
