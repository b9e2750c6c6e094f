// The main window's budget command (toolbar button 6, its only command).
#include "budget/frmBudget.h"
#include "guestlist/frmPelmora.h"

void frmPelmora::ShowBudget() { frmBudget::Default().show(); }
