#include "windowprint.h"

#include <QWidget>

#include "platform/commondialog.h"
#include "platform/msgbox.h"
#include "platform/printer.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"

namespace {

const QString kPrintFailed = QStringLiteral("ארעה שגיאת הדפסה");

// False when the user cancelled or the dialog failed (the failure shown).
bool ChoosePrinter() {
  platform::ErrorState dialog;
  dialog([] {
    platform::CommonDialog& cdl = frmTableMap::Default().cdlPrinter;
    cdl.CancelError = true;
    cdl.ShowPrinter();
  });
  if (!dialog.failed()) return true;
  if (dialog.last().number != platform::CommonDialog::cdlCancel)
    platform::MsgBox(dialog.last().description, platform::vbExclamation);
  return false;
}

}  // namespace

void PrintWindowImage(QWidget* window, QWidget* printIcon, const QString& doneMessage) {
  if (!ChoosePrinter()) return;
  platform::ErrorState printing;
  printIcon->hide();
  printing([&] { platform::PrintForm(window); });
  printIcon->show();
  platform::MsgBox(printing.failed() ? kPrintFailed : doneMessage);
}

void PrintWindowControls(QWidget* window, const QString& doneMessage) {
  if (!ChoosePrinter()) return;
  platform::ErrorState printing;
  platform::Printer& printer = platform::Printer::instance();
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
  platform::MsgBox(printing.failed() ? kPrintFailed : doneMessage);
}
