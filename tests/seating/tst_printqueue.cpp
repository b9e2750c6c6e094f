// The seat view and the tables map printed to real CUPS queues: a refused job
// is never reported as printed, a paused queue keeps the job, the map follows
// the queue's paper and each job carries its window's title.
#include <QLabel>
#include <QPrinter>
#include <QtTest>

#include "app/mdlWedding.h"
#include "guestlist/guestlist_fixture.h"
#include "platform/printer.h"
#include "seating/frmTable.h"
#include "seating/frmTableMap.h"
#include "support/cupsserver.h"
#include "support/errors.h"
#include "support/tablemap.h"
#include "support/testsupport.h"

using namespace mdlWedding;
using testsupport::printTo;

namespace {

const QString kFailed = QStringLiteral("ארעה שגיאת הדפסה");
const QString kSeatsPrinted = QStringLiteral("סידור ההושבה לשולחן הודפס");
const QString kMapPrinted = QStringLiteral("הודפסה מפת השולחנות.");

// A guest list, the map and the seat view of table 5, all shown.
frmTable& openSeatView() {
  QVector<testsupport::Invitation> rows = {guest(QStringLiteral("כהן"), QStringLiteral("דוד"), 2, 1)};
  rows[0].tableNo = 5;
  loadMainWindow(rows);
  testsupport::showMap();
  g_SelTable = 5;
  g_SelTablePeople = 2;
  g_NewLine = QStringLiteral("\r\n");
  frmTable& view = frmTable::Default();
  view.show();
  return view;
}

}  // namespace

class SeatingPrintQueueTest : public QObject {
  Q_OBJECT
  testsupport::CupsServer cups_;

 private slots:
  void initTestCase() {
    using Queue = testsupport::CupsServer::Queue;
    PELMORA_START_CUPS(cups_, {{"office", "A4", Queue::Taking, true}, {"letter", "Letter"},
                               {"paused", "A4", Queue::Paused}});
  }
  void cleanupTestCase() { cups_.stop(); }

  // A queue that refuses jobs, and a queue that is gone: the message says so
  // for the seat view and the map, and nothing reaches a queue.
  void refusedJobsAreNotPrinted() {
    testsupport::QueueFolder folder;
    frmTable& view = openSeatView();
    frmTableMap& map = frmTableMap::Default();
    QVERIFY(cups_.command(QStringLiteral("cupsreject"), {QStringLiteral("office")}));
    QCOMPARE(printTo(QStringLiteral("office"), [&] { QTest::mouseDClick(view.imgPrint, Qt::LeftButton); }),
             QStringList{kFailed});
    QVERIFY(view.imgPrint->isVisible());
    QCOMPARE(printTo(QStringLiteral("office"), [&] { map.Toolbar1->Click(10); }), QStringList{kFailed});
    QVERIFY(cups_.command(QStringLiteral("cupsaccept"), {QStringLiteral("office")}));
    QCOMPARE(cups_.jobsQueued(QStringLiteral("office")), 0);

    // The printer removed once it was chosen, and the scheduler gone: the
    // window's print fails.
    platform::Printer::instance().device()->setPrinterName(QStringLiteral("office"));
    QVERIFY(cups_.command(QStringLiteral("lpadmin"), {QStringLiteral("-x"), QStringLiteral("office")}));
    QCOMPARE(testsupport::errorNumber([&] { platform::PrintForm(&view); }), 482L);
    QVERIFY(cups_.addQueue(QStringLiteral("office"), QStringLiteral("A4"), true));
    platform::Printer::instance().device()->setPrinterName(QStringLiteral("office"));
    cups_.stop();
    QCOMPARE(testsupport::errorNumber([&] { platform::PrintForm(&view); }), 482L);
    QString why;
    QVERIFY2(cups_.start(&why), qPrintable(why));
  }

  // A paused queue takes the job and keeps it: that is printed. The map on a
  // Letter queue is a Letter page; each job is titled as its window.
  void takenJobsPausedQueueLetterPaperAndTitles() {
    testsupport::QueueFolder folder;
    frmTable& view = openSeatView();
    frmTableMap& map = frmTableMap::Default();
    QCOMPARE(printTo(QStringLiteral("paused"), [&] { QTest::mouseDClick(view.imgPrint, Qt::LeftButton); }),
             QStringList{kSeatsPrinted});
    QCOMPARE(cups_.jobsQueued(QStringLiteral("paused")), 1);

    const int before = cups_.printed().size();
    QCOMPARE(printTo(QStringLiteral("letter"), [&] { map.Toolbar1->Click(10); }), QStringList{kMapPrinted});
    QCOMPARE(printTo(QStringLiteral("letter"), [&] { QTest::mouseDClick(view.imgPrint, Qt::LeftButton); }),
             QStringList{kSeatsPrinted});
    QTRY_COMPARE_WITH_TIMEOUT(cups_.printed().size(), before + 2, 120000);
    const auto jobs = cups_.printed().mid(before);
    QCOMPARE(jobs[0].title, map.windowTitle());
    QCOMPARE(jobs[0].mediaBox(), QStringLiteral("[0 0 612 792]"));
    QCOMPARE(jobs[1].title, view.windowTitle());
  }
};

PELMORA_TEST(SeatingPrintQueueTest)
#include "tst_printqueue.moc"
