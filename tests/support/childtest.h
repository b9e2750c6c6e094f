#pragma once
// The running test again in a child copy of this test program, for what holds
// for a whole process: the locale the application starts under, or its screen.
#include <QMap>
#include <QString>

namespace testsupport {

// True in the child: there the test does its real work.
bool inChildTest();

struct ChildTestResult {
  bool passed = false;
  QString output;  // what the child printed, to show when it failed
};

// Runs the current test function (its current data row only) of `testClass`
// in a child with these environment variables set, or removed where the
// value is null, and waits for it to end.
ChildTestResult rerunInChild(const char* testClass, const QMap<QString, QString>& environment);

}  // namespace testsupport
