#pragma once
// Printing a window from a command of its own: the caller's printer dialog (a
// cancel is silent, another failure is shown), then the printing, then the
// window's own message or the printing error.
#include <QString>

class QWidget;

namespace platform {

class CommonDialog;

// The caller's printer dialog; false when the user cancelled or the dialog
// failed (the failure shown).
bool ChoosePrinter(CommonDialog& printerDialog);

// What the user is told when a print did not reach the printer.
QString PrintFailedMessage();

// The window's image, without its print icon.
void PrintWindowImage(CommonDialog& printerDialog, QWidget* window, QWidget* printIcon, const QString& doneMessage);
// Each control of the window in turn: its name, then its image below it.
void PrintWindowControls(CommonDialog& printerDialog, QWidget* window, const QString& doneMessage);

}  // namespace platform
