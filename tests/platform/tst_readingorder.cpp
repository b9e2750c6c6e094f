// Reading order: texts written for a left-to-right box show as written, in
// message boxes, input boxes, labels, buttons and menus; English boxes and the
// platform's dialogs are laid out left to right.
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>

#include "platform/commondialog.h"
#include "platform/msgbox.h"
#include "platform/readingorder.h"
#include "support/drawntext.h"
#include "support/testsupport.h"

using namespace platform;
using testsupport::InkOf;
using testsupport::InkOfLine;
using testsupport::SameInk;

namespace {

// The text of a message box as drawn, read through the script's viewer.
struct ShownBox {
  QImage ink, firstLineInk, lastLineInk;
  QFont font;
  Qt::LayoutDirection direction = Qt::LeftToRight;
  QRect icon, ok, cancel;
  int width = 0;
};

ShownBox showBox(const QString& text, int style) {
  ShownBox shown;
  auto& script = testsupport::prompts();
  script.view([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    QVERIFY(box);
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    shown.ink = InkOf(label);
    shown.firstLineInk = InkOf(label, QRect(0, 0, label->width(), label->height() / 2));
    const int lineHeight = label->fontMetrics().height();
    shown.lastLineInk = InkOf(label, QRect(0, label->height() - lineHeight, label->width(), lineHeight));
    shown.font = label->font();
    shown.direction = box->layoutDirection();
    shown.width = box->width();
    if (auto* icon = box->findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label")))
      shown.icon = QRect(icon->mapTo(box, QPoint()), icon->size());
    if (auto* b = box->button(QMessageBox::Ok)) shown.ok = QRect(b->mapTo(box, QPoint()), b->size());
    if (auto* b = box->button(QMessageBox::Cancel)) shown.cancel = QRect(b->mapTo(box, QPoint()), b->size());
  });
  script.answer(vbOK);
  MsgBox(text, style);
  script.view(nullptr);
  return shown;
}

}  // namespace

class TestReadingOrder : public QObject {
  Q_OBJECT

 private slots:
  void messageTextsShowAsWritten() {
    testsupport::ProgramFolder folder;
    // Every text that begins with a mark or a number was written for a
    // left-to-right box: the mark stands where the Hebrew sentence ends.
    const QStringList writtenLeftToRight = {
        "?האם ברצונך לשמור מיקומי מפת השולחנות ביציאה", ".קובץ לא נמצא",
        "!ארעה שגיאה קריטית בתהליך יצירת התוכנה",   "!ארעה שגיאה קריטית בתהליך שדרוג התוכנה",
        "40 מספר השולחן צריך להיות מ 1 עד",           ".שולחן ריק מאנשים",
        ".קובץ המקור לא נמצא",                         "!פעולת יצוא מבנה הנתונים נכשלה",
        ".פעולת יצוא מבנה הנתונים הצליחה",             "!פעולת יבוא מבנה הנתונים נכשלה",
        ".פעולת יבוא מבנה הנתונים הצליחה",             "?/home/dana/Wed.mdb האם ברצונך לשכתב",
    };
    for (const QString& text : writtenLeftToRight) {
      const ShownBox shown = showBox(text, vbOKOnly);
      QVERIFY2(SameInk(shown.ink, InkOfLine(text, shown.font, Qt::LeftToRight)), qPrintable(text));
      QVERIFY2(!SameInk(shown.ink, InkOfLine(text, shown.font, Qt::RightToLeft)), qPrintable(text));
      QCOMPARE(shown.direction, Qt::RightToLeft);
    }
    // Texts that begin with a Hebrew letter read right to left, ours included.
    for (const QString& text : {QStringLiteral("ההזמנות הבאות לא נמצאו ולא עודכנו:"),
                                QStringLiteral("שולחן היעד אינו ריק, האם להחליף שולחנות?"),
                                QStringLiteral("לא ניתן להושיב יותר מ- 12 איש בשולחן")}) {
      const ShownBox shown = showBox(text, vbOKOnly);
      QVERIFY2(SameInk(shown.ink, InkOfLine(text, shown.font, Qt::RightToLeft)), qPrintable(text));
    }
  }

