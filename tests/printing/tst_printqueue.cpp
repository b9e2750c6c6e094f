// The reports printed from their previews to real CUPS queues: a refused job
// is a printing error; the print dialog offers the report's pages and the job
// holds only those chosen, with the copies and collation chosen, titled as the
// report; the guest list is laid out on the queue's paper.
#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include "printing_fixture.h"
#include "support/cupsserver.h"

using namespace mdlWedding;
using testsupport::prompts;

namespace {

QVector<testsupport::Invitation> guests(int n) {
  QVector<testsupport::Invitation> rows;
  for (int i = 1; i <= n; ++i) rows.append(printGuest(QStringLiteral("כהן"), QStringLiteral("אורח %1").arg(i), i % 50 + 1));
  return rows;
}

}  // namespace

class ReportPrintQueueTest : public QObject {
  Q_OBJECT
  testsupport::CupsServer cups_;

 private slots:
  void initTestCase() {
    using Queue = testsupport::CupsServer::Queue;
    PELMORA_START_CUPS(cups_, {{"office", "A4", Queue::Taking, true}, {"letter", "Letter"},
                               {"refusing", "A4", Queue::Refusing}});
  }
  void cleanupTestCase() { cups_.stop(); }

  void refusedJobIsAPrintingError() {
    testsupport::QueueFolder folder;
    frmPelmora& w = loadMainWindow(guests(3));
    w.PrintLabels();
    prompts().answerDialog(QStringLiteral("refusing"));
    prompts().answer(platform::vbOK);
    DataReport2::Default().actPrint->trigger();
    QCOMPARE(prompts().messages(), QStringList{QStringLiteral("ארעה שגיאת הדפסה")});
    QCOMPARE(cups_.jobsQueued(QStringLiteral("refusing")), 0);
  }

  // The print dialog offers the report's pages, left to right; the job holds
  // the pages chosen (2 to 3) and the copies and collation chosen.
  void chosenPagesAndCopies() {
    testsupport::QueueFolder folder;
    frmPelmora& w = loadMainWindow(guests(30));
    g_NoteBackground = printing::kNoBackground;
    w.PrintSittingNote();
    DataReport3& report = DataReport3::Default();
    const int pages = report.Layout.Pages().size();
    QVERIFY(pages >= 4);
    int offered = 0;
    Qt::LayoutDirection direction = Qt::RightToLeft;
    // The user picks pages 2 to 3 and two collated copies in the dialog.
    prompts().view([&](QWidget* dialog) {
      direction = dialog->layoutDirection();
      auto* to = dialog->findChild<QSpinBox*>(QStringLiteral("to"));
      QVERIFY(to);
      offered = to->maximum();
      dialog->findChild<QRadioButton*>(QStringLiteral("printRange"))->click();
      dialog->findChild<QSpinBox*>(QStringLiteral("from"))->setValue(2);
      to->setValue(3);
      dialog->findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(2);
      dialog->findChild<QCheckBox*>(QStringLiteral("collate"))->setChecked(true);
    });
    prompts().answerDialog(QStringLiteral("office"));
    report.actPrint->trigger();
    QCOMPARE(direction, Qt::LeftToRight);
    QCOMPARE(offered, pages);
    QTRY_COMPARE_WITH_TIMEOUT(cups_.printed().size(), 1, 120000);
    QCOMPARE(cups_.printed()[0].title, report.Caption());
    const auto job = cups_.printed()[0];
    QCOMPARE(job.pages(), 2);
    QCOMPARE(job.copies, 2);
    QVERIFY2(job.options.split(' ').contains(QStringLiteral("Collate")), qPrintable(job.options));
  }

  // On Letter paper the guest list has as many rows to a page as fit, and
  // the job is Letter; the preview keeps its A4 pages.
  void guestListOnLetterPaper() {
    testsupport::QueueFolder folder;
    frmPelmora& w = loadMainWindow(guests(300));
    w.mnuPrintReport->trigger();
    DataReport1& report = DataReport1::Default();
    const int a4Pages = report.Layout.Pages().size();
    const int letterPages = report.Layout.PagesOn(QSizeF(12240, 15840)).size();
    QVERIFY(letterPages > a4Pages);
    const int before = cups_.printed().size();
    prompts().answerDialog(QStringLiteral("letter"));
    report.actPrint->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(cups_.printed().size(), before + 1, 120000);
    const auto job = cups_.printed().last();
    QCOMPARE(job.mediaBox(), QStringLiteral("[0 0 612 792]"));
    QCOMPARE(job.pages(), letterPages);
    QCOMPARE(report.Layout.Pages().size(), a4Pages);
    QVERIFY(prompts().messages().isEmpty());
  }
};

PELMORA_TEST(ReportPrintQueueTest)
#include "tst_printqueue.moc"
