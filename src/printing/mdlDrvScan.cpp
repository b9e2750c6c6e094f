#include "printing/mdlDrvScan.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace mdlDrvScan {

QVector<QString> g_FoundFiles;

qint16 FindFiles(const QString& Pattern) {
  QCoreApplication::processEvents();
  QString pattern = Pattern;
  pattern.replace('\\', '/');
  const int slash = pattern.lastIndexOf('/');
  const QString folder = slash >= 0 ? pattern.left(slash + 1) : QStringLiteral("./");
  const QString wildcard = pattern.mid(slash + 1);
  QDir dir(folder);
  if (wildcard.isEmpty() || !dir.exists()) return 0;

  // The platform's search: wildcards match regardless of case, in name order.
  const QFileInfoList entries = dir.entryInfoList({wildcard}, QDir::AllEntries | QDir::Hidden | QDir::System |
                                                                  QDir::NoDotAndDotDot,
                                                  QDir::Name | QDir::IgnoreCase);
  const QString tail = Pattern.right(4).toUpper();
  qint16 count = 0;
  for (const QFileInfo& e : entries) {
    if (e.isDir()) continue;
    const QString name = e.fileName();
    if (name.right(4).toUpper() != tail) continue;
    ++count;
    g_FoundFiles.resize(count + 1);
    g_FoundFiles[count] = name;
  }
  return count;
}

}  // namespace mdlDrvScan
