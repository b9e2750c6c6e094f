#pragma once
// The last line of defence: an error that no procedure handled is shown to
// the user (its description in an exclamation box) and the program goes on.
// Every event Qt dispatches passes through Application::notify (RunHandler
// there), so nothing thrown by a handler ever unwinds through the event loop.
#include <QApplication>

#include "vberror.h"

namespace platform {

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace platform
