#include "smalldisk.h"

#include <QDir>
#include <QFile>
#include <sys/mount.h>

namespace testsupport {
namespace {
QString fillerName(const QString& folder) { return folder + QStringLiteral("/.filler"); }
}  // namespace

SmallDisk::SmallDisk(const QString& folder, int kilobytes) : folder_(folder) {
  const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
  mounted_ = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) == 0;
  if (mounted_) QDir::setCurrent(folder);  // the old current directory is the folder under the mount
}

SmallDisk::~SmallDisk() {
  if (!mounted_) return;
  QDir::setCurrent(QDir::rootPath());
  ::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
  QDir::setCurrent(folder_);
}

void SmallDisk::fill(qint64 room) {
  QFile filler(fillerName(folder_));
  if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) return;
  // Big blocks first, then single pages, until the disk refuses.
  for (qint64 block : {qint64(64 * 1024), qint64(4096)}) {
    const QByteArray bytes(block, 'f');
    while (filler.write(bytes) == block) {
    }
    filler.unsetError();
  }
  filler.close();
  if (room > 0) filler.resize(filler.size() - room);
}

void SmallDisk::empty() { QFile::remove(fillerName(folder_)); }

}  // namespace testsupport
