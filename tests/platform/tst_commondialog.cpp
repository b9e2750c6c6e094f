// The common dialog: filters, the scripted answers, cancel with and without
// CancelError, the real file dialog answered by a timer; and the safe copy.
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>

#include "platform/commondialog.h"
#include "platform/filecopy.h"
#include "platform/msgbox.h"
#include "platform/vberror.h"
#include "support/errors.h"
#include "support/files.h"
#include "support/testsupport.h"
#include "support/when.h"

using namespace platform;
using testsupport::readFile;
using testsupport::whenShown;
using testsupport::writeFile;

namespace {

long cancelNumber(const std::function<void()>& show) {
  const VbError e = testsupport::errorOf(show);
  if (e.number != 0 && e.description != QLatin1String("Cancel was selected.")) return -1;
  return e.number;
}

}  // namespace

class TestCommonDialog : public QObject {
  Q_OBJECT

 private slots:
  void filtersBecomeQtNameFilters() {
    QCOMPARE(NameFilters("Microsoft Database (*.mdb)|*.mdb|Backup File (*.old)|*.old"),
             QStringList({"Microsoft Database (*.mdb)", "Backup File (*.old)"}));
    QCOMPARE(NameFilters("Pictures|*.bmp;*.jpg|All|*.*"), QStringList({"Pictures (*.bmp *.jpg)", "All (*.*)"}));
    QCOMPARE(NameFilters(""), QStringList());
    QCOMPARE(NameFilters("Text only"), QStringList());  // a shown text without its pattern
  }

  void scriptedFileDialogs() {
    testsupport::ProgramFolder folder;
    auto& script = testsupport::prompts();
    CommonDialog d;
    d.Filter = "Windows Ini - File (*.ini)|*.ini";
    d.DialogTitle = "Export";
    d.FileName = "pelmora.ini";
    script.answerDialog("copy.ini");
    d.ShowSave();
    QCOMPARE(d.FileName, folder.file("copy.ini"));  // a full path, in the current folder

    d.InitDir = folder.path() + "/sub";
    script.answerDialog("/elsewhere/a.ini");
    d.ShowOpen();
    QCOMPARE(d.FileName, QStringLiteral("/elsewhere/a.ini"));
    script.answerDialog("b.ini");
    d.ShowOpen();
    QCOMPARE(d.FileName, folder.path() + "/sub/b.ini");

    const auto& shown = script.shown();
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown[0].kind, Prompt::FileDialog);
    QCOMPARE(shown[0].text, d.Filter);
    QCOMPARE(shown[0].title, QStringLiteral("Export"));
    QCOMPARE(shown[0].style, int(Prompt::SaveDialog));
    QCOMPARE(shown[1].style, int(Prompt::OpenDialog));
    QCOMPARE(shown[2].answer, int(vbOK));
    QVERIFY(script.messages().isEmpty());

    // Cancel: error 32755 with CancelError, an empty file name without it.
    d.CancelError = true;
    script.cancelDialog();
    QCOMPARE(cancelNumber([&] { d.ShowSave(); }), long(CommonDialog::cdlCancel));
    d.CancelError = false;
    d.FileName = "Wed.mdb";
    script.cancelDialog();
    QCOMPARE(cancelNumber([&] { d.ShowOpen(); }), 0L);
    QCOMPARE(d.FileName, QString());
    QCOMPARE(script.shown().last().answer, int(vbCancel));
    QCOMPARE(script.pendingAnswers(), 0);

