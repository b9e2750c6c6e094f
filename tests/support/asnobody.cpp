#include "asnobody.h"

#include <QFile>
#include <QtTest>
#include <grp.h>
#include <unistd.h>

namespace testsupport {

// glibc applies these to every thread of the process; the saved user stays
// root, so the way back is open.
AsNobody::AsNobody() {
  groups_.resize(::getgroups(0, nullptr));
  if (::getgroups(int(groups_.size()), groups_.data()) < 0) groups_.clear();
  active_ = ::setgroups(0, nullptr) == 0 && ::setegid(kNobody) == 0 && ::seteuid(kNobody) == 0;
}

AsNobody::~AsNobody() {
  if (::seteuid(0) != 0 || ::setegid(0) != 0 || ::setgroups(groups_.size(), groups_.data()) != 0) ::abort();
}

void giveToNobody(std::initializer_list<QString> paths) {
  for (const QString& path : paths)
    QVERIFY2(::lchown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0, qPrintable(path));
}

void openToEveryone(std::initializer_list<QString> folders) {
  for (const QString& folder : folders)
    QVERIFY2(QFile::setPermissions(folder, QFile::Permissions(0x7777)), qPrintable(folder));
}

}  // namespace testsupport
