#pragma once
// The main window loaded over a prepared program folder.
#include <QHeaderView>

#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "platform/flexgrid.h"
#include "platform/vb.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

inline frmPelmora& loadMainWindow(const QVector<testsupport::Invitation>& rows = {}, int maxTables = 100,
                                  int maxChairs = 15) {
  testsupport::makeWeddingDb();
  testsupport::addInvitations(rows);
  testsupport::writeOptions(maxTables, maxChairs);
  mdlWedding::g_WeddingDate = vb::Today();
  return frmPelmora::Default();
}

// An invitation as the editor writes one: empty texts rather than Null.
inline testsupport::Invitation guest(const QString& family, const QString& first, int count = 2, int confirm = 0,
                                     const QString& phones = QString("")) {
  testsupport::Invitation i;
  i.familyName = family;
  i.firstName = first;
  i.invNum = count;
  i.confirm = confirm;
  i.phones = phones;
  i.remark = QStringLiteral("");
  i.invStatus = false;
  i.presentType = 0;
  return i;
}

inline QString cell(int row, int col) { return frmPelmora::Default().MSFlexGrid1->TextMatrix(row, col); }

inline QPoint cellCentre(platform::FlexGrid* g, int row, int col) {
  return g->visualRect(g->model()->index(row - 1, col)).center();
}

// A header double-click, as a user sorts by that column.
inline void doubleClickHeader(platform::FlexGrid* g, int col) {
  QWidget* header = g->horizontalHeader()->viewport();
  const int x = g->horizontalHeader()->sectionViewportPosition(col) + g->horizontalHeader()->sectionSize(col) / 2;
  const QPoint p(x, header->height() / 2);
  QTest::mouseClick(header, Qt::LeftButton, {}, p);
  QTest::mouseDClick(header, Qt::LeftButton, {}, p);
}
