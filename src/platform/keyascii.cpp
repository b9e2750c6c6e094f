#include "keyascii.h"

#include <QKeyEvent>

namespace platform {

int KeyAscii(const QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
      return 0;
    default:
      break;
  }
  if (e->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) return 0;
  const QString t = e->text();
  if (t.isEmpty() || t.at(0).unicode() == 127) return 0;
  return t.at(0).unicode();
}

}  // namespace platform
