// Text longer than its box, as it lands on paper: names shrink and stay whole,
// report values shrink to a readable size and then end in "…" at the box's
// edge, captions fit whole, and nothing is drawn outside its box.
#include <QAction>
#include <QtTest>

#include "drawn_text.h"
#include "printing_fixture.h"

using namespace mdlWedding;

namespace {

const QString kLongFirst = QStringLiteral("אברהם יהושע מרדכי");
const QString kLongFamily = QStringLiteral("בן-שושן אלמוגי-כהן");
const QString kLongAddress = QStringLiteral("רחוב הגפן 23, דירה 4, קומה 2, תל אביב-יפו");

QVector<testsupport::Invitation> longGuests() {
  QVector<testsupport::Invitation> rows = {printGuest(kLongFamily, kLongFirst, 12, kLongAddress),
                                           printGuest("שושן", "דני", 3, QStringLiteral("הגפן 23, תל אביב"))};
  rows[0].remark = QStringLiteral("חברים של ההורים מהשכונה הישנה בחיפה");
  return rows;
}

// The whole text is on paper, inside its box.
bool drawnWhole(const platform::ReportItem& it, QString* why) {
  const auto runs = textRunsOf(it);
  const bool ok = letters(runs) == letters(it.text) && allInside(runs, it.rect);
  if (!ok) *why = describe(it, runs);
  return ok;
}

}  // namespace

class ReportTextTest : public QObject {
  Q_OBJECT
 private slots:
  void namesShrinkAndStayWhole() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow(longGuests());
    g_LabelAddress = true;
    g_NoteBackground = printing::kNoBackground;
    QString why;

    w.PrintLabels();
    const auto& labels = DataReport2::Default().Layout;
    int names = 0;
    for (const char* control : {"txtEnvLabel_1", "txtEnvLabel_2", "txtAddress_1", "txtAddress_2"})
      for (const auto& it : drawn(labels, QString::fromLatin1(control))) {
        QVERIFY2(drawnWhole(it, &why), qPrintable(why));
        ++names;
      }
    QCOMPARE(names, 4);
    // The long name did not fit at 12 pt: it is smaller, not cut.
    const auto longName = textRunsOf(drawn(labels, QStringLiteral("txtEnvLabel_1"))[0]);
    QVERIFY(!longName.isEmpty());
    for (const auto& r : longName) QVERIFY(r.pixelSize < 12 * 20);

    w.PrintSittingNote();
    const auto& notes = DataReport3::Default().Layout;
    for (const char* control : {"txtNoteName_1", "txtNoteName_2", "txtNoteTableNo_1", "txtNoteTableNo_2"}) {
      const auto items = drawn(notes, QString::fromLatin1(control));
      QCOMPARE(items.size(), 1);
      QVERIFY2(drawnWhole(items[0], &why), qPrintable(why));
    }
  }

  void listValuesShrinkThenEndInEllipsis() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow(longGuests());
    w.mnuPrintReport->trigger();
    const auto& layout = DataReport1::Default().Layout;

    const auto addresses = drawn(layout, QStringLiteral("txtAddress"));
    QCOMPARE(addresses.size(), 2);
    int cut = 0;
    for (const auto& it : addresses) {
      const auto runs = textRunsOf(it);
      QVERIFY2(allInside(runs, it.rect), qPrintable(describe(it, runs)));
      QString shown;
      for (const auto& r : runs) {
        QVERIFY2(r.pixelSize >= 6.5 * 20, qPrintable(describe(it, runs)));  // still readable
        shown += r.text;
      }
      if (it.text == kLongAddress) {
        // Cut where the box ends, and said so.
        QVERIFY2(shown.contains(QChar(0x2026)), qPrintable(describe(it, runs)));
        ++cut;
      }
      // Only letters of the value (and the ellipsis) are on paper.
      QString rest = letters(it.text);
      for (const QChar c : letters(shown.remove(QChar(0x2026)))) {
        const int at = rest.indexOf(c);
        QVERIFY2(at >= 0, qPrintable(describe(it, runs)));
        rest.remove(at, 1);
      }
    }
    QCOMPARE(cut, 1);
    // A long remark stays inside its column too.
    const auto remark = textRunsOf(drawn(layout, QStringLiteral("txtRemark"))[0]);
    QVERIFY(allInside(remark, drawn(layout, QStringLiteral("txtRemark"))[0].rect));

    // Every caption of the report fits its box whole.
    QString why;
    int captions = 0;
    for (const auto& page : layout.Pages())
      for (const auto& it : page) {
        const platform::ReportSection* section = nullptr;
        for (const auto* s : {&layout.ReportHeader, &layout.PageHeader, &layout.PageFooter, &layout.ReportFooter})
          if (s->Name == it.section) section = s;
        if (!section || it.kind != platform::ReportItem::Text || it.text.isEmpty()) continue;
        QVERIFY2(drawnWhole(it, &why), qPrintable(why));
        ++captions;
      }
    QVERIFY(captions >= 25);  // title, date, ten headings, footer, summary
  }
};

PELMORA_TEST(ReportTextTest)
#include "tst_reporttext.moc"