    // With no title of the program's the prompt reads as the platform titles it.
    d.DialogTitle.clear();
    script.clearShown();
    script.cancelDialog();
    script.cancelDialog();
    cancelNumber([&] { d.ShowSave(); });
    cancelNumber([&] { d.ShowOpen(); });
    QCOMPARE(script.shown()[0].title, QStringLiteral("Save As"));
    QCOMPARE(script.shown()[1].title, QStringLiteral("Open"));
  }

  void unscriptedDialogIsReportedAndCancelled() {
    testsupport::ProgramFolder folder;
    auto& script = testsupport::prompts();
    QVector<Prompt> reported;
    script.setUnscriptedHandler([&](const Prompt& p) { reported << p; });
    CommonDialog d;
    d.CancelError = true;
    d.Filter = "A|*.a";
    QCOMPARE(cancelNumber([&] { d.ShowOpen(); }), long(CommonDialog::cdlCancel));
    QCOMPARE(reported.size(), 1);
    QCOMPARE(reported[0].kind, Prompt::FileDialog);
    QCOMPARE(reported[0].text, QStringLiteral("A|*.a"));
    // A scripted message answer is not taken by a dialog.
    script.answer(vbYes);
    d.CancelError = false;
    d.ShowSave();
    QCOMPARE(reported.size(), 2);
    QCOMPARE(script.pendingAnswers(), 1);
    QCOMPARE(MsgBox("?", vbYesNo), int(vbYes));
  }

  void scriptedColour() {
    testsupport::ProgramFolder folder;
    auto& script = testsupport::prompts();
    CommonDialog d;
    d.Color = Qt::red;
    script.answerColor(QColor(10, 20, 30));
    d.ShowColor();
    QCOMPARE(d.Color, QColor(10, 20, 30));
    QCOMPARE(script.shown().last().style, int(Prompt::ColorDialog));
    script.cancelDialog();
    d.ShowColor();
    QCOMPARE(d.Color, QColor(10, 20, 30));  // kept
    d.CancelError = true;
    script.cancelDialog();
    QCOMPARE(cancelNumber([&] { d.ShowColor(); }), long(CommonDialog::cdlCancel));
  }

  void realFileDialog() {
    testsupport::ProgramFolder folder;
    QDir(folder.path()).mkdir("out");
    const QString out = folder.path() + "/out";
    PromptScript::instance().deactivate();
    struct Reactivate {
      ~Reactivate() { PromptScript::instance().activate(); }
    } reactivate;

    CommonDialog d;
    d.Filter = "Microsoft Database (*.mdb)|*.mdb|Backup File (*.old)|*.old";
    d.FilterIndex = 2;
    d.InitDir = out;
    d.FileName = "Wed.mdb";
    QString preselected, folderShown, title;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
      title = dialog->windowTitle();
      preselected = dialog->selectedNameFilter();
      folderShown = dialog->directory().absolutePath();
      dialog->selectNameFilter("Microsoft Database (*.mdb)");
      QMetaObject::invokeMethod(dialog, "accept");
    });
    d.ShowSave();
    QCOMPARE(preselected, QStringLiteral("Backup File (*.old)"));
    QCOMPARE(folderShown, QDir(out).absolutePath());
    QCOMPARE(d.FileName, QDir(out).absoluteFilePath("Wed.mdb"));
    QCOMPARE(d.FilterIndex, 1);
    QCOMPARE(title, QStringLiteral("Save As"));  // no title given: the platform's own

    d.CancelError = true;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
      title = dialog->windowTitle();
      dialog->reject();
    });
    QCOMPARE(cancelNumber([&] { d.ShowOpen(); }), long(CommonDialog::cdlCancel));
    QCOMPARE(title, QStringLiteral("Open"));
    d.DialogTitle = QStringLiteral("Garden");
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
      title = dialog->windowTitle();
      dialog->reject();
    });
    QCOMPARE(cancelNumber([&] { d.ShowOpen(); }), long(CommonDialog::cdlCancel));
    QCOMPARE(title, QStringLiteral("Garden"));

    d.Color = QColor(1, 2, 3);
    whenShown<QColorDialog>([](QColorDialog* dialog) {
      dialog->setCurrentColor(QColor(200, 100, 50));
      dialog->accept();
    });
    d.ShowColor();
    QCOMPARE(d.Color, QColor(200, 100, 50));
  }

  void copiesNeverLeaveHalfAFile() {
    testsupport::ProgramFolder folder;
    const QString src = folder.file("a.bin"), dst = folder.file("b.bin");
    writeFile(src, QByteArray(200000, 'x'));
    writeFile(dst, "old");
    QVERIFY(!CopyFile(src, dst, true));
    QCOMPARE(readFile(dst), QByteArray("old"));
    QVERIFY(CopyFile(src, dst, false));
    QCOMPARE(readFile(dst), QByteArray(200000, 'x'));
    QVERIFY(CopyFile(src, folder.file("c.bin"), true));
    QCOMPARE(readFile(folder.file("c.bin")), QByteArray(200000, 'x'));

    // A missing source or an unreachable folder changes nothing.
    QVERIFY(!CopyFile(folder.file("none"), dst, false));
    QCOMPARE(readFile(dst).size(), 200000);
    QVERIFY(!CopyFile(src, folder.file("no/such/dir/x"), false));

    // The staged content is the source's as it was when taken.
    StagedCopy staged(dst);
    QVERIFY(staged.take(src));
    writeFile(src, "changed");
    QVERIFY(staged.place(false));
    QCOMPARE(readFile(dst), QByteArray(200000, 'x'));

    const QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, QStringList({"a.bin", "b.bin", "c.bin"}));  // no temporary files left behind
  }
};

PELMORA_TEST(TestCommonDialog)
#include "tst_commondialog.moc"
