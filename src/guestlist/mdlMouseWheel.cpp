#include "mdlMouseWheel.h"

#include <QAbstractScrollArea>
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

QWidget* wheelTarget(QWidget* grid) {
  // Wheel events of a scroll area arrive at its viewport.
  if (auto* area = qobject_cast<QAbstractScrollArea*>(grid)) return area->viewport();
  return grid;
}

}  // namespace

void HookMouseWheel(QWidget* grid) {
  UnhookMouseWheel();
  if (!grid) return;
  g_HookedHwnd = grid;
  g_Filter = new WheelFilter;
  g_Filter->setParent(grid);
  wheelTarget(grid)->installEventFilter(g_Filter);
}

void UnhookMouseWheel() {
  if (g_HookedHwnd && g_Filter) wheelTarget(g_HookedHwnd)->removeEventFilter(g_Filter);
  delete g_Filter.data();
  g_Filter = nullptr;
  g_HookedHwnd = nullptr;
}

bool IsHooked() { return g_Filter != nullptr; }

}  // namespace mdlMouseWheel
