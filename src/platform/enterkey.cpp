#include "enterkey.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace platform {

bool IsEnterKey(const QKeyEvent* k) {
  return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
         (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

namespace {

QPushButton* defaultButton(QWidget* window) {
  for (QPushButton* b : window->findChildren<QPushButton*>())
    if (b->isDefault() && b->window() == window && b->isVisible() && b->isEnabled()) return b;
  return nullptr;
}

}  // namespace

bool EnterKey::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (!IsEnterKey(key)) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (qobject_cast<QPushButton*>(widget) || qobject_cast<QToolButton*>(widget)) {
    auto* button = static_cast<QAbstractButton*>(widget);
    if (!button->hasFocus() || !button->isEnabled()) return false;
    button->click();
    return true;
  }
  // Reaching the window means the focused control left the key alone.
  if (widget->isWindow() && !qobject_cast<QDialog*>(widget))
    if (QPushButton* b = defaultButton(widget)) {
      b->click();
      return true;
    }
  return false;
}

}  // namespace platform
