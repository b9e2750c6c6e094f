#include "filecopy.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <QDir>

namespace platform {

StagedCopy::StagedCopy(const QString& destination) : destination_(destination) {}
StagedCopy::~StagedCopy() = default;  // a copy never placed is removed

bool StagedCopy::take(const QString& source) {
  temp_.reset();
  QFile in(source);
  if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly)) return false;
  const QFileInfo dest(destination_);
  auto temp = std::make_unique<QTemporaryFile>(dest.absolutePath() + QStringLiteral("/.") + dest.fileName() +
                                               QStringLiteral(".XXXXXX"));
  if (!temp->open()) return false;
  QByteArray chunk;
  while (!(chunk = in.read(1 << 16)).isEmpty())
    if (temp->write(chunk) != chunk.size()) return false;
  if (in.error() != QFileDevice::NoError || !temp->flush()) return false;
#ifdef Q_OS_UNIX
  if (::fsync(temp->handle()) != 0) return false;  // on disk before it replaces anything
#endif
#ifdef Q_OS_UNIX
  const mode_t mask = ::umask(0);  // reading the mask means setting it: put it back
  ::umask(mask);
  if (::fchmod(temp->handle(), 0666 & ~mask) != 0) return false;
#endif
  temp->close();
  temp_ = std::move(temp);
  return true;
}

bool StagedCopy::place(bool failIfExists) {
  if (!temp_) return false;
  bool placed = false;
  if (failIfExists) {
    // Renaming a temporary file never replaces an existing one.
    placed = !QFileInfo::exists(destination_) && temp_->rename(destination_);
  } else {
    // The system's rename replaces the destination in one step.
    placed = std::rename(QFile::encodeName(temp_->fileName()).constData(),
                         QFile::encodeName(destination_).constData()) == 0;
  }
  if (placed) {
    temp_->setAutoRemove(false);  // its name is now the destination's
    temp_.reset();
  }
  return placed;
}

QString FindFileIgnoringCase(const QString& folder, const QString& name) {
  QDir dir(folder);
  const QString exact = dir.filePath(name);
  if (QFileInfo::exists(exact)) return exact;
  const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& entry : entries)
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
  return exact;
}

bool CopyFile(const QString& source, const QString& destination, bool failIfExists) {
  if (failIfExists && QFileInfo::exists(destination)) return false;
  StagedCopy copy(destination);
  return copy.take(source) && copy.place(failIfExists);
}

}  // namespace platform
