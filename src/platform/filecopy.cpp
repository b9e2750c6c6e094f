#include "filecopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

StagedCopy::StagedCopy(const QString& destination) : destination_(destination) {}
StagedCopy::~StagedCopy() = default;  // a copy never placed is removed

bool StagedCopy::take(const QString& source) {
  copy_.reset();
  QFile in(source);
  if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly)) return false;
  auto copy = std::make_unique<FileReplacement>(destination_);
  if (!copy->open()) return false;
  QByteArray chunk;
  while (!(chunk = in.read(1 << 16)).isEmpty())
    if (copy->device()->write(chunk) != chunk.size()) return false;
  if (in.error() != QFileDevice::NoError || !copy->finish()) return false;  // on disk before it replaces anything
  copy_ = std::move(copy);
  return true;
}

bool StagedCopy::place(bool failIfExists) {
  if (!copy_ || !copy_->place(!failIfExists)) return false;
  copy_.reset();
  return true;
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
