// The printer object as tests see it: every document recorded in twips, pages,
// pictures at natural size, PDFs on request, the window print and the printer
// dialog.
#include <QLabel>
#include <QTemporaryDir>

#include "platform/commondialog.h"
#include "platform/msgbox.h"
#include "platform/printer.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "support/files.h"
#include "support/errors.h"
#include "support/testsupport.h"

using namespace platform;
using testsupport::errorNumber;

namespace {

QPixmap filled(int w, int h, const QColor& c) {
  QPixmap p(w, h);
  p.fill(c);
  return p;
}

}  // namespace

class TestPrinter : public QObject {
  Q_OBJECT

 private slots:
  void textIsPlacedAndLinesAdvance() {
    testsupport::ProgramFolder folder;
    auto& pr = Printer::instance();
    auto& docs = PrintRecorder::instance().documents;
    pr.CurrentX = 3700;
    pr.CurrentY = 500;
    pr.FontSize = 14;
    pr.FontBold = true;
    pr.ForeColor = QColor(0, 0, 255);
    const double bigLine = pr.TextHeight(QStringLiteral("x"));
    pr.Print(QStringLiteral("מפת השולחנות של כל האורחים"));
    QCOMPARE(pr.CurrentX, 0.0);
    QCOMPARE(pr.CurrentY, 500 + bigLine);

    pr.FontSize = 8.28;
    pr.FontBold = false;
    const double smallLine = pr.TextHeight(QStringLiteral("x"));
    QVERIFY(smallLine > 100 && smallLine < bigLine);  // about 8 points of 20 twips, plus spacing
    QCOMPARE(pr.TextHeight(QStringLiteral("a\r\nb")), 2 * smallLine);
    QVERIFY(pr.TextWidth(QStringLiteral("שולחן של 10")) > pr.TextWidth(QStringLiteral("שולחן של 1")));
    QCOMPARE(pr.TextWidth(QStringLiteral("ab\r\nabcd")), pr.TextWidth(QStringLiteral("abcd")));

    pr.CurrentX = 1200;
    pr.Print(QStringLiteral("one\r\ntwo"));  // the second line starts at the left edge
    pr.Print(QString());                     // an empty line only advances
    pr.Print(QStringLiteral("three"));
    QVERIFY(docs.isEmpty());  // nothing leaves before the end of the document
    pr.EndDoc();

    QCOMPARE(docs.size(), 1);
    const auto texts = docs[0].texts();
    QCOMPARE(texts.size(), 4);
    QCOMPARE(texts[0].text, QStringLiteral("מפת השולחנות של כל האורחים"));
    QCOMPARE(texts[0].x, 3700.0);
    QCOMPARE(texts[0].y, 500.0);
    QCOMPARE(texts[0].fontSize, 14.0);
    QVERIFY(texts[0].bold);
    QCOMPARE(texts[0].colour, QColor(0, 0, 255));
    const double y1 = 500 + bigLine;
    QCOMPARE(texts[1].text, QStringLiteral("one"));
    QCOMPARE(texts[1].x, 1200.0);
    QCOMPARE(texts[1].y, y1);
    QCOMPARE(texts[1].fontSize, 8.28);
    QVERIFY(!texts[1].bold);
    QCOMPARE(texts[2].text, QStringLiteral("two"));
    QCOMPARE(texts[2].x, 0.0);
    QCOMPARE(texts[2].y, y1 + smallLine);
    QCOMPARE(texts[3].text, QStringLiteral("three"));
    QCOMPARE(texts[3].y, y1 + 3 * smallLine);
    QCOMPARE(docs[0].pages, 1);
    QVERIFY(docs[0].pdfFile.isEmpty());
  }

