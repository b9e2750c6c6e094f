#pragma once
// Enter as on every desktop, for all windows at once: it presses the focused
// push or tool button, and in a window that is not a dialog an Enter that no
// control took presses the window's default button. Qt's dialogs keep their
// own handling of the default button.
#include <QObject>

class QKeyEvent;

namespace platform {

// Return or the keypad's Enter, with no other modifier.
bool IsEnterKey(const QKeyEvent* key);

class EnterKey : public QObject {
 public:
  using QObject::QObject;

 protected:
  // Installed on the application: sees each key press at every widget it
  // passes on its way up to the window.
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace platform