  void linesOfOneTextEachTakeTheirOwnDirection() {
    testsupport::ProgramFolder folder;
    // Two lines joined by CR LF: the first reads right to left and is whole.
    const QString first = QStringLiteral("פעולה זו מייבאת מבנה נתונים והגדרות");
    const ShownBox shown = showBox(first + "\r\n" + QStringLiteral("?של חתונה חיצונית, להמשיך"), vbYesNo);
    QVERIFY(SameInk(shown.firstLineInk, InkOfLine(first, shown.font, Qt::RightToLeft)));
    // A lone CR breaks the line too, as the dialer's port message has it.
    const ShownBox port = showBox(QStringLiteral("COM3 is not available.\rChange the CommPort property to another port."), vbOKOnly);
    QVERIFY(SameInk(port.firstLineInk, InkOfLine(QStringLiteral("COM3 is not available."), port.font, Qt::LeftToRight)));
    // Lines of other directions keep the height the box measured: the last
    // line stands whole at the bottom of the text, not cut by its edge.
    const QString mail = QStringLiteral("support@pelmora.example");
    const ShownBox critical = showBox(QStringLiteral("ארעה שגיאה קריטית בתהליך שדרוג התוכנה!\r\nwww.pelmora.example\r\n") + mail, vbCritical);
    QVERIFY(SameInk(critical.lastLineInk, InkOfLine(mail, critical.font, Qt::LeftToRight)));

    const QString rtl = QStringLiteral("פעולה זו מייבאת מבנה נתונים והגדרות");
    const QString ltr = QStringLiteral("?של חתונה חיצונית, להמשיך");
    const QChar lri(0x2066), rli(0x2067), pdi(0x2069);
    QCOMPARE(ShownText(rtl + "\r\n" + ltr, Qt::RightToLeft), rtl + "\n" + lri + ltr + pdi);
    QCOMPARE(ShownText(rtl + "\n" + ltr, Qt::LeftToRight), rli + rtl + pdi + "\n" + ltr);
    QCOMPARE(ShownText(QStringLiteral("\n  \n"), Qt::RightToLeft), QStringLiteral("\n  \n"));
    QCOMPARE(ShownText(QStringLiteral("COM1 is not available.\rChange"), Qt::LeftToRight),
             QStringLiteral("COM1 is not available.\nChange"));
    QCOMPARE(LineDirection(u"  שלום"), Qt::RightToLeft);
    QCOMPARE(LineDirection(u"...הגדרות"), Qt::LeftToRight);
    QCOMPARE(LineDirection(u"&System Info...", true), Qt::LeftToRight);
    QCOMPARE(LineDirection(u"&הגדרות", true), Qt::RightToLeft);
    QCOMPARE(LineDirection(u"&הגדרות", false), Qt::LeftToRight);
    QCOMPARE(BoxDirection(QStringLiteral("No modem detected")), Qt::LeftToRight);
    QCOMPARE(BoxDirection(QStringLiteral("COM1 is not available. כן")), Qt::RightToLeft);
  }

