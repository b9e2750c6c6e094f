#include "toolbar.h"

#include <QAction>
#include <QActionEvent>
#include <QToolButton>

#include "vberror.h"

namespace platform {

Toolbar::Toolbar(QWidget* parent) : QToolBar(parent) {
  setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  setMovable(false);
  setFloatable(false);
}

int Toolbar::AddButton(const QString& caption, const QIcon& icon, Style style) {
  const int index = buttons_.size() + 1;
  QAction* a = nullptr;
  if (style == tbrSeparator) {
    a = addSeparator();
  } else {
    a = addAction(icon, caption);
    a->setCheckable(style == tbrCheck);
    // A disabled action is never triggered, so disabled buttons stay silent.
    connect(a, &QAction::triggered, this, [this, index] { RunHandler([&] { emit ButtonClick(index); }); });
  }
  buttons_.append(a);
  return index;
}

int Toolbar::Count() const { return buttons_.size(); }

QAction* Toolbar::Button(int index) const {
  if (index < 1 || index > buttons_.size()) Raise(35600, QStringLiteral("Index out of bounds"));
  return buttons_[index - 1];
}

void Toolbar::SetToolTip(int index, const QString& text) { Button(index)->setToolTip(text); }

void Toolbar::SetEnabled(int index, bool enabled) { Button(index)->setEnabled(enabled); }

bool Toolbar::IsEnabled(int index) const { return Button(index)->isEnabled(); }

// Only check buttons show a pressed state; a plain button keeps the value so
// that it reads back, as the original control does.
void Toolbar::SetPressed(int index, bool pressed) {
  QAction* a = Button(index);
  if (a->isCheckable())
    a->setChecked(pressed);
  else
    a->setProperty("pressed", pressed);
}

bool Toolbar::IsPressed(int index) const {
  QAction* a = Button(index);
  return a->isCheckable() ? a->isChecked() : a->property("pressed").toBool();
}

void Toolbar::Refresh() {
  update();
  for (QWidget* w : findChildren<QWidget*>()) w->update();
}

void Toolbar::actionEvent(QActionEvent* event) {
  QToolBar::actionEvent(event);
  if (event->type() != QEvent::ActionAdded) return;
  if (auto* button = qobject_cast<QToolButton*>(widgetForAction(event->action())))
    button->setFocusPolicy(Qt::TabFocus);
}

void Toolbar::showEvent(QShowEvent* event) {
  QToolBar::showEvent(event);
  if (focusPlaced_) return;
  focusPlaced_ = true;
  // The buttons come first in the window's focus chain, so the window would
  // open on them: open on its first own control, and Tab reaches the
  // buttons after its last one.
  QWidget* w = window();
  if (w->focusWidget() && !isAncestorOf(w->focusWidget())) return;
  for (QWidget* c = w->nextInFocusChain(); c != w; c = c->nextInFocusChain())
    if (!isAncestorOf(c) && (c->focusPolicy() & Qt::TabFocus) && c->isEnabled() && c->isVisibleTo(w)) {
      c->setFocus(Qt::OtherFocusReason);
      return;
    }
}

// As a user's click: a check button toggles first, then ButtonClick follows.
void Toolbar::Click(int index) {
  QAction* a = Button(index);
  if (a->isSeparator()) return;
  a->trigger();
}

}  // namespace platform
