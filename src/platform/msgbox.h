#pragma once
// Message box, input box, beep and modal windows. In the program they are real
// dialogs; a test scripts the answers in advance and reads back every prompt.
// A prompt with no scripted answer fails the test instead of blocking it.
#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QWidget;

namespace platform {

// VB's MsgBox styles and answers.
enum MsgBoxStyle : int {
  vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4,
  vbRetryCancel = 5, vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
  vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512
};
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

QString AppTitle();  // "Pelmora"

// An empty title shows the application title.
int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());
// Returns "" when cancelled.
QString InputBox(const QString& prompt, const QString& title = QString(), const QString& defaultText = QString());
void Beep();

// Shows a window modally and returns when it is closed (or hidden). The window
// is shown with no owner unless one is given.
void ShowModal(QWidget* window, QWidget* owner = nullptr);

// What the user was shown, for tests.
struct Prompt {
  enum Kind { Message, Input, Modal, BeepSound, FileDialog } kind = Message;
  QString text;   // message text, input prompt, the modal window's class name, or a common dialog's filter
  QString title;  // as shown (the application title filled in; a common dialog's DialogTitle)
  int style = 0;  // MsgBox style; for a common dialog its kind (DialogKind)
  int answer = 0; // the answer given (a common dialog: vbOK or vbCancel)
  enum DialogKind { OpenDialog = 1, SaveDialog = 2, ColorDialog = 3 };
};

// The test script. While it is active no real dialog is ever shown.
class PromptScript {
 public:
  static PromptScript& instance();
  void activate();    // fresh script, scripted mode on
  void deactivate();  // real dialogs again
  bool active() const { return active_; }

  void answer(int msgBoxResult);             // next MsgBox answer
  void answerInput(const QString& text);     // next InputBox answer
  // Next modal window: the action runs while the window is "shown" and should
  // close it (through its own buttons); if it does not, the window is closed.
  void onModal(std::function<void(QWidget*)> action);
  // Next common dialog: a file chosen (a relative name is taken in the dialog's
  // folder), a colour chosen, or Cancel.
  void answerDialog(const QString& fileName);
  void answerColor(const QColor& color);
  void cancelDialog();
  // From now on every prompt's real dialog is also built as the program would
  // show it, shown, handed to the viewer and closed; the answers still come
  // from the script.
  void view(std::function<void(QWidget*)> viewer);

  const QVector<Prompt>& shown() const { return shown_; }
  QStringList messages() const;  // texts of the message boxes shown, in order
  int pendingAnswers() const { return answers_.size() + inputs_.size() + modals_.size() + dialogs_.size(); }
  void clearShown() { shown_.clear(); }

  // Called for a prompt that had no scripted answer (the test support makes it
  // fail the running test).
  void setUnscriptedHandler(std::function<void(const Prompt&)> handler) { unscripted_ = std::move(handler); }

  // Used by the layer itself.
  int takeAnswer(const Prompt& p, int fallback);
  QString takeInput(const Prompt& p);
  std::function<void(QWidget*)> takeModal(const Prompt& p);
  void recordBeep();
  struct DialogAnswer {
    bool cancelled = true;
    QString fileName;
    QColor color;
  };
  DialogAnswer takeDialog(const Prompt& p);  // none scripted: a cancel
  bool viewing() const { return static_cast<bool>(viewer_); }
  // Shows the dialog to the viewer set by view(); the dialog is closed after.
  void showToViewer(QWidget* dialog);

 private:
  bool active_ = false;
  QVector<int> answers_;
  QStringList inputs_;
  QVector<std::function<void(QWidget*)>> modals_;
  QVector<DialogAnswer> dialogs_;
  QVector<Prompt> shown_;
  std::function<void(QWidget*)> viewer_;
  std::function<void(const Prompt&)> unscripted_;
};

}  // namespace platform
