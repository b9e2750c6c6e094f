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

bool GiveToNobody(const QString& path) {
  return ::lchown(QFile::encodeName(path).constData(), kNobody, kNobody) == 0;
}

void openToEveryone(const QString& folder) {
  QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x7777)));
}

}  // namespace testsupport
