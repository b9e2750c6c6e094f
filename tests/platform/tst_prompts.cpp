// Message boxes, input boxes and modal windows: the test script, and the real
// dialogs answered by a timer so that nothing blocks.
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/msgbox.h"
#include "support/testsupport.h"

using namespace platform;

// A window of the program's kind: closes itself through its own button.
class TestModalWindow : public QWidget {
  Q_OBJECT

 public:
  TestModalWindow() {
    setWindowTitle("חלון");
    ok = new QPushButton("OK", this);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);
  }
  QPushButton* ok;
};

class TestPrompts : public QObject {
  Q_OBJECT

 private slots:
  void scriptedAnswersInOrder() {
    testsupport::ProgramFolder folder;
    auto& script = testsupport::prompts();
    script.answer(vbYes);
    script.answer(vbCancel);
    script.answerInput("12");
    QCOMPARE(MsgBox("first?", vbYesNo + vbQuestion), int(vbYes));
    QCOMPARE(InputBox("how many?", "", "5"), QStringLiteral("12"));
    QCOMPARE(MsgBox("second?", vbOKCancel + vbExclamation + vbDefaultButton2, "כותרת"), int(vbCancel));
    Beep();
    QCOMPARE(script.pendingAnswers(), 0);

    QCOMPARE(script.messages(), (QStringList{"first?", "second?"}));
    const auto& shown = script.shown();
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown[0].title, QStringLiteral("Pelmora"));
    QCOMPARE(shown[0].style, vbYesNo + vbQuestion);
    QCOMPARE(shown[1].kind, Prompt::Input);
    QCOMPARE(shown[1].title, QStringLiteral("Pelmora"));
    QCOMPARE(shown[2].title, QStringLiteral("כותרת"));
    QCOMPARE(shown[2].answer, int(vbCancel));
    QCOMPARE(shown[3].kind, Prompt::BeepSound);
  }

  void unscriptedPromptsGetTheSafeAnswer() {
    testsupport::ProgramFolder folder;
    auto& script = testsupport::prompts();
    QVector<Prompt> unscripted;
    script.setUnscriptedHandler([&](const Prompt& p) { unscripted.append(p); });

    QCOMPARE(MsgBox("delete?", vbYesNo), int(vbNo));
    QCOMPARE(MsgBox("save?", vbYesNoCancel), int(vbCancel));
    QCOMPARE(MsgBox("print?", vbOKCancel), int(vbCancel));
    QCOMPARE(MsgBox("done"), int(vbOK));
    QCOMPARE(InputBox("name?", "", "default"), QString());
    Beep();  // a beep needs no answer
    QCOMPARE(unscripted.size(), 5);
    QCOMPARE(unscripted[0].text, QStringLiteral("delete?"));
    QCOMPARE(unscripted[4].kind, Prompt::Input);

    TestModalWindow window;
    ShowModal(&window);
    QCOMPARE(unscripted.size(), 6);
    QCOMPARE(unscripted[5].kind, Prompt::Modal);
    QVERIFY(!window.isVisible());
    script.setUnscriptedHandler({});
  }

  void modalActionRunsWhileShown() {
    testsupport::ProgramFolder folder;
    auto& script = testsupport::prompts();
    QStringList steps;
    auto* window = new TestModalWindow;
    script.onModal([&](QWidget* w) {
      steps << "action";
      QCOMPARE(w, static_cast<QWidget*>(window));
      QVERIFY(w->isVisible());
      static_cast<TestModalWindow*>(w)->ok->click();
    });
    // An action that leaves the window open: the window is closed for it.
    script.onModal([&](QWidget* w) {
      steps << "idle";
      QVERIFY(w->isVisible());
    });
    ShowModal(window);
    steps << "after";
    QVERIFY(!window->isVisible());
    ShowModal(window);
    QVERIFY(!window->isVisible());
    QCOMPARE(steps, (QStringList{"action", "after", "idle"}));
    QCOMPARE(script.shown().size(), 2);
    QCOMPARE(script.shown()[0].kind, Prompt::Modal);
    QCOMPARE(script.shown()[0].text, QStringLiteral("TestModalWindow"));
    QCOMPARE(script.shown()[0].title, QStringLiteral("חלון"));
    QVERIFY(script.messages().isEmpty());

    // An action that destroys the window.
    script.onModal([](QWidget* w) { delete w; });
    ShowModal(window);
    QCOMPARE(script.pendingAnswers(), 0);
  }

  void realDialogs() {
    testsupport::ProgramFolder folder;
    auto& script = testsupport::prompts();
    script.deactivate();

    // The default button is the one style asks for; the box is right to left.
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      icon = box->icon();
      title = box->windowTitle();
      direction = box->layoutDirection();
      box->defaultButton()->click();
    });
    QTimer watchdog;  // never hang the run, whatever goes wrong
    watchdog.callOnTimeout([] {
      if (auto* w = QApplication::activeModalWidget()) w->close();
    });
    watchdog.start(5000);
    QCOMPARE(MsgBox("מחק?", vbYesNo + vbQuestion + vbDefaultButton2), int(vbNo));
    QCOMPARE(icon, QMessageBox::Question);
    QCOMPARE(title, QStringLiteral("Pelmora"));
    QCOMPARE(direction, Qt::RightToLeft);

    // Escape on a box with Cancel answers Cancel.
    QTimer::singleShot(0, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        QTest::keyClick(box, Qt::Key_Escape);
    });
    QCOMPARE(MsgBox("retry?", vbRetryCancel + vbCritical, "t"), int(vbCancel));

    // A plain window shown modally returns once it is hidden.
    TestModalWindow window;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
      wasModal = window.isVisible() && window.isModal();
      window.ok->click();
    });
    ShowModal(&window);
    QVERIFY(wasModal);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.isModal());

    // A dialog runs its own loop.
    QDialog dialog;
    QTimer::singleShot(0, &dialog, &QDialog::accept);
    ShowModal(&dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    script.activate();
  }
};

PELMORA_TEST(TestPrompts)
#include "tst_prompts.moc"
