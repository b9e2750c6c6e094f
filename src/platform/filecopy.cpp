#include "filecopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

StagedCopy::StagedCopy(const QString& destination) : destination_(destination) {}
StagedCopy::~StagedCopy() = default;  // a copy never placed is removed

bool StagedCopy::write(const std::function<bool(QIODevice&)>& fill) {
  copy_.reset();
  auto copy = std::make_unique<FileReplacement>(destination_);
  if (!copy->open() || !fill(*copy->device()) || !copy->finish()) return false;  // on disk before it replaces anything
  copy_ = std::move(copy);
  return true;
}

bool StagedCopy::take(const QString& source) {
  copy_.reset();
  QFile in(source);
  if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly)) return false;
  return write([&](QIODevice& out) {
    QByteArray chunk;
    while (!(chunk = in.read(1 << 16)).isEmpty())
      if (out.write(chunk) != chunk.size()) return false;
    return in.error() == QFileDevice::NoError;
  });
}

bool StagedCopy::hold(const QByteArray& content) {
  return write([&](QIODevice& out) { return out.write(content) == content.size(); });
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

namespace {

// A new copy at destination; with failIfExists an existing one is left alone.
bool copyTo(const QString& destination, bool failIfExists, const std::function<bool(StagedCopy&)>& take) {
  if (failIfExists && QFileInfo::exists(destination)) return false;
  StagedCopy copy(destination);
  return take(copy) && copy.place(failIfExists);
}

}  // namespace

bool CopyFile(const QString& source, const QString& destination, bool failIfExists) {
  return copyTo(destination, failIfExists, [&](StagedCopy& copy) { return copy.take(source); });
}

bool PutFile(const QByteArray& content, const QString& destination, bool failIfExists) {
  return copyTo(destination, failIfExists, [&](StagedCopy& copy) { return copy.hold(content); });
}

}  // namespace platform
