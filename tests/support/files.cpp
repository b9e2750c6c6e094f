#include "files.h"

#include <QFile>
#include <QtTest>

namespace testsupport {

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
  QCOMPARE(f.write(bytes), bytes.size());
  QVERIFY2(f.flush(), qPrintable(path));
}

}  // namespace testsupport
