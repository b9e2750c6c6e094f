// The main window's commands and the grid's mouse: update and delete with their
// questions, sorting by a header double-click, the pop-up menu and the wheel.
#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>

#include "editor/frmInvDetails.h"
#include "guestlist_fixture.h"
#include "guestlist/mdlMouseWheel.h"
#include "platform/dao_faults.h"
#include "platform/shell.h"
#include "support/files.h"
#include "support/otherconnection.h"

using namespace mdlWedding;
using testsupport::Invitation;
using testsupport::prompts;

namespace {

Invitation inv(const QString& family, const QString& first, int count = 2) { return guest(family, first, count); }

QVector<Invitation> numbered(int n) {
  QVector<Invitation> rows;
  for (int i = 1; i <= n; ++i) rows << inv(QStringLiteral("משפחה"), QString::number(i));
  return rows;
}

QStringList column(int col) {
  QStringList texts;
  for (int r = 1; r < frmPelmora::Default().MSFlexGrid1->Rows(); ++r) texts << cell(r, col);
  return texts;
}

void wheel(platform::FlexGrid* g, int delta, Qt::KeyboardModifiers mods = {}) {
  const QPointF pos(20, 20);
  QWheelEvent e(pos, g->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(g->viewport(), &e);
}

// A wheel step where a user's pointer stands: the widget of the grid under it
// gets the event, as the platform delivers it.
void wheelAt(platform::FlexGrid* g, const QPoint& gridPos, int delta) {
  QWidget* target = g->childAt(gridPos);
  QVERIFY(target);
  const QPointF local = target->mapFrom(g, gridPos);
  QWheelEvent e(local, target->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton, {}, Qt::NoScrollPhase,
                false);
  QApplication::sendEvent(target, &e);
}

frmPelmora& shownMainWindow(const QVector<Invitation>& rows) {
  frmPelmora& w = loadMainWindow(rows);
  w.resize(900, 500);
  w.show();
  testsupport::processEvents();
  return w;
}

// Update on the rows selected, answered Yes: the group's question, and the
// rows it takes.
void updateRows(frmPelmora& w, int first, int last) {
  prompts().answer(platform::vbYes);
  w.mnuUpdate->trigger();
  QCOMPARE(prompts().messages().last(), QStringLiteral("האם לעדכן את קבוצת המוזמנים?"));
  QCOMPARE(int(g_SelFirstRow), first);
  QCOMPARE(int(g_SelLastRow), last);
  QVERIFY(g_MultiSel);
}

}  // namespace

class CommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void updateAsksForOneRowOrSeveral() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = shownMainWindow(numbered(8));
    platform::FlexGrid* g = w.MSFlexGrid1;

