#pragma once
// The main window loaded over a prepared program folder.
#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
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
