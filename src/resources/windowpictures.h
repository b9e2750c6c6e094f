#pragma once
// Pictures of the seat view and the budget window, drawn here.
#include <QPixmap>
#include <QSize>

namespace resources {

QPixmap PrintIcon();  // 32 x 32: a printer with a sheet
// The program's name with two rings, drawn in the upper part of the given
// size (the lower part stays clear for a label that may pass over it).
QPixmap WindowLogo(QSize size);
QPixmap BudgetWindowIcon();  // 32 x 32: a coin stack and a sheet

}  // namespace resources
