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

inline QString cell(int row, int col) { return frmPelmora::Default().MSFlexGrid1->TextMatrix(row, col); }
