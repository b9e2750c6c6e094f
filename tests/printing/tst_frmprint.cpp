// The print design window: the Print section of pelmora.ini, the background
// list from design/, the preview, the colour and the print buttons.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

#include "app/mdlFileINI.h"
#include "printing/frmPrint.h"
#include "printing/mdlDrvScan.h"
#include "printing_fixture.h"
#include "support/drawntext.h"

using namespace mdlWedding;
using mdlFileINI::ReadINI;
using mdlFileINI::WriteINI;
using testsupport::prompts;

namespace {

QString printKey(const QString& key) { return ReadINI(IniFile(), "Print", key, "<none>"); }

// Blank pixels between the label's text and its left and right edges (the
// label drawn alone: some overlap their neighbours, some are transparent).
QPair<int, int> margins(QLabel* label) {
  QImage drawn(label->size(), QImage::Format_RGB32);
  drawn.fill(Qt::white);
  QPainter(&drawn).drawPixmap(0, 0, label->grab());
  const QRect ink = testsupport::InkBounds(drawn);
  return {ink.left(), label->width() - 1 - ink.right()};
}

QStringList listed(QListWidget* l) {
  QStringList out;
  for (int i = 0; i < l->count(); ++i) out << l->item(i)->text();
  return out;
}

// Opens the window in a mode as the main window's command does; `action`
// runs while it is shown.
void openPrint(frmPelmora& w, int mode, std::function<void(frmPrint&)> action) {
  prompts().onModal([action](QWidget* win) { action(*static_cast<frmPrint*>(win)); });
  w.Toolbar1_ButtonClick(mode == 1 ? 7 : 9);
}

}  // namespace

class PrintWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void firstUseAndSeparateKeys() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({printGuest("כהן", "דני", 1, "הרצל 1")});
    openPrint(w, 1, [](frmPrint& p) {
      QCOMPARE(p.windowTitle(), QStringLiteral("עיצוב מדבקות"));
      QVERIFY(!p.framLabelPrint->isHidden() && p.framSittingNotePrint->isHidden());
      QVERIFY(!p.chkLabelFrame->isChecked());
      QVERIFY(p.chkLabelAddress->isChecked());
      QVERIFY(p.shpLabelFrame->isHidden() && !p.lblLabelAddress->isHidden());
      QCOMPARE(g_PrintColor, 0);
      p.close();
    });
    QCOMPARE(printKey("Label Frame"), QStringLiteral("<none>"));  // closing writes nothing

    WriteINI(IniFile(), "Print", "Label Frame", "True");
    WriteINI(IniFile(), "Print", "Note Frame", "False");
    WriteINI(IniFile(), "Print", "Label Color", "255");
    openPrint(w, 2, [](frmPrint& p) {
      QCOMPARE(p.windowTitle(), QStringLiteral("עיצוב פתקי הושבה"));
      QVERIFY(!p.chkNoteFrame->isChecked());
      QCOMPARE(g_PrintColor, 0);  // notes keep their own colour
      QCOMPARE(listed(p.lstStyles), QStringList{printing::kNoBackground});
      QVERIFY(p.imgBG->isHidden());
      // A colour chosen here goes to Note Color only; a cancel keeps it.
      prompts().answerColor(QColor(0, 0, 255));
      p.cmdColor->click();
      QCOMPARE(g_PrintColor, qint32(0xFF0000));
      QCOMPARE(p.lblNoteName->palette().color(QPalette::WindowText), QColor(0, 0, 255));
      prompts().cancelDialog();
      p.cmdColor->click();
      QCOMPARE(g_PrintColor, qint32(0xFF0000));
      QCOMPARE(p.CommonDialog1.Flags, 2L);
      p.cmdPrintNote->click();
    });
    QVERIFY(!frmPrint::IsLoaded());
    QCOMPARE(printKey("Note Color"), QStringLiteral("16711680"));
    QCOMPARE(printKey("Note Frame"), QStringLiteral("False"));
    QCOMPARE(printKey("Note Background"), printing::kNoBackground);
    QCOMPARE(printKey("Label Color"), QStringLiteral("255"));
    QVERIFY(DataReport3::IsLoaded() && DataReport3::Default().isVisible());

    openPrint(w, 1, [](frmPrint& p) {
      QVERIFY(p.chkLabelFrame->isChecked());
      QVERIFY(!p.shpLabelFrame->isHidden());
      QCOMPARE(g_PrintColor, 255);
      p.chkLabelAddress->click();  // off
      p.cmdPrintLabel->click();
    });
    QCOMPARE(printKey("Label Address"), QStringLiteral("False"));
    QCOMPARE(printKey("Label Frame"), QStringLiteral("True"));
    QCOMPARE(printKey("Note Frame"), QStringLiteral("False"));
    QCOMPARE(g_ReportRS->Records().value(0).value("address_1"), QString());
    QVERIFY(DataReport2::Default().isVisible());
  }

  // The preview's labels are right-aligned in the right-to-left window: their
  // text ends at the label's right edge.
  void labelsAlignedRight() {
    testsupport::ProgramFolder folder;
    const QFont before = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Nachlieli CLM"), 9));  // the program's font
    frmPelmora& w = loadMainWindow({printGuest("כהן", "דני", 1, "הרצל 1")});
    QStringList notRight;
    auto check = [&](QLabel* label) {
      const auto [left, right] = margins(label);
      if (!(right <= 3 && left > 3)) notRight << label->text();
    };
    openPrint(w, 1, [&](frmPrint& p) {
      QVERIFY(QTest::qWaitForWindowExposed(&p));
      check(p.lblLabelName);
      check(p.lblLabelAddress);
      check(p.Label1);
      p.close();
    });
    openPrint(w, 2, [&](frmPrint& p) {
      QVERIFY(QTest::qWaitForWindowExposed(&p));
      check(p.lblNoteName);
      const auto [left, right] = margins(p.lblNoteTable);  // centred
      QVERIFY(qAbs(left - right) <= 2);
      p.close();
    });
    QApplication::setFont(before);
    QCOMPARE(notRight, QStringList());
  }

  void backgroundsFromTheDesignFolder() {
    testsupport::ProgramFolder folder;
    QDir().mkpath(folder.file("design/d.gif"));  // a folder: not listed
    writeGif(folder.file("design/a.gif"));
    writeGif(folder.file("design/B.GIF"));
    writeGif(folder.file("design/c.gifx"));
    QCOMPARE(int(mdlDrvScan::FindFiles(folder.file("design/") + "*.gif")), 2);
    QCOMPARE(mdlDrvScan::g_FoundFiles.mid(1, 2), (QVector<QString>{"a.gif", "B.GIF"}));
    QCOMPARE(int(mdlDrvScan::FindFiles(folder.file("nothing/") + "*.gif")), 0);

    frmPelmora& w = loadMainWindow({printGuest("כהן", "דני", 1)});
    WriteINI(IniFile(), "Print", "Note Background", "a.gif");
    openPrint(w, 2, [](frmPrint& p) {
      QCOMPARE(listed(p.lstStyles), (QStringList{printing::kNoBackground, "a.gif", "B.GIF"}));
      QCOMPARE(p.lstStyles->currentItem()->text(), QStringLiteral("a.gif"));
      QVERIFY(!p.imgBG->isHidden());
      QVERIFY(p.imgBG->hasScaledContents());
      QVERIFY(!p.imgBG->pixmap().isNull());
      // Typing never moves the selection; the arrow keys do.
      QTest::keyClick(p.lstStyles, Qt::Key_B);
      QCOMPARE(g_NoteBackground, QStringLiteral("a.gif"));
      QTest::keyClick(p.lstStyles, Qt::Key_Down);
      QCOMPARE(g_NoteBackground, QStringLiteral("B.GIF"));
      p.lstStyles->setCurrentRow(0);
      QVERIFY(p.imgBG->isHidden());
      QCOMPARE(g_NoteBackground, printing::kNoBackground);
      p.close();
    });

    // A name differing in case is not the file: no background.
    WriteINI(IniFile(), "Print", "Note Background", "A.gif");
    openPrint(w, 2, [](frmPrint& p) {
      QCOMPARE(p.lstStyles->currentItem()->text(), printing::kNoBackground);
      QCOMPARE(g_NoteBackground, printing::kNoBackground);
      QVERIFY(p.imgBG->isHidden());
      p.close();
    });
    QCOMPARE(printKey("Note Background"), QStringLiteral("A.gif"));  // until the next printing
  }

  void unreadableValuesFallBack() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({printGuest("כהן", "דני", 1)});
    WriteINI(IniFile(), "Print", "Label Frame", "maybe");
    WriteINI(IniFile(), "Print", "Label Color", "red");
    g_PrintFrame = true;
    openPrint(w, 1, [](frmPrint& p) {
      QVERIFY(!p.chkLabelFrame->isChecked());
      QVERIFY(!g_PrintFrame);
      QCOMPARE(g_PrintColor, 0);
      p.close();
    });
  }
};

PELMORA_TEST(PrintWindowTest)
#include "tst_frmprint.moc"
