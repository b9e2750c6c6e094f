#include "realprogram.h"

#include <sys/stat.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>

namespace testsupport {

namespace {

// /proc/locks lists every flock() with its owner and the locked inode:
// "1: FLOCK  ADVISORY  WRITE 4711 08:01:123456 0 EOF".
bool pidLocksInode(qint64 pid, quint64 inode) {
  QFile locks(QStringLiteral("/proc/locks"));
  if (!locks.open(QIODevice::ReadOnly)) return false;
  const QByteArray pidText = QByteArray::number(pid);
  const QByteArray inodeSuffix = ':' + QByteArray::number(inode);
  for (const QByteArray& line : locks.readAll().split('\n')) {
    const QList<QByteArray> f = line.simplified().split(' ');
    if (f.size() > 5 && f[1] == "FLOCK" && f[4] == pidText && f[5].endsWith(inodeSuffix)) return true;
  }
  return false;
}

}  // namespace

RealProgram::RealProgram(const QString& binary, const QString& folder) : folder_(folder) {
  process_.setWorkingDirectory(folder);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());  // not the real user's settings
  process_.setProcessEnvironment(env);
  process_.start(binary, {});
}

RealProgram::~RealProgram() {
  if (running()) killHard();
}

bool RealProgram::waitUntilHoldsFolder() {
  struct stat st {};
  if (!process_.waitForStarted(60000) || ::stat(QFile::encodeName(folder_).constData(), &st) != 0) return false;
  // Generous: the start-up of a busy machine; it ends as soon as it holds.
  QDeadlineTimer deadline(60000);
  while (running() && !deadline.hasExpired()) {
    if (pidLocksInode(process_.processId(), quint64(st.st_ino))) return true;
    QTest::qWait(50);
  }
  return false;
}

bool RealProgram::waitUntilInEventLoop() {
  if (!process_.waitForStarted(60000)) return false;
  const QString wchan = QStringLiteral("/proc/%1/wchan").arg(process_.processId());
  QDeadlineTimer deadline(60000);
  while (running() && !deadline.hasExpired()) {
    QFile f(wchan);
    if (f.open(QIODevice::ReadOnly) && f.readAll().contains("poll")) return true;
    QTest::qWait(50);
  }
  return false;
}

void RealProgram::killHard() {
  process_.kill();
  process_.waitForFinished(60000);
}

}  // namespace testsupport
