// The budget printed to real CUPS queues: a refused job is a printing error,
// a taken one is titled as the window.
#include <QLabel>
#include <QtTest>

#include "budget/frmBudget.h"
#include "guestlist/frmPelmora.h"
#include "guestlist/guestlist_fixture.h"
#include "support/cupsserver.h"

using testsupport::printTo;

class BudgetPrintQueueTest : public QObject {
  Q_OBJECT
  testsupport::CupsServer cups_;

 private slots:
  void initTestCase() {
    using Queue = testsupport::CupsServer::Queue;
    PELMORA_START_CUPS(cups_, {{"office", "A4", Queue::Taking, true}, {"refusing", "A4", Queue::Refusing}});
  }
  void cleanupTestCase() { cups_.stop(); }

  void refusedAndTakenJobs() {
    testsupport::QueueFolder folder;
    loadMainWindow();
    frmPelmora::Default().Toolbar1_ButtonClick(6);
    frmBudget& w = frmBudget::Default();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QStringList failed{QStringLiteral("ארעה שגיאת הדפסה")};
    QCOMPARE(printTo(QStringLiteral("refusing"), [&] { QTest::mouseDClick(w.imgPrint, Qt::LeftButton); }), failed);
    QCOMPARE(printTo(QStringLiteral("refusing"), [&] { w.PrintBudget(); }), failed);
    QCOMPARE(cups_.jobsQueued(QStringLiteral("refusing")), 0);

    QCOMPARE(printTo(QStringLiteral("office"), [&] { QTest::mouseDClick(w.imgPrint, Qt::LeftButton); }),
             QStringList{QStringLiteral("המאזן התקציבי הודפס")});
    QTRY_COMPARE_WITH_TIMEOUT(cups_.printed().size(), 1, 120000);
    QCOMPARE(cups_.printed()[0].title, w.windowTitle());
  }
};

PELMORA_TEST(BudgetPrintQueueTest)
#include "tst_printqueue.moc"
