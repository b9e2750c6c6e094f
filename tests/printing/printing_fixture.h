#pragma once
// The main window over a prepared guest list, for the report tests.

#include "guestlist/guestlist_fixture.h"
#include "platform/report.h"
#include "printing/DataReports.h"
#include "support/files.h"

// A guest with the fields the reports read.
inline testsupport::Invitation printGuest(const QString& family, const QString& first, const QVariant& table = {},
                                          const QString& address = QString(""), int confirm = 1) {
  testsupport::Invitation i = guest(family, first, 2, confirm);
  i.tableNo = table;
  i.address = address;
  return i;
}

// Items of every page drawn by the layout, of one control.
inline QVector<platform::ReportItem> drawn(const platform::ReportLayout& layout, const QString& control) {
  QVector<platform::ReportItem> out;
  for (const auto& page : layout.Pages())
    for (const auto& it : page)
      if (it.control == control) out.append(it);
  return out;
}

// A one-pixel red GIF picture.
inline void writeGif(const QString& path) {
  static const unsigned char gif[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00,
                                      0xff, 0x00, 0x00, 0xff, 0xff, 0xff, 0x21, 0xf9, 0x04, 0x01, 0x00, 0x00, 0x00,
                                      0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02,
                                      0x44, 0x01, 0x00, 0x3b};
  testsupport::writeFile(path, QByteArray(reinterpret_cast<const char*>(gif), sizeof gif));
}
