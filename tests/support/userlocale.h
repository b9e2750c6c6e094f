#pragma once
// The user's locale for one test alone: Qt's default locale (what the program
// reads and shows numbers in) set from Qt's own data, the one before put back
// when the test ends.
#include <QLocale>

namespace testsupport {

class UserLocale {
 public:
  explicit UserLocale(const QString& name) { QLocale::setDefault(QLocale(name)); }
  ~UserLocale() { QLocale::setDefault(before_); }
  UserLocale(const UserLocale&) = delete;
  UserLocale& operator=(const UserLocale&) = delete;

 private:
  QLocale before_;
};

}  // namespace testsupport
