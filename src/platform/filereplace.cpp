#include "filereplace.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

int replacementsLeft = -1;  // -1: no fault set
bool refuseHardLinks = false;
bool noExclusiveRename = false;

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// The file a write lands in: links followed, so a link to the settings file
// keeps pointing at it. Empty when the target exists but is no ordinary file.
QString landingPath(const QString& target) {
  const QFileInfo info(target);
  if (info.isSymLink() && info.exists()) return info.isFile() ? info.canonicalFilePath() : QString();
  if (info.exists() && !info.isFile()) return QString();
  return target;
}

// A new file gets what the program's files get; a replaced one keeps its own.
mode_t modeFor(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);  // reading the mask means setting it: put it back
  ::umask(mask);
  return 0666 & ~mask;
}

// The part of a temporary name taken from the target's name: all of it, or as
// much as leaves room for the dot and the ".XXXXXX" within the folder's limit.
QString temporaryStem(const QString& folder, const QString& name) {
  long limit = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
  if (limit <= 0) limit = 255;
  QString stem = name;
  while (!stem.isEmpty() && QFile::encodeName(stem).size() + 8 > limit) {
    stem.chop(1);
    if (!stem.isEmpty() && stem.back().isHighSurrogate()) stem.chop(1);
  }
  return stem;
}

// ".<name>.": what a temporary file's name begins with before its six random
// characters.
QString temporaryPrefix(const QString& folder, const QString& name) {
  return QLatin1Char('.') + temporaryStem(folder, name) + QLatin1Char('.');
}

// True for the six random characters ending a temporary file's name,
// QTemporaryFile's letters and digits; a word of one kind ("backup",
// "202612") is a name the user gave a copy of their own.
bool isTemporarySuffix(const QString& suffix) {
  static const QRegularExpression random(QStringLiteral("^[A-Za-z0-9]{6}$"));
  if (!random.match(suffix).hasMatch()) return false;
  const auto has = [&](auto kind) { return std::any_of(suffix.begin(), suffix.end(), kind); };
  const int kinds = int(has([](QChar c) { return c.isLower(); })) + int(has([](QChar c) { return c.isUpper(); })) +
                    int(has([](QChar c) { return c.isDigit(); }));
  return kinds >= 2;
}

// The rename that never replaces an existing name; a hard link where the
// kernel or the file system lacks it. Either way the name appears whole.
int placeExclusively(const char* from, const char* to) {
  int rc = -1;
  if (noExclusiveRename) errno = EINVAL;
  else rc = ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
  if (rc == 0 || (errno != EINVAL && errno != ENOSYS)) return rc;
  if (refuseHardLinks) {
    errno = EPERM;  // as FAT and exFAT answer
    return -1;
  }
  if (::link(from, to) != 0) return -1;
  ::unlink(from);
  return 0;
}

// The folder's own entry synced, so a rename survives a power cut. A file
// system that cannot sync a folder says EINVAL: there is nothing more to do.
bool syncFolder(const QString& folder, QString* error) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    *error = systemError(errno);
    return false;
  }
  const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
  if (!synced) *error = systemError(errno);
  ::close(fd);
  return synced;
}

}  // namespace

FileReplacement::FileReplacement(const QString& target) : target_(landingPath(target)) {}
FileReplacement::~FileReplacement() = default;

bool FileReplacement::fail(const QString& why) {
  error_ = why;
  temp_.reset();
  return false;
}

bool FileReplacement::open() {
  temp_.reset();
  finished_ = false;
  if (target_.isEmpty()) return fail(QStringLiteral("Not an ordinary file"));
  const QByteArray target = QFile::encodeName(target_);
  // A file the user may not write is not replaced, although its folder would
  // let a rename do it; asked as the user, since root may write any file.
  struct stat st {};
  if (::lstat(target.constData(), &st) == 0 && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
    return fail(systemError(errno));
  const QFileInfo info(target_);
  auto temp = std::make_unique<QTemporaryFile>(info.absolutePath() + QLatin1Char('/') +
                                               temporaryPrefix(info.absolutePath(), info.fileName()) +
                                               QStringLiteral("XXXXXX"));
  if (!temp->open()) return fail(temp->errorString());
  temp_ = std::move(temp);
  return true;
}

QIODevice* FileReplacement::device() { return temp_.get(); }

bool FileReplacement::finish() {
  if (!temp_) return false;
  // QFile buffers: a full disk shows itself at the flush, not at the write.
  if (temp_->error() != QFileDevice::NoError || !temp_->flush()) return fail(temp_->errorString());
  if (replacementsLeft == 0) return fail(systemError(EIO));
  if (::fsync(temp_->handle()) != 0) return fail(systemError(errno));
  if (::fchmod(temp_->handle(), modeFor(target_)) != 0) return fail(systemError(errno));
  temp_->close();
  if (temp_->error() != QFileDevice::NoError) return fail(temp_->errorString());
  if (replacementsLeft > 0) --replacementsLeft;
  finished_ = true;
  return true;
}

bool FileReplacement::place(bool replace) {
  if (!temp_ || !finished_) return false;
  const QByteArray from = QFile::encodeName(temp_->fileName()), to = QFile::encodeName(target_);
  // rename() replaces the target in one step: readers see the old or the new file.
  const int rc = replace ? std::rename(from.constData(), to.constData()) : placeExclusively(from, to);
  if (rc != 0) return fail(systemError(errno));
  temp_->setAutoRemove(false);  // its name is now the target's
  temp_.reset();
  return syncFolder(QFileInfo(target_).absolutePath(), &error_);
}

bool ReplaceFile(const QString& target, const QByteArray& bytes, QString* reason) {
  FileReplacement file(target);
  if (!file.open()) {
    if (reason) *reason = file.errorString();
    return false;
  }
  const QString writeError = file.device()->write(bytes) == bytes.size() ? QString() : file.device()->errorString();
  if (writeError.isEmpty() && file.commit()) return true;
  if (reason) *reason = writeError.isEmpty() ? file.errorString() : writeError;
  return false;
}

void RemoveTemporaryFiles(const QString& folder, const QStringList& prefixes) {
  QDir dir(folder);
  const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& entry : entries)
    for (const QString& prefix : prefixes)
      if (entry.startsWith(prefix, Qt::CaseInsensitive) && isTemporarySuffix(entry.mid(prefix.size()))) {
        dir.remove(entry);
        break;
      }
}

void RemoveLeftoverReplacements(const QString& folder, const QStringList& names) {
  QStringList prefixes;
  for (const QString& name : names) prefixes << temporaryPrefix(folder, name);
  RemoveTemporaryFiles(folder, prefixes);
}

void filefaults::FailReplacementsAfter(int replacements) { replacementsLeft = std::max(0, replacements); }
void filefaults::RefuseHardLinks() { refuseHardLinks = true; }
void filefaults::NoExclusiveRename() { noExclusiveRename = true; }
void filefaults::Clear() {
  replacementsLeft = -1;
  refuseHardLinks = false;
  noExclusiveRename = false;
}

}  // namespace platform
