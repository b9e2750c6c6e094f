// The preview window shows each report's page as it prints: mixed Hebrew and
// numbers in the same order and places.
#include <QAction>
#include <QScrollBar>
#include <QToolBar>
#include <QtTest>

#include "drawn_text.h"
#include "platform/printer.h"
#include "printing_fixture.h"
#include "support/screens.h"

using namespace mdlWedding;

namespace {

const QString kMixed = QStringLiteral("הגפן 23, תל אביב");

// The strip of `control`'s first box as the preview shows it and as the page
// prints it, at the preview's scale; the share of ink that differs.
double previewAgainstPrint(platform::ReportWindow& report, const QString& control) {
  report.resize(1600, 1300);
  report.Show();
  testsupport::processEvents();
  const QImage shown = previewedPage(report);
  if (shown.isNull()) return 1.0;
  const double dpi = shown.width() * 1440.0 / report.Layout.PaperSize.width();
  const QImage printed = report.Layout.pageImage(1, dpi);
  const auto items = drawn(report.Layout, control);
  if (items.isEmpty()) return 1.0;
  const QRectF twips = items[0].rect;
  const QRect strip(qRound(twips.left() * dpi / 1440), qRound(twips.top() * dpi / 1440),
                    qRound(twips.width() * dpi / 1440), qRound(twips.height() * dpi / 1440));
  if (strip.bottom() >= shown.height()) return 1.0;  // not on screen
  return inkMismatch(shown.copy(strip), printed.copy(strip));
}

}  // namespace

class ReportPreviewTest : public QObject {
  Q_OBJECT
 private slots:
  void previewShowsWhatPrints() {
    testsupport::ProgramFolder folder;
    QVector<testsupport::Invitation> rows = {printGuest("כהן", "דני", 23, kMixed), printGuest("לוי", "רות", 7, kMixed)};
    rows[0].remark = kMixed;
    frmPelmora& w = loadMainWindow(rows);
    g_LabelAddress = true;
    g_PrintFrame = false;
    g_NoteBackground = printing::kNoBackground;

    w.PrintLabels();
    const double labels = previewAgainstPrint(DataReport2::Default(), QStringLiteral("txtAddress_1"));
    w.PrintSittingNote();
    const double notes = previewAgainstPrint(DataReport3::Default(), QStringLiteral("txtNoteTableNo_1"));
    w.mnuPrintReport->trigger();
    const double list = previewAgainstPrint(DataReport1::Default(), QStringLiteral("txtRemark"));
    QVERIFY2(labels < 0.1, qPrintable(QStringLiteral("labels differ by %1").arg(labels)));
    QVERIFY2(notes < 0.1, qPrintable(QStringLiteral("notes differ by %1").arg(notes)));
    QVERIFY2(list < 0.1, qPrintable(QStringLiteral("guest list differs by %1").arg(list)));
  }

  // Ctrl+P prints, Ctrl+S saves as PDF, Tab reaches the toolbar's buttons and
  // Escape closes the preview.
  void keysPrintSaveAndClose() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({printGuest("כהן", "דני", 3), printGuest("לוי", "רות", 7)});
    w.mnuPrintReport->trigger();
    DataReport1& report = DataReport1::Default();
    QVERIFY(QTest::qWaitForWindowActive(&report));
    auto focused = [] { return QApplication::focusWidget(); };
    QVERIFY(focused() && focused()->window() == &report);
    auto& printed = platform::PrintRecorder::instance().documents;
    printed.clear();

    QTest::keyClick(focused(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(printed.size(), 1);
    testsupport::prompts().answerDialog(QStringLiteral("guests.pdf"));
    QTest::keyClick(focused(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFile(folder.file("guests.pdf")).size() > 0);

    // Tab goes round the preview and its toolbar; Space presses a button.
    auto* bar = report.findChild<QToolBar*>();
    QVERIFY(bar);
    QWidget* pdfButton = bar->widgetForAction(report.actPDF);
    for (int i = 0; i < 12 && focused() != pdfButton; ++i) QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused(), pdfButton);
    testsupport::prompts().answerDialog(QStringLiteral("again.pdf"));
    QTest::keyClick(focused(), Qt::Key_Space);
    QVERIFY(QFile(folder.file("again.pdf")).size() > 0);
    QTest::keyClick(focused(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(focused(), bar->widgetForAction(report.actPrint));
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(printed.size(), 2);

    QTest::keyClick(focused(), Qt::Key_Escape);
    testsupport::processEvents();
    QVERIFY(!DataReport1::IsLoaded() || !DataReport1::Default().isVisible());
    QVERIFY(testsupport::prompts().shown().size() == 2);  // the two file dialogs, nothing else
  }

  void pagesAndZoom() {
    testsupport::ProgramFolder folder;
    QVector<testsupport::Invitation> rows;
    for (int i = 0; i < 90; ++i) rows << printGuest("משפחה", QString::number(i), i % 50 + 1);
    frmPelmora& w = loadMainWindow(rows);
    w.mnuPrintReport->trigger();
    DataReport1& report = DataReport1::Default();
    report.resize(900, 700);
    testsupport::processEvents();
    platform::ReportPreview& preview = *report.preview;
    QCOMPARE(preview.pageCount(), 3);
    QCOMPARE(preview.currentPage(), 1);
    // The page fills the width of the window.
    const QImage page = previewedPage(report);
    QVERIFY(qAbs(page.width() - preview.viewport()->width()) < 40);

    preview.setCurrentPage(3);
    QCOMPARE(preview.currentPage(), 3);
    preview.setCurrentPage(2);
    QCOMPARE(preview.currentPage(), 2);
    const double fitted = preview.zoomFactor();
    preview.zoomIn();
    QVERIFY(preview.zoomFactor() > fitted);
    report.resize(1200, 700);  // zoomed by hand: a resize keeps the zoom
    testsupport::processEvents();
    QVERIFY(preview.zoomFactor() > fitted);
    preview.fitToWidth();
    QVERIFY(preview.zoomFactor() > fitted);  // the wider window
  }

  void withinScaledScreens_data() { testsupport::addScreenRows({{1366, 768, 150}, {1920, 1080, 200}}); }

  // The preview's designed size is more than such a screen holds: it opens
  // within it, its scroll bar whole, the page still fitted to its width.
  void withinScaledScreens() {
    QFETCH(testsupport::TestScreen, screen);
    PELMORA_ON_SCREEN(screen);
    testsupport::ProgramFolder folder;
    QVector<testsupport::Invitation> rows;
    for (int i = 0; i < 60; ++i) rows << printGuest("משפחה", QString::number(i), i % 50 + 1);
    loadMainWindow(rows).mnuPrintReport->trigger();
    DataReport1& report = DataReport1::Default();
    QVERIFY(QTest::qWaitForWindowExposed(&report));
    PELMORA_TRY_FRAME_ON_SCREEN(&report, screen);
    QVERIFY(testsupport::wholeInWindow(report.preview->verticalScrollBar()));
    // The shot of the page is in device pixels.
    QTRY_VERIFY(qAbs(previewedPage(report).width() / report.devicePixelRatioF() - report.preview->viewport()->width()) < 40);
  }
};

PELMORA_TEST(ReportPreviewTest)
#include "tst_reportpreview.moc"
