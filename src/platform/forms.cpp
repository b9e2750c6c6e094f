#include "forms.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>

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
