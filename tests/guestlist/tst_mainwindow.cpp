// The main window's life: placement and column widths kept per user, resizing,
// the group combo, the status bar and the close.
#include <QAction>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDebug>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QtTest>

#include "guestlist_fixture.h"
#include "platform/forms.h"
#include "platform/registry.h"
#include "seating/frmTableMap.h"
#include "support/files.h"
#include "support/screens.h"
#include "support/smalldisk.h"

using namespace mdlWedding;
using testsupport::prompts;

namespace {
void restart() {
  platform::Forms::DestroyAll();
  testsupport::processEvents();
  ResetState();
  testsupport::useCurrentFolderAsProgramFolder();
  platform::ResetProgramEnd();
  g_WeddingDate = vb::Today();
  frmPelmora::Default();
}

// The map, in map view with positions never saved, asks whether to save them.
void closeMain() {
  prompts().answer(platform::vbCancel);
  try {
    frmPelmora::Unload();
  } catch (const platform::ProgramEnd&) {
  }
  testsupport::processEvents();
}

QByteArray settingsBytes() { return testsupport::readFile(platform::SettingsFileName("Pelmora")); }

QString setting(const QString& section, const QString& key) {
  return platform::GetSetting("Pelmora", section, key, "<none>");
}
}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void placementAndWidthsSurviveARestart() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow();
    for (int c = 0; c < 10; ++c) QCOMPARE(w.m_ColWidth[c], QStringLiteral("<no value>"));
    QCOMPARE(w.MSFlexGrid1->ColWidth(0), 1250);
    w.move(40, 30);
    w.resize(700, 500);
    w.MSFlexGrid1->SetColWidth(2, 3000);
    closeMain();
    QVERIFY(platform::ProgramHasEnded());
    QCOMPARE(setting("Settings", "Window"), QStringLiteral("0"));
    QCOMPARE(setting("Settings", "MainWidth"), QStringLiteral("10500"));
    QCOMPARE(setting("TableSettings", "ColWidth-2"), QStringLiteral("3000"));

    restart();
    frmPelmora& again = frmPelmora::Default();
    QCOMPARE(again.pos(), QPoint(40, 30));  // the stored placement, not the screen's centre
    QCOMPARE(again.size(), QSize(700, 500));
    QCOMPARE(again.m_ColWidth[2], QStringLiteral("3000"));
    QCOMPARE(again.MSFlexGrid1->ColWidth(2), 3000);

    // A width dragged while running lasts until the next load.
    again.MSFlexGrid1->SetColWidth(4, 4500);
    again.InitList(g_GroupName, g_SortField);
    QCOMPARE(again.MSFlexGrid1->ColWidth(4), 2200);  // back to the default
  }

  // Closed on a larger screen, started on a smaller one: a window whose title
  // bar would lie off the screen is pulled onto it and made no larger than
  // the screen; a place that fits is kept as it was stored.
  void placementOffTheScreenIsPulledOntoIt() {
    testsupport::ProgramFolder folder;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    auto store = [](int left, int top, int width, int height) {
      platform::SaveSetting("Pelmora", "Settings", "Window", "0");
      platform::SaveSetting("Pelmora", "Settings", "MainLeft", vb::Str(qRound(vb::PixelsToTwipsX(left))));
      platform::SaveSetting("Pelmora", "Settings", "MainTop", vb::Str(qRound(vb::PixelsToTwipsY(top))));
      platform::SaveSetting("Pelmora", "Settings", "MainWidth", vb::Str(qRound(vb::PixelsToTwipsX(width))));
      platform::SaveSetting("Pelmora", "Settings", "MainHeight", vb::Str(qRound(vb::PixelsToTwipsY(height))));
    };
    auto showMain = [] {
      frmPelmora& w = frmPelmora::Default();
      w.show();
      testsupport::processEvents();
      return &w;
    };
    const QSize fits(screen.width() / 2, screen.height() / 2);

    // Beyond the bottom-right corner, as at 1300,1000 of a larger screen.
    store(screen.right() + 500, screen.bottom() + 400, fits.width(), fits.height());
    loadMainWindow();
    frmPelmora* w = showMain();
    QVERIFY2(screen.contains(w->frameGeometry()), qPrintable(QDebug::toString(w->frameGeometry())));
    QCOMPARE(w->size(), fits);

    // Larger than the screen: no larger than it, and wholly on it.
    store(screen.left(), screen.top(), screen.width() * 2, screen.height() * 2);
    restart();
    w = showMain();
    QVERIFY2(screen.contains(w->frameGeometry()), qPrintable(QDebug::toString(w->frameGeometry())));

    // Above the top edge and left of the screen: the title bar is out of reach.
    store(screen.left() - fits.width() - 50, screen.top() - 300, fits.width(), fits.height());
    restart();
    w = showMain();
    QVERIFY2(screen.contains(w->frameGeometry()), qPrintable(QDebug::toString(w->frameGeometry())));
    QCOMPARE(w->size(), fits);

    // The title bar on the screen, the rest below its edge: as stored.
    const QPoint low(screen.left() + 20, screen.bottom() - fits.height() / 2);
    store(low.x(), low.y(), fits.width(), fits.height());
    restart();
    w = showMain();
    QCOMPARE(w->pos(), low);
    QCOMPARE(w->size(), fits);
  }

  void placementThatCannotBeStoredIsTold() {
    testsupport::ProgramFolder folder;
    QVERIFY(QDir(folder.settingsRoot()).mkpath("Pelmora"));
    testsupport::SmallDisk disk(folder.settingsRoot() + "/Pelmora");
    PELMORA_REQUIRE_MOUNTED(disk);
    QDir::setCurrent(folder.path());  // the program folder stays current
    frmPelmora& w = loadMainWindow();
    w.move(40, 30);
    closeMain();
    const QByteArray before = settingsBytes();
    QVERIFY(!before.isEmpty());
    restart();
    frmPelmora::Default().move(60, 50);
    disk.fill();
    prompts().clearShown();
    prompts().answer(platform::vbOK);  // the settings message
    closeMain();
    QVERIFY(platform::ProgramHasEnded());
    QCOMPARE(prompts().messages().size(), 2);
    QVERIFY(prompts().messages().contains(QStringLiteral("!ההגדרות לא נשמרו") + g_NewLine +
                                          platform::SettingsFileName("Pelmora")));
    QCOMPARE(settingsBytes(), before);
    QCOMPARE(setting("Settings", "MainLeft"), QString::number(40 * 15));
  }

  void maximisedAndMinimisedCloses() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow();
    w.resize(800, 500);
    closeMain();
    restart();
    frmPelmora::Default().setWindowState(Qt::WindowMaximized);
    frmPelmora::Default().MSFlexGrid1->SetColWidth(0, 1500);
    closeMain();
    QCOMPARE(setting("Settings", "Window"), QStringLiteral("2"));
    QCOMPARE(setting("Settings", "MainWidth"), QStringLiteral("12000"));  // from the normal close
    restart();
    QVERIFY(frmPelmora::Default().windowState() & Qt::WindowMaximized);

    frmPelmora::Default().setWindowState(Qt::WindowMinimized);
    frmPelmora::Default().MSFlexGrid1->SetColWidth(0, 1800);
    closeMain();
    QCOMPARE(setting("Settings", "Window"), QStringLiteral("2"));
    QCOMPARE(setting("TableSettings", "ColWidth-0"), QStringLiteral("1800"));
  }

  void closeUnloadsEveryWindow() {
    testsupport::ProgramFolder folder;
    loadMainWindow();
    QVERIFY(frmTableMap::IsLoaded());
    closeMain();
    QVERIFY(!frmTableMap::IsLoaded());
    QVERIFY(!frmPelmora::IsLoaded());
    QVERIFY(platform::ProgramHasEnded());
  }

  void resizeMovesTheAnchoredControls() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow();
    w.show();
    testsupport::processEvents();
    const QRect grid = w.MSFlexGrid1->geometry(), combo = w.cmbUserGroups->geometry(),
                label = w.LblSelUserGroups->geometry(), title = w.lblList->geometry(),
                days = w.lblWeddingCount->geometry();
    w.resize(w.width() + 40, w.height() + 20);  // 600 and 300 twips
    testsupport::processEvents();
    QCOMPARE(w.MSFlexGrid1->geometry(), grid.adjusted(0, 0, 40, 20));
    QCOMPARE(w.cmbUserGroups->geometry(), combo.translated(40, 0));
    QCOMPARE(w.LblSelUserGroups->geometry(), label.translated(40, 0));
    QCOMPARE(w.lblList->geometry(), title.adjusted(0, 0, 40, 0));
    QCOMPARE(w.lblWeddingCount->geometry(), days);
    w.setWindowState(Qt::WindowMinimized);
    w.ResizeForm();
    QCOMPARE(w.MSFlexGrid1->geometry(), grid.adjusted(0, 0, 40, 20));
  }

  void groupCombo() {
    testsupport::ProgramFolder folder;
    testsupport::Invitation friendInv;
    friendInv.familyName = "חבר";
    friendInv.firstName = "טוב";
    friendInv.listGroup = "4";
    friendInv.phones = friendInv.remark = QStringLiteral("");
    testsupport::Invitation familyInv = friendInv;
    familyInv.familyName = "דוד";
    familyInv.listGroup = "2";
    frmPelmora& w = loadMainWindow({friendInv, familyInv});
    QCOMPARE(w.cmbUserGroups->count(), 4);
    QCOMPARE(int(g_NumOfGroups), 0);
    QCOMPARE(g_UserGroups.size(), 1);
    QCOMPARE(w.cmbUserGroups->currentText(), QStringLiteral("כל האורחים"));

    g_NumOfGroups = 5;
    g_UserGroups = {g_Couple, g_HisFamily, g_HerFamily, "חברים", "עבודה", ""};
    g_GroupName = g_HisFamily;
    w.InitEvent();
    QStringList items;
    for (int i = 0; i < w.cmbUserGroups->count(); ++i) items << w.cmbUserGroups->itemText(i);
    QCOMPARE(items, (QStringList{"כל האורחים", g_Couple, g_HisFamily, g_HerFamily, "חברים", "עבודה"}));
    QCOMPARE(w.cmbUserGroups->currentText(), QStringLiteral("כל האורחים"));
    QCOMPARE(g_GroupName, g_HisFamily);  // the list shown stays as it was

    // The keyboard picks an entry as the mouse does and the list follows;
    // typed characters change nothing.
    w.resize(900, 450);
    w.show();
    w.cmbUserGroups->setFocus();
    QTest::keyClick(w.cmbUserGroups, Qt::Key_Down);
    QCOMPARE(w.cmbUserGroups->currentIndex(), 1);
    QCOMPARE(g_GroupName, g_Couple);
    QCOMPARE(w.lblList->text(), "רשימה של " + g_Couple);
    QTest::keyClick(w.cmbUserGroups, Qt::Key_End);
    QCOMPARE(g_GroupName, QStringLiteral("עבודה"));
    QTest::keyClick(w.cmbUserGroups, Qt::Key_Up);
    QCOMPARE(g_GroupName, QStringLiteral("חברים"));
    QCOMPARE(w.MSFlexGrid1->Rows(), 2);
    QCOMPARE(cell(1, 0), QStringLiteral("חבר"));
    QCOMPARE(w.lblList->text(), QStringLiteral("רשימה של חברים"));
    QTest::sendKeyEvent(QTest::Click, w.cmbUserGroups, Qt::Key_unknown, QStringLiteral("כ"), {});
    QTest::keyClicks(w.cmbUserGroups, "a \r\b");
    QCOMPARE(w.cmbUserGroups->currentIndex(), 4);
    QVERIFY(!w.cmbUserGroups->view()->isVisible());
    QTest::keyClick(w.cmbUserGroups, Qt::Key_Home);
    QCOMPARE(g_GroupName, QStringLiteral("כל האורחים"));
    QCOMPARE(w.MSFlexGrid1->Rows(), 3);

    // Alt+Down and F4 open the list; an entry is picked from it by keys.
    QTest::keyClick(w.cmbUserGroups, Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(w.cmbUserGroups->view()->isVisible());
    QTest::keyClick(w.cmbUserGroups->view(), Qt::Key_Down);
    QTest::keyClick(w.cmbUserGroups->view(), Qt::Key_Down);
    QTest::keyClick(w.cmbUserGroups->view(), Qt::Key_Return);
    QTRY_VERIFY(!w.cmbUserGroups->view()->isVisible());
    QCOMPARE(g_GroupName, g_HisFamily);
    QTest::keyClick(w.cmbUserGroups, Qt::Key_F4);
    QTRY_VERIFY(w.cmbUserGroups->view()->isVisible());
    QTest::keyClick(w.cmbUserGroups->view(), Qt::Key_Escape);
    QTRY_VERIFY(!w.cmbUserGroups->view()->isVisible());
    QCOMPARE(g_GroupName, g_HisFamily);

    // The same entry again does not reload.
    w.MSFlexGrid1->SetTextMatrix(1, 0, "marker");
    w.cmbUserGroups_Click();
    QCOMPARE(cell(1, 0), QStringLiteral("marker"));
  }

  // However narrow the window, the status panels keep their order and never
  // draw over each other; those that find no room are cut at the bar's edge.
  void narrowWindowPanelsDoNotOverlap() {
    testsupport::ProgramFolder folder;
    const QFont before = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Nachlieli CLM"), 9));  // the program's font
    frmPelmora& w = loadMainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Counters of a large wedding.
    w.stb->SetPanelText(2, QStringLiteral("מתנות ₪1234567"));
    w.stb->SetPanelText(3, QStringLiteral("אישרו שלא מגיעים  1234"));
    w.stb->SetPanelText(5, QStringLiteral("אישרו שמגיעים  12345"));
    w.setMinimumSize(1, 1);  // a window manager may make it narrower than its layout asks
    for (int width : {1000, 420, 250}) {
      w.resize(width, 400);
      testsupport::processEvents();
      QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
      int previousLeft = w.stb->width() + 1;
      for (int i = 1; i <= 7; ++i) {
        QLabel* panel = w.stb->PanelLabel(i);
        const QRect at(panel->mapTo(w.stb, QPoint()), panel->size());
        // Right to left: panel 1 at the right, each next one to the left of it.
        QVERIFY2(at.right() < previousLeft, qPrintable(QString("width %1, panel %2").arg(width).arg(i)));
        previousLeft = at.left();
      }
      // The first panels are whole, from the bar's right end.
      QCOMPARE(QRect(w.stb->PanelLabel(1)->mapTo(w.stb, QPoint()), w.stb->PanelLabel(1)->size()).right(),
               w.stb->PanelLabel(1)->parentWidget()->mapTo(w.stb, QPoint()).x() +
                   w.stb->PanelLabel(1)->parentWidget()->width() - 1);
    }
    QApplication::setFont(before);
  }

  void statusBarAndToolbar() {
    testsupport::ProgramFolder folder;
    vb::SetTodayForTests(QDate(2027, 3, 14));  // one day, whenever the run crosses midnight
    frmPelmora& w = loadMainWindow();
    QCOMPARE(w.stb->PanelCount(), 7);
    QCOMPARE(w.stb->PanelText(1), vb::DateText(QDate(2027, 3, 14)));
    QCOMPARE(w.stb->PanelWidth(3), 2200);
    QCOMPARE(w.stb->PanelAlignment(7), int(platform::StatusBar::sbrCenter));
    QCOMPARE(w.stb->PanelLabel(7)->toolTip(), QStringLiteral("לחץ פעמיים לעדכון פרטי משתמש"));
    QCOMPARE(w.Toolbar1->Count(), 14);
    QCOMPARE(w.Toolbar1->Button(6)->toolTip(), QStringLiteral("ניהול תקציב הוצאות"));
    QCOMPARE(w.Toolbar1->Button(14)->text(), QStringLiteral("עזרה"));
    QCOMPARE(int(g_InvMode), 1);
    QVERIFY(g_PortFree);

    w.stb_PanelDblClick(1);  // the date: nothing
    w.stb_PanelDblClick(3);
    bool opened = false;
    prompts().onModal([&](QWidget* options) {
      opened = true;
      options->close();
    });
    w.stb_PanelDblClick(7);
    QVERIFY(opened);
  }

  void tablesMapShownAndHidden() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow();
    QVERIFY(!w.mnuShowTablesMap->isChecked());
    w.Toolbar1->Click(10);
    QVERIFY(frmTableMap::Default().isVisible());
    QVERIFY(w.mnuShowTablesMap->isChecked());
    QVERIFY(w.popShowTablesMap->isChecked());
    QVERIFY(w.Toolbar1->IsPressed(10));
    prompts().answer(platform::vbCancel);  // never saved positions: the save question
    w.Toolbar1->Click(10);
    QVERIFY(!frmTableMap::Default().isVisible());
    QVERIFY(frmTableMap::IsLoaded());
    QVERIFY(!w.mnuShowTablesMap->isChecked());
    QVERIFY(!w.popShowTablesMap->isChecked());
    QVERIFY(!w.Toolbar1->IsPressed(10));

    // The map's own close box hides it and clears the three marks.
    w.popShowTablesMap->trigger();
    QVERIFY(frmTableMap::Default().isVisible());
    prompts().answer(platform::vbCancel);
    frmTableMap::Default().close();
    testsupport::processEvents();
    QVERIFY(frmTableMap::IsLoaded());
    QVERIFY(!frmTableMap::Default().isVisible());
    QVERIFY(!w.mnuShowTablesMap->isChecked());
    QVERIFY(!w.Toolbar1->IsPressed(10));
  }

  void answerFiltersStayEqual() {
    testsupport::ProgramFolder folder;
    QVector<testsupport::Invitation> rows;
    for (int confirm = 0; confirm < 4; ++confirm) {
      testsupport::Invitation i;
      i.familyName = "משפחה";
      i.firstName = QString::number(confirm);
      i.confirm = confirm;
      i.phones = i.remark = QStringLiteral("");
      rows << i;
    }
    frmPelmora& w = loadMainWindow(rows);
    auto shown = [&] {
      QStringList firsts;
      for (int r = 1; r < w.MSFlexGrid1->Rows(); ++r) firsts << cell(r, 1);
      return firsts.join(',');
    };
    QCOMPARE(shown(), QStringLiteral("0,1,2,3"));
    w.popIgnoreNotCnf->trigger();
    QVERIFY(w.popIgnoreNotCnf->isChecked());
    QVERIFY(w.mnuIgnoreNotCnf->isChecked());
    QCOMPARE(shown(), QStringLiteral("1,2"));
    w.mnuIgnoreCnfNotOk->trigger();
    QVERIFY(w.popIgnoreCnfNotOk->isChecked());
    QCOMPARE(shown(), QStringLiteral("1"));
    w.mnuIgnoreNotCnf->trigger();
    QVERIFY(!w.popIgnoreNotCnf->isChecked());
    QVERIFY(!w.mnuIgnoreNotCnf->isChecked());
    QCOMPARE(shown(), QStringLiteral("0,1,3"));
  }
  // A laptop screen at 150 %: the designed window is wider than the screen and
  // opens within it, its frame included.
  void withinAScaledScreen() {
    const testsupport::TestScreen screen{1366, 768, 150};
    PELMORA_ON_SCREEN(screen);
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PELMORA_TRY_FRAME_ON_SCREEN(&w, screen);
  }
};

PELMORA_TEST(MainWindowTest)
#include "tst_mainwindow.moc"
