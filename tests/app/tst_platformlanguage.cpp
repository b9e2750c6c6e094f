// The platform's own words (buttons, the file dialog) in the language the
// program starts under, and the direction of the dialogs that show them.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "app/mdlWedding.h"
#include "budget/frmBudget.h"
#include "guestlist/frmPelmora.h"
#include "support/childtest.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

using testsupport::prompts;

namespace {

QString shown(const QAbstractButton* button) { return button ? button->text().remove(QLatin1Char('&')) : QString(); }

// The real dialogs as the program builds them, seen while they are shown.
struct SeenDialogs {
  QStringList boxButtons;  // Yes, No, Cancel of the question box
  Qt::LayoutDirection boxDirection = Qt::LayoutDirectionAuto;
  QString fileCancel;
  Qt::LayoutDirection fileDirection = Qt::LayoutDirectionAuto;
  void see(QWidget* dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
      for (auto b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) boxButtons << shown(box->button(b));
      boxDirection = box->layoutDirection();
    } else if (auto* file = qobject_cast<QFileDialog*>(dialog)) {
      // Qt's own dialog, not a desktop's: its widgets are there to read.
      auto* buttons = file->findChild<QDialogButtonBox*>();
      fileCancel = buttons ? shown(buttons->button(QDialogButtonBox::Cancel)) : QString();
      fileDirection = file->layoutDirection();
    }
  }
};

}  // namespace

class PlatformLanguageTest : public QObject {
  Q_OBJECT
 private slots:
  void platformWordsInTheUsersLanguage_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("yesNoCancel");
    QTest::addColumn<Qt::LayoutDirection>("dialogDirection");
    QTest::newRow("hebrew") << "he_IL.UTF-8" << QStringList{"כן", "לא", "ביטול"} << Qt::RightToLeft;
    QTest::newRow("english") << "en_US.UTF-8" << QStringList{"Yes", "No", "Cancel"} << Qt::LeftToRight;
    // Qt has no translation for it: English, and the start goes on.
    QTest::newRow("no translation") << "C.UTF-8" << QStringList{"Yes", "No", "Cancel"} << Qt::LeftToRight;
  }

  void platformWordsInTheUsersLanguage() {
    QFETCH(QString, locale);
    QFETCH(QStringList, yesNoCancel);
    QFETCH(Qt::LayoutDirection, dialogDirection);
    if (!testsupport::inChildTest()) {
      // The application starts under the locale, as on the user's desktop.
      const auto child = testsupport::rerunInChild(
          "PlatformLanguageTest", {{"LANG", locale}, {"LC_ALL", locale}, {"LANGUAGE", QString()}});
      QVERIFY2(child.passed, qPrintable(child.output));
      return;
    }

    testsupport::ProgramFolder folder;
    testsupport::writeOptions();
    testsupport::makeWeddingDb();
    SeenDialogs seen;
    prompts().view([&](QWidget* dialog) { seen.see(dialog); });
    QVERIFY(mdlWedding::Main());
    testsupport::processEvents();

    // The budget's question on closing with a typed amount: Yes/No/Cancel.
    frmPelmora::Default().Toolbar1_ButtonClick(6);
    QLineEdit* amount = frmBudget::Default().txtBudgetBranch[0];
    QTest::mouseClick(amount, Qt::LeftButton);
    QTest::keyClick(amount, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(amount, "250");
    prompts().answer(platform::vbNo);
    frmBudget::Default().close();
    QCOMPARE(seen.boxButtons, yesNoCancel);
    QCOMPARE(seen.boxDirection, Qt::RightToLeft);  // the program's Hebrew question, as before

    // Export: the save dialog, cancelled.
    prompts().cancelDialog();
    frmPelmora::Default().mnuExportDB->trigger();
    QCOMPARE(seen.fileCancel, yesNoCancel.last());
    QCOMPARE(seen.fileDirection, dialogDirection);
  }
};

PELMORA_TEST(PlatformLanguageTest)
#include "tst_platformlanguage.moc"
