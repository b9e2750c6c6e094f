#pragma once
// Printing a window, as the seat view and the budget window do: the tables
// map's printer dialog (a cancel is silent, another failure is shown), then the
// printing, then the window's own message or the printing error.
#include <QString>

class QWidget;

// The window's image, without its print icon.
void PrintWindowImage(QWidget* window, QWidget* printIcon, const QString& doneMessage);
// Each control of the window in turn: its name, then its image below it.
void PrintWindowControls(QWidget* window, const QString& doneMessage);
