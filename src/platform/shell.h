#pragma once
// Handing a file or an address to the desktop (help file, web and mail links)
// and starting a program. Tests record the requests instead.
#include <QString>
#include <QStringList>

namespace platform {

// True when the desktop accepted the request.
bool OpenWithDesktop(const QString& target);
bool StartProgram(const QString& program, const QStringList& arguments = {});

class ShellRecorder {
 public:
  static ShellRecorder& instance();
  void activate(bool acceptRequests = true);  // record instead of opening
  void deactivate();
  bool active() const { return active_; }
  bool accepts() const { return accept_; }
  QStringList requests;  // targets and programs, in order

 private:
  bool active_ = false;
  bool accept_ = true;
};

}  // namespace platform
