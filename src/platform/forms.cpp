#include "forms.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>

#include "scrollframe.h"
#include "vberror.h"

namespace platform {
namespace {
QList<FormBase*>& list() {
  static QList<FormBase*> l;
  return l;
}
}  // namespace

void CentreOnScreen(QWidget* window) {
  QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = window->frameGeometry();  // the frame is known once shown; before, the window alone
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

namespace {

// The screen the window's title bar is on, else the one nearest to it.
QScreen* screenOf(const QRect& titleBar) {
  QScreen* best = nullptr;
  qint64 nearest = std::numeric_limits<qint64>::max();
  for (QScreen* s : QGuiApplication::screens()) {
    const QRect area = s->availableGeometry();
    if (area.contains(titleBar)) return s;
    const QPoint d = area.center() - titleBar.center();
    const qint64 distance = qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
    if (distance < nearest) nearest = distance, best = s;
  }
  return best;
}

// The part of the screen a window may take. At a fractional scale the screen's
// size in logical pixels is rounded and may be up to a pixel larger than the
// screen; a pixel less keeps the window within it.
QRect usableArea(const QScreen* screen) {
  QRect area = screen->availableGeometry();
  const qreal scale = screen->devicePixelRatio();
  if (scale != std::floor(scale)) area.adjust(0, 0, -1, -1);
  return area;
}

// Caps the size to the screen and pulls a window whose title bar is off it; a
// window that had to be made smaller is put wholly on the screen.
void fitOnScreen(QWidget* window) {
  if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) return;
  // Before the window is shown the frame may not be known; a title bar's
  // height stands in for it.
  const QRect inner = window->geometry();
  const QRect frame = window->frameGeometry();
  const int title = std::max(inner.top() - frame.top(), window->style()->pixelMetric(QStyle::PM_TitleBarHeight));
  QScreen* screen = screenOf(QRect(frame.left(), frame.top(), frame.width(), title));
  if (!screen) return;
  const QRect area = usableArea(screen);
  const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                         frame.bottom() - inner.bottom());
  const QSize most(area.width() - margins.left() - margins.right(), area.height() - margins.top() - margins.bottom());
  const bool capped = inner.width() > most.width() || inner.height() > most.height();
  if (capped) {
    const auto* page = window->findChild<ScrollFrame*>();
    window->resize(page ? page->fitted(inner.size(), most) : inner.size().boundedTo(most));
  }

  const QRect now = window->frameGeometry();
  if (area.contains(capped ? now : QRect(now.left(), now.top(), now.width(), title))) return;
  const int x = std::clamp(now.left(), area.left(), std::max(area.left(), area.right() + 1 - now.width()));
  const int y = std::clamp(now.top(), area.top(), std::max(area.top(), area.bottom() + 1 - now.height()));
  window->move(x, y);
}

// The frame is known once the window is shown: the check runs again then.
class FitWhenShown : public QObject {
 public:
  static constexpr const char* kName = "FitWhenShown";
  explicit FitWhenShown(QWidget* window) : QObject(window) {
    setObjectName(QLatin1String(kName));
    window->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      QPointer<QWidget> window = static_cast<QWidget*>(watched);
      QTimer::singleShot(0, window, [window] {
        if (window) fitOnScreen(window);
      });
      deleteLater();
    }
    return false;
  }
};

}  // namespace

void KeepOnScreen(QWidget* window) {
  fitOnScreen(window);
  if (!window->isVisible() && !window->findChild<QObject*>(FitWhenShown::kName, Qt::FindDirectChildrenOnly))
    new FitWhenShown(window);
}

FormBase::~FormBase() { list().removeAll(this); }

void FormBase::handleCloseEvent(QCloseEvent* event) {
  // The unload decides; the widget is hidden and destroyed by it.
  event->ignore();
  RunHandler([this] { Forms::Unload(this); });
}

QList<FormBase*> Forms::loaded() { return list(); }

void Forms::add(FormBase* form) { list().append(form); }

void Forms::remove(FormBase* form) {
  list().removeAll(form);
  form->detachDefault();
}

bool Forms::Unload(FormBase* form) {
  if (!form || !list().contains(form)) return true;
  if (form->unloading_) return true;
  form->unloading_ = true;
  int cancel = 0;
  QWidget* w = form->widget();
  auto finish = [&] {
    w->hide();
    remove(form);
    w->deleteLater();
  };
  try {
    form->Form_Unload(cancel);
  } catch (const ProgramEnd&) {
    finish();
    throw;
  } catch (...) {
    // An error in the unload does not keep the window loaded.
  }
  if (cancel) {
    form->unloading_ = false;
    return false;
  }
  finish();
  return true;
}

void Forms::DestroyAll() {
  const auto all = list();
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    FormBase* f = *it;
    remove(f);
    delete f->widget();
  }
}

}  // namespace platform
