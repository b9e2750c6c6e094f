#pragma once
// The editor over a prepared program folder: pelmora.ini with the three names
// (no first run), Wed.mdb made beforehand (no creation message), the main
// window loaded, and the rows of Wed.mdb read back from the file.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolBar>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVariantMap>
#include <QtTest>

#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "editor/frmInvDetails.h"
#include "guestlist/guestlist_fixture.h"
#include "platform/dao.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "seating/frmTableMap.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

namespace editortest {

inline const QString kCouple = QStringLiteral("דנה ויואב");
inline const QString kHis = QStringLiteral("משפחת החתן");
inline const QString kHer = QStringLiteral("משפחת הכלה");

struct Guest {
  QString family, first;
  int count = 2;
  QVariant table;  // Null: not seated
  int confirm = 0;
  QString group = QStringLiteral("1");
  QVariant present, presentType, address, remark = QString(), phones = QString();
  bool sent = false;
};

inline void addGuest(const Guest& g) {
  testsupport::Invitation inv;
  inv.familyName = g.family;
  inv.firstName = g.first;
  inv.invNum = g.count;
  inv.tableNo = g.table;
  inv.confirm = g.confirm;
  inv.listGroup = g.group;
  inv.present = g.present;
  inv.presentType = g.presentType;
  inv.address = g.address;
  inv.remark = g.remark;
  inv.phones = g.phones;
  inv.invStatus = g.sent;
  testsupport::addInvitation(inv);
}

// pelmora.ini with the names and limits, then the main window over the
// Wed.mdb already in the program folder.
inline frmPelmora& loadMainOverFile(int maxTables = 100, int maxChairs = 15) {
  const QString ini = mdlWedding::IniFile();
  mdlFileINI::WriteINI(ini, "Options", "Couple", kCouple);
  mdlFileINI::WriteINI(ini, "Options", "His Family", kHis);
  mdlFileINI::WriteINI(ini, "Options", "Her Family", kHer);
  mdlFileINI::WriteINI(ini, "Options", "Max Tables", vb::Str(maxTables));
  mdlFileINI::WriteINI(ini, "Options", "Max Chairs", vb::Str(maxChairs));
  mdlWedding::g_WeddingDate = vb::Today().addDays(100);
  return frmPelmora::Default();
}

// Wed.mdb with the guests, pelmora.ini with the names and limits, then the
// main window (which recounts the tables map).
inline frmPelmora& loadMain(const QVector<Guest>& guests = {}, int maxTables = 100, int maxChairs = 15) {
  testsupport::makeWeddingDb();
  for (const Guest& g : guests) addGuest(g);
  return loadMainOverFile(maxTables, maxChairs);
}

inline frmInvDetails& openAdd() {
  mdlWedding::g_InvMode = 1;
  frmInvDetails& w = frmInvDetails::Default();
  w.show();
  return w;
}

// Update of one grid row through the main window's command (answered Yes).
// `messages`: OK answers scripted for what the opening shows.
inline frmInvDetails& openUpdate(int row, int messages = 0) {
  frmPelmora& main = frmPelmora::Default();
  main.MSFlexGrid1->SetRow(row);
  testsupport::prompts().answer(platform::vbYes);
  for (int i = 0; i < messages; ++i) testsupport::prompts().answer(platform::vbOK);
  main.UpdateInv();
  frmInvDetails& w = frmInvDetails::Default();
  return w;
}

// Update of grid rows first..last.
inline frmInvDetails& openMultiUpdate(int first, int last) {
  frmPelmora& main = frmPelmora::Default();
  main.MSFlexGrid1->SetRow(first);
  main.MSFlexGrid1->SetRowSel(last);
  testsupport::prompts().answer(platform::vbYes);
  main.UpdateInv();
  return frmInvDetails::Default();
}

// Every row of PELMORA as the file holds it, in stored order.
inline QVector<QVariantMap> rows() { return testsupport::readInvitations(); }

// The stored row with these names; an empty map when there is none.
inline QVariantMap rowOf(const QString& family, const QString& first) {
  for (const QVariantMap& m : rows())
    if (m["FAMILY_NAME"].toString() == family && m["FIRST_NAME"].toString() == first) return m;
  return {};
}

inline void fillNames(frmInvDetails& w, const QString& family, const QString& first) {
  w.txtFamilyName->setText(family);
  w.txtFirstName->setText(first);
}

inline QStringList messages() { return testsupport::prompts().messages(); }

// What a user does with the mouse and the keyboard on the shown windows.
namespace user {

inline frmPelmora& showMain(frmPelmora& main) {
  main.resize(900, 450);
  main.show();
  testsupport::processEvents();
  return main;
}

using ::cellCentre;
using ::doubleClickHeader;

// Presses on one grid row and drags to another (the same row: a click).
inline void dragRows(platform::FlexGrid* g, int from, int to) {
  QTest::mousePress(g->viewport(), Qt::LeftButton, {}, cellCentre(g, from, 1));
  QTest::mouseMove(g->viewport(), cellCentre(g, to, 1));
  QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, cellCentre(g, to, 1));
}

inline void clickToolbar(frmPelmora& main, int button) {
  QWidget* b = main.Toolbar1->widgetForAction(main.Toolbar1->Button(button));
  QTest::mouseClick(b, Qt::LeftButton);
}

inline void clickTab(frmInvDetails& w, int tab) {
  QTest::mouseClick(w.TabStrip1, Qt::LeftButton, {}, w.TabStrip1->tabRect(tab - 1).center());
}

// Clicks a check box or an option button on its box.
inline void clickBox(QAbstractButton* b) {
  QStyleOptionButton opt;
  opt.initFrom(b);
  const bool radio = qobject_cast<QRadioButton*>(b) != nullptr;
  const QRect box = b->style()->subElementRect(radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator,
                                               &opt, b);
  QTest::mouseClick(b, Qt::LeftButton, {}, box.center());
}

using testsupport::typeText;

// Replaces a box's text by typing, as a user who selects it all first.
inline void retype(QWidget* box, const QString& text) {
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_Delete);
  QTest::keyClicks(box, text);
}

}  // namespace user

}  // namespace editortest
