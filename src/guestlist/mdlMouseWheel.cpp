#include "mdlMouseWheel.h"

#include <QPointer>
#include <QWheelEvent>

#include "guestlist/frmPelmora.h"
#include "platform/vb.h"
#include "platform/vberror.h"

namespace mdlMouseWheel {
namespace {

class WheelFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
    auto* wheel = static_cast<QWheelEvent*>(event);
    const int delta = wheel->angleDelta().y();
    if (delta != 0 && frmPelmora::IsLoaded()) {
      int keys = 0;
      if (wheel->modifiers() & Qt::ShiftModifier) keys |= 0x4;    // MK_SHIFT
      if (wheel->modifiers() & Qt::ControlModifier) keys |= 0x8;  // MK_CONTROL
      const QPointF pos = wheel->position();
      platform::RunHandler([&] {
        frmPelmora::Default().MouseWheel(keys, delta, qRound(vb::PixelsToTwipsX(int(pos.x()))),
                                         qRound(vb::PixelsToTwipsY(int(pos.y()))));
      });
    }
    return true;  // the grid's own scrolling is replaced
  }
};

QPointer<QWidget> g_HookedHwnd;
QPointer<WheelFilter> g_Filter;

// Every part of the grid a wheel message can land on: the grid, its cells'
// viewport, its header and its own scroll bars.
QList<QWidget*> gridParts(QWidget* grid) {
  QList<QWidget*> parts = grid->findChildren<QWidget*>();
  parts.prepend(grid);
  return parts;
}

}  // namespace

void HookMouseWheel(QWidget* grid) {
  UnhookMouseWheel();
  if (!grid) return;
  g_HookedHwnd = grid;
  g_Filter = new WheelFilter;
  g_Filter->setParent(grid);
  for (QWidget* part : gridParts(grid)) part->installEventFilter(g_Filter);
}

void UnhookMouseWheel() {
  if (g_HookedHwnd && g_Filter)
    for (QWidget* part : gridParts(g_HookedHwnd)) part->removeEventFilter(g_Filter);
  delete g_Filter.data();
  g_Filter = nullptr;
  g_HookedHwnd = nullptr;
}

bool IsHooked() { return g_Filter != nullptr; }

}  // namespace mdlMouseWheel
