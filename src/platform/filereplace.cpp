#include "filereplace.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

int replacementsLeft = -1;  // -1: no fault set

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
  const QFileInfo info(target_);
  auto temp = std::make_unique<QTemporaryFile>(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                               QStringLiteral(".XXXXXX"));
  if (!temp->open()) return fail(temp->errorString());
  temp_ = std::move(temp);
  return true;
}

QIODevice* FileReplacement::device() { return temp_.get(); }

bool FileReplacement::finish() {
  if (!temp_) return false;
  // QFile buffers: a full disk shows itself at the flush, not at the write.
  if (temp_->error() != QFileDevice::NoError || !temp_->flush()) return fail(temp_->errorString());
  if (replacementsLeft == 0) return fail(QString::fromLocal8Bit(std::strerror(EIO)));
  if (::fsync(temp_->handle()) != 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
  if (::fchmod(temp_->handle(), modeFor(target_)) != 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
  temp_->close();
  if (temp_->error() != QFileDevice::NoError) return fail(temp_->errorString());
  if (replacementsLeft > 0) --replacementsLeft;
  finished_ = true;
  return true;
}

bool FileReplacement::place(bool replace) {
  if (!temp_ || !finished_) return false;
  const QByteArray from = QFile::encodeName(temp_->fileName()), to = QFile::encodeName(target_);
  if (replace) {
    // rename() replaces the target in one step: readers see the old or the new file.
    if (std::rename(from.constData(), to.constData()) != 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
    temp_->setAutoRemove(false);  // its name is now the target's
  } else {
    // link() never replaces an existing name; the temporary name then goes.
    if (::link(from.constData(), to.constData()) != 0) return fail(QString::fromLocal8Bit(std::strerror(errno)));
  }
  temp_.reset();
  return true;
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

void filefaults::FailReplacementsAfter(int replacements) { replacementsLeft = std::max(0, replacements); }
void filefaults::Clear() { replacementsLeft = -1; }

}  // namespace platform
