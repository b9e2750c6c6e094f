#pragma once
// Runs an action once, from inside whatever wait is running (the program's own
// nested loops included), as soon as a condition holds.
#include <QObject>
#include <QTimer>
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

}  // namespace testsupport
