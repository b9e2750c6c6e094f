#include "msgbox.h"

#include <memory>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "readingorder.h"

namespace platform {
namespace {

QString titleOrApp(const QString& title) { return title.isEmpty() ? AppTitle() : title; }

int buttonsOf(int style) { return style & 0x7; }

// What a test gets when it scripted nothing: the answer that changes least.
int safeAnswer(int style) {
  switch (buttonsOf(style)) {
    case vbOKCancel:
    case vbYesNoCancel:
    case vbRetryCancel:
      return vbCancel;
    case vbYesNo:
      return vbNo;
    case vbAbortRetryIgnore:
      return vbAbort;
    default:
      return vbOK;
  }
}

QVector<QMessageBox::StandardButton> buttonsFor(int style) {
  using B = QMessageBox;
  switch (buttonsOf(style)) {
    case vbOKCancel: return {B::Ok, B::Cancel};
    case vbAbortRetryIgnore: return {B::Abort, B::Retry, B::Ignore};
    case vbYesNoCancel: return {B::Yes, B::No, B::Cancel};
    case vbYesNo: return {B::Yes, B::No};
    case vbRetryCancel: return {B::Retry, B::Cancel};
    default: return {B::Ok};
  }
}

int answerOf(QMessageBox::StandardButton b, int style) {
  switch (b) {
    case QMessageBox::Ok: return vbOK;
    case QMessageBox::Cancel: return vbCancel;
    case QMessageBox::Abort: return vbAbort;
    case QMessageBox::Retry: return vbRetry;
    case QMessageBox::Ignore: return vbIgnore;
    case QMessageBox::Yes: return vbYes;
    case QMessageBox::No: return vbNo;
    default: return safeAnswer(style);
  }
}

QMessageBox::Icon iconFor(int style) {
  switch (style & 0x70) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// Ends a local event loop when the watched window is hidden.
class HideWatcher : public QObject {
 public:
  HideWatcher(QWidget* w, QEventLoop* loop) : QObject(w), loop_(loop) { w->installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide && watched == parent()) loop_->quit();
    return false;
  }

 private:
  QEventLoop* loop_;
};

void makeTransientFor(QWidget* window, QWidget* owner) {
  if (!owner || !owner->window()->windowHandle()) return;
  window->winId();  // creates the native window so it can have an owner
  if (QWindow* handle = window->windowHandle()) handle->setTransientParent(owner->window()->windowHandle());
}

}  // namespace

QString AppTitle() { return QStringLiteral("Pelmora"); }

namespace {

// The box as the user sees it: an English text gets a left-to-right box.
std::unique_ptr<QMessageBox> makeMessageBox(const Prompt& p) {
  auto box = std::make_unique<QMessageBox>(iconFor(p.style), p.title, p.text, QMessageBox::NoButton,
                                           QApplication::activeWindow());
  box->setLayoutDirection(BoxDirection(p.text));
  box->setTextFormat(Qt::PlainText);  // a name with "<" is text, not markup
  const auto buttons = buttonsFor(p.style);
  for (auto b : buttons) box->addButton(b);
  const int defaultIndex = (p.style & 0xF00) >> 8;
  box->setDefaultButton(buttons.value(defaultIndex < buttons.size() ? defaultIndex : 0));
  // Escape answers as VB's does: Cancel where there is one, OK on a lone OK.
  if (buttons.contains(QMessageBox::Cancel)) box->setEscapeButton(QMessageBox::Cancel);
  else if (buttons.size() == 1) box->setEscapeButton(QMessageBox::Ok);
  return box;
}

std::unique_ptr<QInputDialog> makeInputDialog(const Prompt& p, const QString& defaultText) {
  auto dialog = std::make_unique<QInputDialog>(QApplication::activeWindow());
  dialog->setLayoutDirection(BoxDirection(p.text));
  dialog->setWindowTitle(p.title);
  dialog->setLabelText(p.text);
  if (auto* label = dialog->findChild<QLabel*>()) label->setTextFormat(Qt::PlainText);
  dialog->setTextValue(defaultText);
  return dialog;
}

}  // namespace

int MsgBox(const QString& prompt, int style, const QString& title) {
  Prompt p;
  p.kind = Prompt::Message;
  p.text = prompt;
  p.title = titleOrApp(title);
  p.style = style;
  auto& script = PromptScript::instance();
  if (script.active()) {
    if (script.viewing()) script.showToViewer(makeMessageBox(p).get());
    return script.takeAnswer(p, safeAnswer(style));
  }
  auto box = makeMessageBox(p);
  box->exec();
  return answerOf(box->standardButton(box->clickedButton()), style);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText) {
  Prompt p;
  p.kind = Prompt::Input;
  p.text = prompt;
  p.title = titleOrApp(title);
  auto& script = PromptScript::instance();
  if (script.active()) {
    if (script.viewing()) script.showToViewer(makeInputDialog(p, defaultText).get());
    return script.takeInput(p);
  }
  auto dialog = makeInputDialog(p, defaultText);
  return dialog->exec() == QDialog::Accepted ? dialog->textValue() : QString();
}

void Beep() {
  auto& script = PromptScript::instance();
  if (script.active()) {
    script.recordBeep();
    return;
  }
  QApplication::beep();
}

void ShowModal(QWidget* window, QWidget* owner) {
  if (!window) return;
  auto& script = PromptScript::instance();
  if (script.active()) {
    Prompt p;
    p.kind = Prompt::Modal;
    p.text = QString::fromLatin1(window->metaObject()->className());
    p.title = window->windowTitle();
    auto action = script.takeModal(p);
    QPointer<QWidget> guard(window);
    // The window is closed afterwards even when the action throws.
    struct Closer {
      QPointer<QWidget>& w;
      ~Closer() {
        if (w && w->isVisible()) w->close();
      }
    } closer{guard};
    window->show();
    if (action) action(window);
    return;
  }

  QPointer<QWidget> guard(window);
  if (auto* dialog = qobject_cast<QDialog*>(window)) {
    makeTransientFor(dialog, owner);
    dialog->exec();
    return;
  }
  if (window->isVisible()) window->hide();
  const Qt::WindowModality before = window->windowModality();
  window->setWindowModality(Qt::ApplicationModal);
  makeTransientFor(window, owner);
  QEventLoop loop;
  auto* watcher = new HideWatcher(window, &loop);
  QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
  window->show();
  loop.exec(QEventLoop::DialogExec);
  if (guard) {
    delete watcher;
    if (!guard->isVisible()) guard->setWindowModality(before);
  }
}

// The script.

PromptScript& PromptScript::instance() {
  static PromptScript script;
  return script;
}

void PromptScript::activate() {
  viewer_ = nullptr;
  answers_.clear();
  inputs_.clear();
  modals_.clear();
  dialogs_.clear();
  shown_.clear();
  active_ = true;
}

void PromptScript::deactivate() {
  activate();
  active_ = false;
}

void PromptScript::answer(int msgBoxResult) { answers_.append(msgBoxResult); }
void PromptScript::answerInput(const QString& text) { inputs_.append(text); }
void PromptScript::onModal(std::function<void(QWidget*)> action) { modals_.append(std::move(action)); }
void PromptScript::answerDialog(const QString& fileName) { dialogs_.append({false, fileName, QColor()}); }
void PromptScript::answerColor(const QColor& color) { dialogs_.append({false, QString(), color}); }
void PromptScript::cancelDialog() { dialogs_.append({true, QString(), QColor()}); }
void PromptScript::view(std::function<void(QWidget*)> viewer) { viewer_ = std::move(viewer); }

void PromptScript::showToViewer(QWidget* dialog) {
  if (!viewer_ || !dialog) return;
  dialog->show();
  viewer_(dialog);
  dialog->close();
}

QStringList PromptScript::messages() const {
  QStringList out;
  for (const Prompt& p : shown_)
    if (p.kind == Prompt::Message) out << p.text;
  return out;
}

int PromptScript::takeAnswer(const Prompt& p, int fallback) {
  Prompt shown = p;
  const bool scripted = !answers_.isEmpty();
  shown.answer = scripted ? answers_.takeFirst() : fallback;
  shown_.append(shown);
  if (!scripted && unscripted_) unscripted_(shown);
  return shown.answer;
}

QString PromptScript::takeInput(const Prompt& p) {
  Prompt shown = p;
  const bool scripted = !inputs_.isEmpty();
  const QString text = scripted ? inputs_.takeFirst() : QString();
  shown.answer = scripted ? vbOK : vbCancel;
  shown_.append(shown);
  if (!scripted && unscripted_) unscripted_(shown);
  return text;
}

std::function<void(QWidget*)> PromptScript::takeModal(const Prompt& p) {
  shown_.append(p);
  if (modals_.isEmpty()) {
    if (unscripted_) unscripted_(p);
    return {};
  }
  return modals_.takeFirst();
}

PromptScript::DialogAnswer PromptScript::takeDialog(const Prompt& p) {
  Prompt shown = p;
  const bool scripted = !dialogs_.isEmpty();
  const DialogAnswer a = scripted ? dialogs_.takeFirst() : DialogAnswer{};
  shown.answer = a.cancelled ? vbCancel : vbOK;
  shown_.append(shown);
  if (!scripted && unscripted_) unscripted_(shown);
  return a;
}

void PromptScript::recordBeep() {
  Prompt p;
  p.kind = Prompt::BeepSound;
  shown_.append(p);
}

}  // namespace platform
