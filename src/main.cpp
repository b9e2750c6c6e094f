#include <QApplication>
#include <QFont>

#include "app/mdlWedding.h"
#include "platform/readingorder.h"
#include "platform/vberror.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pelmora"));
  QApplication::setLayoutDirection(Qt::RightToLeft);
  platform::UseReadingOrderStyle();
  QApplication::setFont(QFont(QStringLiteral("Nachlieli CLM"), 9));
  if (!mdlWedding::Main()) return platform::ProgramExitCode();
  return QApplication::exec();
}