  void picturesLinesAndPages() {
    testsupport::ProgramFolder folder;
    auto& pr = Printer::instance();
    auto& docs = PrintRecorder::instance().documents;

    // No picture: an error, and the document has not started.
    QCOMPARE(errorNumber([&] { pr.PaintPicture(QPixmap(), 600, 1700); }), 481L);
    pr.EndDoc();
    QVERIFY(docs.isEmpty());

    pr.PaintPicture(filled(40, 30, Qt::red), 600, 1700);
    pr.Line(100, 200, 5000, 200, Qt::green);
    QCOMPARE(pr.CurrentX, 5000.0);
    pr.NewPage();
    QCOMPARE(pr.CurrentY, 0.0);
    pr.Print(QStringLiteral("page two"));
    pr.EndDoc();
    QCOMPARE(pr.CurrentY, 0.0);

    QCOMPARE(docs.size(), 1);
    const auto& d = docs[0];
    QCOMPARE(d.pages, 2);
    const auto pics = d.pictures();
    QCOMPARE(pics.size(), 1);
    QCOMPARE(pics[0].page, 1);
    QCOMPARE(pics[0].x, 600.0);
    QCOMPARE(pics[0].y, 1700.0);
    QCOMPARE(pics[0].width, vb::PixelsToTwipsX(40));
    QCOMPARE(pics[0].height, vb::PixelsToTwipsY(30));
    QCOMPARE(pics[0].picture.toImage().pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(d.items[1].kind, PrintedItem::Line);
    QCOMPARE(d.items[1].width, 4900.0);
    QCOMPARE(d.items[1].height, 0.0);
    QCOMPARE(d.texts().value(0).page, 2);

    // The next document starts afresh at page 1.
    pr.Print(QStringLiteral("again"));
    pr.EndDoc();
    QCOMPARE(docs.size(), 2);
    QCOMPARE(docs[1].pages, 1);
    QCOMPARE(docs[1].items.size(), 1);
    QCOMPARE(docs[1].items[0].page, 1);
  }

  void pdfIsWrittenWhenAsked() {
    testsupport::ProgramFolder folder;
    QTemporaryDir out;
    auto& rec = PrintRecorder::instance();
    rec.activate(out.path());
    auto& pr = Printer::instance();
    pr.CurrentX = 1000;
    pr.CurrentY = 1000;
    pr.FontSize = 14;
    pr.Print(QStringLiteral("שולחן של 12"));
    pr.PaintPicture(filled(64, 64, Qt::blue), 1000, 2000);
    pr.EndDoc();

    QLabel window(QStringLiteral("חלון להדפסה"));
    window.resize(200, 80);
    PrintForm(&window);

    QCOMPARE(rec.documents.size(), 2);
    for (const auto& d : rec.documents) {
      QVERIFY(!d.pdfFile.isEmpty());
      QVERIFY(d.pdfFile.startsWith(out.path()));
      QVERIFY(QFileInfo(d.pdfFile).size() > 500);
      QCOMPARE(testsupport::readFile(d.pdfFile).left(5), QByteArray("%PDF-"));
    }
    QVERIFY(rec.documents[0].pdfFile != rec.documents[1].pdfFile);

    // The window's image: one picture at the top left in its natural size.
    const auto& form = rec.documents[1];
    QCOMPARE(form.pages, 1);
    QCOMPARE(form.items.size(), 1);
    QCOMPARE(form.items[0].kind, PrintedItem::Picture);
    QCOMPARE(form.items[0].x, 0.0);
    QCOMPARE(form.items[0].y, 0.0);
    QCOMPARE(form.items[0].width, vb::PixelsToTwipsX(200));
    QCOMPARE(form.items[0].height, vb::PixelsToTwipsY(80));
    QCOMPARE(form.items[0].picture.deviceIndependentSize().toSize(), QSize(200, 80));
  }

  void printerDialog() {
    testsupport::ProgramFolder folder;
    auto& script = testsupport::prompts();
    CommonDialog cdl;

    script.cancelDialog();
    QCOMPARE(errorNumber([&] { cdl.ShowPrinter(); }), 0L);  // silent without CancelError

    cdl.CancelError = true;
    script.cancelDialog();
    QCOMPARE(errorNumber([&] { cdl.ShowPrinter(); }), long(CommonDialog::cdlCancel));

    script.answerDialog(QStringLiteral("any"));
    QCOMPARE(errorNumber([&] { cdl.ShowPrinter(); }), 0L);

    const auto shown = script.shown();
    QCOMPARE(shown.size(), 3);
    for (const auto& p : shown) {
      QCOMPARE(p.kind, Prompt::FileDialog);
      QCOMPARE(p.title, QStringLiteral("Print"));
    }
    QCOMPARE(shown[1].answer, int(vbCancel));
    QCOMPARE(shown[2].answer, int(vbOK));
    QVERIFY(PrintRecorder::instance().documents.isEmpty());
  }
};

PELMORA_TEST(TestPrinter)
#include "tst_printer.moc"
