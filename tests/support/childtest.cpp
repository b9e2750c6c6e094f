#include "childtest.h"

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

namespace testsupport {

namespace {
// Names the one test class the child runs (read by the test program's main);
// a user may set it too, to run one class by hand.
constexpr char kChildClass[] = "PELMORA_TEST_CLASS";
// Set only in a child this support started.
constexpr char kInChild[] = "PELMORA_CHILD_TEST";
}  // namespace

bool inChildTest() { return qEnvironmentVariableIsSet(kInChild); }

ChildTestResult rerunInChild(const char* testClass, const QMap<QString, QString>& environment) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QString::fromLatin1(kChildClass), QString::fromLatin1(testClass));
  env.insert(QString::fromLatin1(kInChild), QStringLiteral("1"));
  for (auto it = environment.begin(); it != environment.end(); ++it) {
    if (it.value().isNull()) env.remove(it.key());
    else env.insert(it.key(), it.value());
  }
  QString function = QString::fromLatin1(QTest::currentTestFunction());
  if (const char* tag = QTest::currentDataTag()) function += QLatin1Char(':') + QString::fromUtf8(tag);

  QProcess child;
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(), {function});
  ChildTestResult result;
  // No time limit of its own: a busy machine may take long; ctest's limit ends a hung run.
  if (!child.waitForFinished(-1)) {
    result.output = child.errorString();
    return result;
  }
  result.output = QString::fromUtf8(child.readAll());
  result.passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
  return result;
}

}  // namespace testsupport