  void englishBoxesAreLaidOutLeftToRight() {
    testsupport::ProgramFolder folder;
    const ShownBox english = showBox(QStringLiteral("Quiting dialer will terminat the call!"), vbOKCancel + vbCritical);
    QCOMPARE(english.direction, Qt::LeftToRight);
    QVERIFY(english.icon.center().x() < english.width / 2);  // the icon on the left
    QVERIFY(english.ok.right() < english.cancel.left());     // OK before Cancel
    QVERIFY(SameInk(english.ink, InkOfLine(QStringLiteral("Quiting dialer will terminat the call!"), english.font,
                                           Qt::LeftToRight)));
    const ShownBox hebrew = showBox(QStringLiteral("מחק?"), vbOKCancel + vbQuestion);
    QCOMPARE(hebrew.direction, Qt::RightToLeft);
    QVERIFY(hebrew.icon.center().x() > hebrew.width / 2);
    QVERIFY(hebrew.ok.left() > hebrew.cancel.right());

    // The input box follows the same rules.
    auto& script = testsupport::prompts();
    QImage ink;
    QFont font;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    script.view([&](QWidget* w) {
      auto* label = w->findChild<QLabel*>();
      QVERIFY(label);
      ink = InkOf(label);
      font = label->font();
      direction = w->layoutDirection();
    });
    script.answerInput("3");
    InputBox(QStringLiteral(":מספר שולחן"), QStringLiteral("עדכון"));
    QCOMPARE(direction, Qt::RightToLeft);
    QVERIFY(SameInk(ink, InkOfLine(QStringLiteral(":מספר שולחן"), font, Qt::LeftToRight)));
  }

  void labelsButtonsAndMenusShowAsWritten() {
    QWidget rtl;
    rtl.setLayoutDirection(Qt::RightToLeft);
    auto* label = new QLabel(QStringLiteral(":כמות מקסימלית של שולחנות"), &rtl);
    label->resize(label->sizeHint() + QSize(30, 0));
    QVERIFY(SameInk(InkOf(label), InkOfLine(label->text(), label->font(), Qt::LeftToRight)));
    auto* button = new QPushButton(QStringLiteral("...הדפס מדבקות"), &rtl);
    button->resize(button->sizeHint() + QSize(30, 0));
    QVERIFY(SameInk(InkOf(button), InkOfLine(button->text(), button->font(), Qt::LeftToRight)));

    // An English window reads left to right, though the program is right to left.
    QWidget ltr;
    ltr.setLayoutDirection(Qt::LeftToRight);
    auto* sysInfo = new QPushButton(QStringLiteral("&System Info..."), &ltr);
    sysInfo->resize(sysInfo->sizeHint() + QSize(30, 0));
    QVERIFY(SameInk(InkOf(sysInfo), InkOfLine(sysInfo->text(), sysInfo->font(), Qt::LeftToRight)));
    QVERIFY(!SameInk(InkOf(sysInfo), InkOfLine(sysInfo->text(), sysInfo->font(), Qt::RightToLeft)));

    // A menu item: its dots at the left end, where the Hebrew ends.
    QMenu menu;
    menu.setLayoutDirection(Qt::RightToLeft);
    QAction* item = menu.addAction(QStringLiteral("...הגדרות"));
    menu.resize(menu.sizeHint());
    const QRect at = menu.actionGeometry(item);
    QVERIFY(SameInk(InkOf(&menu, at), InkOfLine(item->text(), menu.font(), Qt::LeftToRight)));
  }

  void commonDialogsAreLaidOutLeftToRight() {
    testsupport::ProgramFolder folder;
    auto& script = testsupport::prompts();
    QStringList seen;
    auto record = [&](QWidget* w) {
      seen << QString::fromLatin1(w->metaObject()->className()) +
                  (w->layoutDirection() == Qt::LeftToRight ? " left to right" : " right to left");
    };
    CommonDialog d;
    d.Filter = QStringLiteral("Pelmora Database (*.mdb)|*.mdb");
    script.view(record);
    for (int i = 0; i < 4; ++i) script.cancelDialog();
    d.ShowOpen();
    d.ShowSave();
    d.ShowColor();
    d.ShowPrinter();
    QCOMPARE(seen, (QStringList{"QFileDialog left to right", "QFileDialog left to right",
                                "QColorDialog left to right", "QPrintDialog left to right"}));
  }
};

PELMORA_TEST(TestReadingOrder)
#include "tst_readingorder.moc"
