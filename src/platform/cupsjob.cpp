#include "cupsjob.h"

#include <cups/cups.h>

#include <QPainter>
#include <QPrinter>

namespace platform {

bool EndPrintJob(QPainter& painter, QPrinter& printer, QString* reason) {
  auto failed = [&](const QString& why) {
    if (reason) *reason = why;
    return false;
  };
  if (!painter.end()) return failed(QStringLiteral("The document could not be finished."));
  // A PDF file has been written once end() succeeded; only a queue can refuse.
  if (printer.outputFormat() != QPrinter::NativeFormat) return true;
  if (printer.printerName().isEmpty()) return failed(QStringLiteral("No printer was chosen."));
  // The engine's last request to the scheduler was the job's own submission:
  // its status (thread-local in libcups) is the scheduler's answer.
  if (cupsLastError() < IPP_STATUS_REDIRECTION_OTHER_SITE) return true;
  return failed(QString::fromUtf8(cupsLastErrorString()));
}

}  // namespace platform