    // Dragging from row 7 up to row 4.
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, cellCentre(g, 7, 1));
    QTest::mouseMove(g->viewport(), cellCentre(g, 4, 1));
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, cellCentre(g, 4, 1));
    updateRows(w, 4, 7);
    QVERIFY(frmInvDetails::IsLoaded());
    QCOMPARE(int(g_InvMode), 2);
    frmInvDetails::Unload();
    testsupport::processEvents();

    // One row, answered No: the names are taken, nothing opens.
    g_InvMode = 1;
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cellCentre(g, 3, 4));
    QCOMPARE(g->Col(), 0);
    QCOMPARE(g->ColSel(), 9);
    prompts().answer(platform::vbNo);
    w.Toolbar1->Click(2);
    QCOMPARE(prompts().messages().last(), QStringLiteral("האם לעדכן את ההזמנה למשפחה 3?"));
    QCOMPARE(g_SelFamilyName, QStringLiteral("משפחה"));
    QCOMPARE(g_SelFirstName, QStringLiteral("3"));
    QVERIFY(!g_MultiSel);
    QVERIFY(!frmInvDetails::IsLoaded());
    QCOMPARE(int(g_InvMode), 1);
  }

  // Shift with the arrows or a click selects rows as a drag does, so delete
  // refuses them and update takes them all.
  void keyboardSelectsRowsAsADragDoes() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = shownMainWindow(numbered(8));
    platform::FlexGrid* g = w.MSFlexGrid1;
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cellCentre(g, 3, 1));  // set-up
    QTest::keyClick(g, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(g, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(g->Row(), 3);
    QCOMPARE(g->RowSel(), 5);
    prompts().answer(platform::vbOK);
    w.mnuRemove->trigger();
    QCOMPARE(prompts().messages(),
             QStringList{QStringLiteral("לא ניתן למחוק קבוצה של מוזמנים, בחר הזמנה אחת בלבד למחיקה.")});
    QCOMPARE(testsupport::readInvitations().size(), 8);

    QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::ShiftModifier, cellCentre(g, 7, 1));
    QCOMPARE(g->Row(), 3);
    QCOMPARE(g->RowSel(), 7);
    updateRows(w, 3, 7);
    frmInvDetails::Unload();
    testsupport::processEvents();

    // Ctrl+End goes to the last row; a lone row deletes after the question.
    g->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(g, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(g->Row(), 8);
    QCOMPARE(g->RowSel(), 8);
    prompts().answer(platform::vbNo);
    w.mnuRemove->trigger();
    QCOMPARE(prompts().messages().last(), QStringLiteral("האם למחוק את ההזמנה למשפחה 8?"));
  }

  void doubleClicksOpenTheEditorOrSort() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = shownMainWindow({inv("בן", "א", 3), inv("אבו", "ב", 1), inv("גל", "ג", 2)});
    platform::FlexGrid* g = w.MSFlexGrid1;

    // Header double-clicks on columns 0, 0 and 3.
    doubleClickHeader(g, 0);
    QVERIFY(!frmInvDetails::IsLoaded());
    QCOMPARE(column(0), (QStringList{"אבו", "בן", "גל"}));
    doubleClickHeader(g, 0);
    QCOMPARE(column(0), (QStringList{"גל", "בן", "אבו"}));
    doubleClickHeader(g, 3);
    QCOMPARE(g_SortField, QStringLiteral("INV_NUM"));
    QCOMPARE(column(3), (QStringList{"1", "2", "3"}));

    // The order stays with filters and groups: only the order clause changes.
    w.popIgnoreCnfNotOk->trigger();
    w.InitList(g_GroupName, g_SortField);
    QCOMPARE(g_SQL, QStringLiteral("select * from PELMORA where (CONFIRM <> 2) order by INV_NUM ASC"));

    // A data row: the update question, then the editor.
    prompts().answer(platform::vbYes);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cellCentre(g, 2, 0));
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, cellCentre(g, 2, 0));
    QVERIFY(prompts().messages().last().startsWith(QStringLiteral("האם לעדכן את ההזמנה ל")));
    QVERIFY(frmInvDetails::IsLoaded());
    QCOMPARE(frmInvDetails::Default().windowTitle(), QStringLiteral("עידכון פרטי הזמנה נוכחית במערכת"));

    // Add chosen while the editor is open brings it to the front in add mode.
    w.mnuAdd->trigger();
    QCOMPARE(int(g_InvMode), 1);
    QCOMPARE(frmInvDetails::Default().windowTitle(), QStringLiteral("הוספת פרטי הזמנה חדשה למערכת"));
  }

  void aBusyDatabaseIsWaitedForThenReported() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = shownMainWindow({inv("בן", "א", 3), inv("אבו", "ב", 1), inv("גל", "ג", 2)});
    platform::FlexGrid* g = w.MSFlexGrid1;
    const QStringList before = column(0);
    w.mnuAdd->trigger();
    frmInvDetails& editor = frmInvDetails::Default();
    QTest::keyClicks(editor.txtFamilyName, QStringLiteral("Levi"));
    QTest::keyClicks(editor.txtFirstName, QStringLiteral("Ron"));

    // Another program holds the file in a write transaction all the while.
    testsupport::OtherConnection other(DatabaseFile());
    QCOMPARE(other.exec("BEGIN EXCLUSIVE"), SQLITE_OK);
    QCOMPARE(other.exec("UPDATE PELMORA SET INV_NUM = 9"), SQLITE_OK);
    prompts().clearShown();
    prompts().answer(platform::vbOK);
    doubleClickHeader(g, 0);
    QCOMPARE(prompts().shown().size(), 1);
    const platform::Prompt p = prompts().shown().first();
    QCOMPARE(p.style, int(platform::vbExclamation));
    QVERIFY2(p.text.contains(QStringLiteral("already in use")), qPrintable(p.text));
    QVERIFY(!platform::ProgramHasEnded());
    QVERIFY(w.isVisible());
    QCOMPARE(column(0), before);
    QCOMPARE(cell(1, 3), QStringLiteral("3"));
    QVERIFY(g_SortField.isEmpty());
    QVERIFY(frmInvDetails::IsLoaded());
    QCOMPARE(editor.txtFamilyName->text(), QStringLiteral("Levi"));
    QCOMPARE(editor.txtFirstName->text(), QStringLiteral("Ron"));

    // Let go while the program waits for it, the sort goes through.
    bool waited = false;
    dao::faults::OnBusyWait([&] {
      waited = true;
      other.exec("ROLLBACK");
    });
    QCOMPARE(other.exec("UPDATE PELMORA SET INV_NUM = 8"), SQLITE_OK);
    prompts().clearShown();
    doubleClickHeader(g, 0);
    QVERIFY(waited);
    QVERIFY(prompts().shown().isEmpty());
    QCOMPARE(column(0), (QStringList{"אבו", "בן", "גל"}));
    QCOMPARE(column(3), (QStringList{"1", "3", "2"}));

    // What was typed is still there to store.
    QTest::keyClick(editor.txtFirstName, Qt::Key_Return);
    QCOMPARE(prompts().shown().size(), 0);
    QCOMPARE(testsupport::readInvitations().size(), 4);
    QCOMPARE(other.text("PRAGMA integrity_check"), QStringLiteral("ok"));
  }

  void hebrewOrder() {
    testsupport::ProgramFolder folder;
    // Final letters sort with their regular forms; Latin ignores case.
    frmPelmora& w = shownMainWindow({inv("נחום", "1"), inv("ןא", "2"), inv("מאיר", "3"), inv("ben", "4"),
                                     inv("Adam", "5"), inv("נבון", "6")});
    doubleClickHeader(w.MSFlexGrid1, 0);
    QCOMPARE(column(0), (QStringList{"Adam", "ben", "מאיר", "ןא", "נבון", "נחום"}));
  }

  void rightButtonOpensThePopUp() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = shownMainWindow(numbered(3));
    platform::FlexGrid* g = w.MSFlexGrid1;
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, cellCentre(g, 1, 1));
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, cellCentre(g, 1, 1));
    QVERIFY(!w.mnuPopMenu->isVisible());
    QTest::mousePress(g->viewport(), Qt::MiddleButton, {}, cellCentre(g, 2, 1));
    QVERIFY(!w.mnuPopMenu->isVisible());
    QTest::mousePress(g->viewport(), Qt::RightButton, {}, cellCentre(g, 2, 1));
    QVERIFY(w.mnuPopMenu->isVisible());
    QCOMPARE(g->Row(), 1);  // the selection stays
    w.mnuPopMenu->hide();
  }

  void removeRecord() {
    testsupport::ProgramFolder folder;
    QVector<Invitation> rows = numbered(5);
    rows[1] = inv("O'Brien", "פט");
    frmPelmora& w = shownMainWindow(rows);
    platform::FlexGrid* g = w.MSFlexGrid1;

    // Several rows: refused, nothing deleted.
    g->SetRow(3);
    g->SetRowSel(5);
    prompts().answer(platform::vbOK);
    w.mnuRemove->trigger();
    QCOMPARE(prompts().messages().last(),
             QStringLiteral("לא ניתן למחוק קבוצה של מוזמנים, בחר הזמנה אחת בלבד למחיקה."));
    QCOMPARE(testsupport::readInvitations().size(), 5);

    // No: nothing changes, not even the saved place.
    g_SavedRow = 77;
    g->SetRow(2);
    prompts().answer(platform::vbNo);
    w.popDelete->trigger();
    QCOMPARE(prompts().messages().last(), QStringLiteral("האם למחוק את ההזמנה לO'Brien פט?"));
    QCOMPARE(prompts().shown().last().style, int(platform::vbYesNo));
    QCOMPARE(int(g_SavedRow), 77);
    QCOMPARE(testsupport::readInvitations().size(), 5);

    // Yes: a name with an apostrophe is found and deleted.
    g->SetRow(2);
    prompts().answer(platform::vbYes);
    w.Toolbar1->Click(3);
    auto left = testsupport::readInvitations();
    QCOMPARE(left.size(), 4);
    for (const auto& row : left) QVERIFY(row["FAMILY_NAME"].toString() != "O'Brien");
    QCOMPARE(g->Rows(), 5);
    QCOMPARE(g->Row(), 2);

    // The last row: the list is one shorter and the saved row is not applied.
    g->SetRow(4);
    prompts().answer(platform::vbYes);
    w.RemoveRecord();
    QCOMPARE(testsupport::readInvitations().size(), 3);
    QCOMPARE(g->Rows(), 4);
    QCOMPARE(g->Row(), 1);
    QCOMPARE(column(1), (QStringList{"1", "3", "4"}));

    // The row's invitation gone meanwhile: "the list is empty", nothing refreshed.
    auto db = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
    auto rs = db->OpenRecordset("select * from PELMORA");
    rs->Delete();
    db->Close();
    g->SetRow(1);
    prompts().answer(platform::vbYes);
    prompts().answer(platform::vbOK);
    w.RemoveRecord();
    QCOMPARE(prompts().messages().last(), QStringLiteral("רשימת המוזמנים ריקה."));
    QCOMPARE(g->Rows(), 4);
  }

  void wheelScrollsOneRowPerMessage() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = shownMainWindow(numbered(60));
    platform::FlexGrid* g = w.MSFlexGrid1;
    QVERIFY(mdlMouseWheel::IsHooked());
    QCOMPARE(g->TopRow(), 1);
    wheel(g, 120);  // up at the top: nothing
    QCOMPARE(g->TopRow(), 1);
    wheel(g, -360);  // one row whatever the size
    QCOMPARE(g->TopRow(), 2);
    wheel(g, -120, Qt::ControlModifier);
    QCOMPARE(g->TopRow(), 3);
    wheel(g, 120);
    QCOMPARE(g->TopRow(), 2);
    const int row = g->Row();
    for (int i = 0; i < 100; ++i) wheel(g, -120);
    QVERIFY(g->TopRow() > 30);
    const int bottom = g->TopRow();
    wheel(g, -120);
    QCOMPARE(g->TopRow(), bottom);  // the end: no further
    QCOMPARE(g->Row(), row);        // the current row does not move

    // Closing the window removes the hook (the map asks about its positions).
    prompts().answer(platform::vbCancel);
    try {
      frmPelmora::Unload();
    } catch (const platform::ProgramEnd&) {
    }
    QVERIFY(!mdlMouseWheel::IsHooked());
  }

  void wheelOverAnyPartOfTheGridScrollsOneRow() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = shownMainWindow(numbered(60));
    w.resize(500, 400);  // narrow: both scroll bars show
    testsupport::processEvents();
    platform::FlexGrid* g = w.MSFlexGrid1;
    QVERIFY(g->verticalScrollBar()->isVisible() && g->horizontalScrollBar()->isVisible());
    const auto centreOf = [g](QWidget* part) { return part->mapTo(g, part->rect().center()); };
    int top = g->TopRow();
    for (QWidget* part : {static_cast<QWidget*>(g->verticalScrollBar()),
                          static_cast<QWidget*>(g->horizontalScrollBar()), g->horizontalHeader()->viewport()}) {
      wheelAt(g, centreOf(part), -120);
      QCOMPARE(g->TopRow(), ++top);
    }
    wheelAt(g, centreOf(g->verticalScrollBar()), 120);
    QCOMPARE(g->TopRow(), --top);
  }

  void emptyListNeverScrolls() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = shownMainWindow({});
    wheel(w.MSFlexGrid1, -120);
    QCOMPARE(w.MSFlexGrid1->TopRow(), 1);
  }

  void helpFile() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = shownMainWindow({});
    w.mnuProgramHelp->trigger();  // no help file: nothing at all
    QVERIFY(platform::ShellRecorder::instance().requests.isEmpty());
    testsupport::writeFile(folder.file("pelmora.chm"), {});
    w.Toolbar1->Click(14);
    QCOMPARE(platform::ShellRecorder::instance().requests.size(), 1);
  }
};

PELMORA_TEST(CommandsTest)
#include "tst_commands.moc"
