// Saving a report's preview as a PDF file: the writer's own result decides,
// a failure says why and leaves what was there, and a name typed without
// ".pdf" asks before it replaces the NAME.pdf that exists.
#include <QtTest>

#include "platform/msgbox.h"
#include "platform/reportwindow.h"
#include "support/files.h"
#include "support/smalldisk.h"
#include "support/testsupport.h"

using namespace platform;
using testsupport::prompts;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

void fillReport(ReportWindow& w) {
  auto rs = std::make_shared<ReportRecordset>();
  rs->AppendField(QStringLiteral("Name"), 20);
  rs->Open();
  rs->AddNew({QStringLiteral("Name")}, {QStringLiteral("דני כהן")});
  w.Layout.Detail.Height = 400;
  w.Layout.addTextBox(w.Layout.Detail, QStringLiteral("txtName"), 0, 0, 4000, 300, QStringLiteral("Name"));
  w.Layout.SetDataSource(rs);
}

}  // namespace

class ReportSaveTest : public QObject {
  Q_OBJECT
 private slots:
  void failedSaveSaysWhyAndKeepsWhatWasThere() {
    testsupport::ProgramFolder folder;
    ReportWindow w;
    fillReport(w);

    // The name chosen is a folder: nothing can be written there.
    QVERIFY(QDir().mkdir(folder.file("guests.pdf")));
    writeFile(folder.file("guests.pdf/keep.txt"), "keep");
    prompts().answerDialog(QStringLiteral("guests.pdf"));
    prompts().answer(vbOK);
    w.ExportReport();
    QCOMPARE(prompts().messages().size(), 1);
    const Prompt shown = prompts().shown().last();
    QCOMPARE(shown.style & 0x30, int(vbExclamation));
    QVERIFY(shown.text.contains(QStringLiteral("guests.pdf")));
    QVERIFY(QFileInfo(folder.file("guests.pdf")).isDir());
    QCOMPARE(readFile(folder.file("guests.pdf/keep.txt")), QByteArray("keep"));

    // A folder that does not exist: the reason differs, and is shown.
    prompts().answerDialog(QStringLiteral("no/such/folder/list.pdf"));
    prompts().answer(vbOK);
    w.ExportReport();
    QCOMPARE(prompts().messages().size(), 2);
    QVERIFY(prompts().messages()[1] != prompts().messages()[0]);
    QVERIFY(!QFileInfo::exists(folder.file("no/such/folder/list.pdf")));

    // A save that works says nothing.
    prompts().answerDialog(QStringLiteral("list.pdf"));
    w.ExportReport();
    QCOMPARE(prompts().messages().size(), 2);
    QVERIFY(readFile(folder.file("list.pdf")).startsWith("%PDF"));
    QCOMPARE(prompts().pendingAnswers(), 0);
  }

  void aDiskThatFillsUpKeepsTheOldPdf() {
    testsupport::ProgramFolder folder;
    ReportWindow w;
    fillReport(w);
    // Pages enough for a file of several disk pages.
    auto rs = std::make_shared<ReportRecordset>();
    rs->AppendField(QStringLiteral("Name"), 20);
    rs->Open();
    for (int i = 0; i < 400; ++i) rs->AddNew({QStringLiteral("Name")}, {QStringLiteral("אורח %1").arg(i)});
    w.Layout.SetDataSource(rs);
    QDir(folder.path()).mkdir("disk");
    testsupport::SmallDisk disk(folder.file("disk"));
    PELMORA_REQUIRE_MOUNTED(disk);
    const QString pdf = folder.file("disk/guests.pdf");
    QVERIFY(w.Layout.ExportPDF(pdf));
    const QByteArray before = readFile(pdf);
    QVERIFY(before.size() > 8192);

    // Room for part of the new file, not all of it: the old one stays whole.
    disk.fill(before.size() / 2);
    prompts().answerDialog(pdf);
    prompts().answer(vbOK);
    w.ExportReport();
    QCOMPARE(prompts().messages().size(), 1);
    QVERIFY(prompts().messages().first().contains(QStringLiteral("guests.pdf")));
    QCOMPARE(readFile(pdf), before);

    // A new file that does not fit is not left cut off.
    prompts().answerDialog(folder.file("disk/new.pdf"));
    prompts().answer(vbOK);
    w.ExportReport();
    QCOMPARE(prompts().messages().size(), 2);
    QVERIFY(!QFileInfo::exists(folder.file("disk/new.pdf")));
    QCOMPARE(QDir(folder.file("disk")).entryList(QDir::Files | QDir::Hidden), (QStringList{".filler", "guests.pdf"}));
  }

  void nameWithoutPdfAsksBeforeReplacing() {
    testsupport::ProgramFolder folder;
    ReportWindow w;
    fillReport(w);
    writeFile(folder.file("guests.pdf"), "the old list");

    // "guests" would become the existing guests.pdf: asked, and No keeps it.
    prompts().answerDialog(QStringLiteral("guests"));
    prompts().answer(vbNo);
    w.ExportReport();
    QCOMPARE(prompts().messages().size(), 1);
    const Prompt asked = prompts().shown().last();
    QVERIFY(asked.text.contains(QStringLiteral("guests.pdf")));
    QCOMPARE(asked.style & 0x7, int(vbYesNo));
    QCOMPARE(readFile(folder.file("guests.pdf")), QByteArray("the old list"));
    QVERIFY(!QFileInfo::exists(folder.file("guests")));

    // Yes replaces it.
    prompts().answerDialog(QStringLiteral("guests"));
    prompts().answer(vbYes);
    w.ExportReport();
    QCOMPARE(prompts().messages().size(), 2);
    QVERIFY(readFile(folder.file("guests.pdf")).startsWith("%PDF"));

    // A new name without ".pdf", and a name the file dialog itself already
    // asked about, are written without a question.
    prompts().answerDialog(QStringLiteral("tables"));
    w.ExportReport();
    prompts().answerDialog(QStringLiteral("guests.pdf"));
    w.ExportReport();
    QCOMPARE(prompts().messages().size(), 2);
    QVERIFY(readFile(folder.file("tables.pdf")).startsWith("%PDF"));
    QCOMPARE(prompts().pendingAnswers(), 0);
  }
};

PELMORA_TEST(ReportSaveTest)
#include "tst_reportsave.moc"
