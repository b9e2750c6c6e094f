#pragma once
// The search for background pictures: the names of the files that match a
// wildcard pattern in one folder.
#include <QString>
#include <QVector>

namespace mdlDrvScan {

// Positions 1 to the last count found hold names; position 0 holds nothing.
extern QVector<QString> g_FoundFiles;

// Pattern is a folder followed by a wildcard ("…/design/*.gif"). Folders are
// skipped, and so is a name whose last four characters differ from the
// pattern's (case aside). Returns how many names were stored.
qint16 FindFiles(const QString& Pattern);

}  // namespace mdlDrvScan
