#include "windowprint.h"

#include <QWidget>

#include "commondialog.h"
#include "msgbox.h"
#include "printer.h"
#include "vb.h"
#include "vberror.h"

namespace platform {

bool ChoosePrinter(CommonDialog& printerDialog) {
  ErrorState dialog;
  dialog([&] {
    printerDialog.CancelError = true;
    printerDialog.ShowPrinter();
  });
  if (!dialog.failed()) return true;
  if (dialog.last().number != CommonDialog::cdlCancel)
    MsgBox(dialog.last().description, vbExclamation);
  return false;
}

QString PrintFailedMessage() { return QStringLiteral("ארעה שגיאת הדפסה"); }

void PrintWindowImage(CommonDialog& printerDialog, QWidget* window, QWidget* printIcon, const QString& doneMessage) {
  if (!ChoosePrinter(printerDialog)) return;
  ErrorState printing;
  printIcon->hide();
  printing([&] { PrintForm(window); });
  printIcon->show();
  MsgBox(printing.failed() ? PrintFailedMessage() : doneMessage);
}

void PrintWindowControls(CommonDialog& printerDialog, QWidget* window, const QString& doneMessage) {
  if (!ChoosePrinter(printerDialog)) return;
  ErrorState printing;
  Printer& printer = Printer::instance();
  printer.DocumentName = window->window()->windowTitle();  // also when a scrolling page prints
  const auto controls = window->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  for (QWidget* control : controls) {
    printing([&] { printer.Print(control->objectName()); });
    printing([&] {
      const double top = printer.CurrentY;
      printer.PaintPicture(control->grab(), 0, top);
      printer.CurrentY = top + vb::PixelsToTwipsY(control->height());
    });
  }
  printing([&] { printer.EndDoc(); });
  MsgBox(printing.failed() ? PrintFailedMessage() : doneMessage);
}

}  // namespace platform
