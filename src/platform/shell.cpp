#include "shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace platform {

ShellRecorder& ShellRecorder::instance() {
  static ShellRecorder r;
  return r;
}
void ShellRecorder::activate(bool acceptRequests) {
  active_ = true;
  accept_ = acceptRequests;
  requests.clear();
}
void ShellRecorder::deactivate() { active_ = false; }

bool OpenWithDesktop(const QString& target) {
  auto& rec = ShellRecorder::instance();
  if (rec.active()) {
    rec.requests << target;
    return rec.accepts();
  }
  QUrl url = QUrl::fromUserInput(target);
  return QDesktopServices::openUrl(url);
}

bool StartProgram(const QString& program, const QStringList& arguments) {
  auto& rec = ShellRecorder::instance();
  if (rec.active()) {
    rec.requests << (arguments.isEmpty() ? program : program + ' ' + arguments.join(' '));
    return rec.accepts();
  }
  return QProcess::startDetached(program, arguments);
}

}  // namespace platform
