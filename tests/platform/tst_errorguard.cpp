// An error that escapes an event handler is shown with its description and
// the program goes on.
#include <QLineEdit>
#include <QtTest>

#include "platform/msgbox.h"
#include "platform/vberror.h"
#include "support/testsupport.h"

namespace {
// A box whose key handler fails on every key but keeps counting them.
class FailingBox : public QLineEdit {
 public:
  int keys = 0;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    ++keys;
    if (event->key() == Qt::Key_X) platform::Raise(3043, QStringLiteral("Disk or network error."));
    QLineEdit::keyPressEvent(event);
  }
};
}  // namespace

class ErrorGuardTest : public QObject {
  Q_OBJECT
 private slots:
  void escapedErrorsAreShownAndTheProgramGoesOn() {
    testsupport::ProgramFolder folder;
    using testsupport::prompts;
    FailingBox box;
    box.show();
    prompts().answer(platform::vbOK);
    QTest::keyClick(&box, Qt::Key_X);
    QCOMPARE(prompts().messages(), QStringList{"Disk or network error."});
    QCOMPARE(prompts().shown().first().style, int(platform::vbExclamation));
    QTest::keyClick(&box, Qt::Key_A);  // still handling keys
    QCOMPARE(box.keys, 2);
    QCOMPARE(box.text(), QStringLiteral("a"));

    // A handler the window wraps itself reports the same way; an ending
    // program is passed over silently.
    prompts().answer(platform::vbOK);
    QVERIFY(!platform::RunHandler([] { platform::Raise(5, QStringLiteral("Invalid procedure call or argument")); }));
    QCOMPARE(prompts().messages().last(), QStringLiteral("Invalid procedure call or argument"));
    QVERIFY(!platform::RunHandler([] { throw platform::ProgramEnd{0}; }));
    QCOMPARE(prompts().messages().size(), 2);
  }
};

PELMORA_TEST(ErrorGuardTest)
#include "tst_errorguard.moc"
