#include "errorguard.h"

#include "enterkey.h"
#include "msgbox.h"

namespace platform {

void ReportUnhandledError(const VbError& e) {
  if (ProgramHasEnded()) return;  // nothing more is shown once the program ends
  try {
    MsgBox(e.description.isEmpty() ? QStringLiteral("Error %1").arg(e.number) : e.description, vbExclamation);
  } catch (...) {
  }
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  installEventFilter(new EnterKey(this));  // Enter presses buttons in every window
}

bool Application::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  RunHandler([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace platform
