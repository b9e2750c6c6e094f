#pragma once
// Whether the printing system took the job that a painter just ended on a
// printer. Qt's CUPS engine hands the finished document to CUPS but drops the
// answer, so the answer is read back from libcups, which the engine shares.
#include <QString>

class QPainter;
class QPrinter;

namespace platform {

// Ends the painter's document on the printer. False, with the reason, when the
// document could not be finished or the printing system refused the job (a
// queue that rejects jobs, a printer that is gone, no scheduler). A job that
// waits in a paused queue was taken.
bool EndPrintJob(QPainter& painter, QPrinter& printer, QString* reason = nullptr);

}  // namespace platform
