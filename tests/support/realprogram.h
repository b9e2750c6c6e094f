#pragma once
// The real program binary started in a folder, as a user's double click
// would start it: offscreen, with per-user settings of its own.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

class RealProgram {
 public:
  // Starts the binary with `folder` as its current directory.
  RealProgram(const QString& binary, const QString& folder);
  ~RealProgram();  // kills it if still running
  QProcess& process() { return process_; }
  bool running() const { return process_.state() == QProcess::Running; }
  // Waits until the program holds its lock on the folder (false when it ended
  // or never did).
  bool waitUntilHoldsFolder();
  // Waits until it sits in its event loop (a window or a message shown):
  // the kernel says where it waits (false when it ended or never got there).
  bool waitUntilInEventLoop();
  void killHard();  // SIGKILL, as a crash or `kill -9` ends it

 private:
  QTemporaryDir config_;
  QString folder_;
  QProcess process_;
};

}  // namespace testsupport
