#include "otheruser.h"

#include <QFile>
#include <QtTest>
#include <pwd.h>
#include <sys/fsuid.h>
#include <unistd.h>

namespace testsupport {

FileAccessAs::FileAccessAs(const char* user) {
  if (::geteuid() != 0) return;
  const passwd* pw = ::getpwnam(user);
  QVERIFY2(pw, user);
  uid_ = ::setfsuid(pw->pw_uid);
  gid_ = ::setfsgid(pw->pw_gid);
  switched_ = true;
  // setfsuid answers with the previous value: asking again tells whether it took.
  QCOMPARE(uid_t(::setfsuid(pw->pw_uid)), pw->pw_uid);
}

FileAccessAs::~FileAccessAs() {
  if (!switched_) return;
  ::setfsuid(uid_);
  ::setfsgid(gid_);
}

void openToEveryone(const QString& folder) {
  QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x7777)));
}

}  // namespace testsupport
