#pragma once
// Runs an action once, from inside whatever wait is running (the program's own
// nested loops included), as soon as a condition holds.
#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace testsupport {

inline void when(QObject* scope, std::function<bool()> condition, std::function<void()> action) {
  auto* timer = new QTimer(scope);
  timer->setInterval(2);
  QObject::connect(timer, &QTimer::timeout, scope, [timer, condition, action] {
    if (!condition()) return;
    timer->stop();
    action();
  });
  timer->start();
}

// Acts on the next real modal dialog of this type once it is shown.
template <class Dialog>
void whenShown(std::function<void(Dialog*)> act) {
  QTimer::singleShot(0, [act] {
    auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!d || !d->isVisible()) {
      QTimer::singleShot(10, [act] { whenShown<Dialog>(act); });
      return;
    }
    act(d);
  });
}

}  // namespace testsupport
