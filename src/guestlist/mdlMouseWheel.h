#pragma once
// Replaces the guest grid's own wheel scrolling: every wheel message on the
// grid goes to frmPelmora::MouseWheel, which scrolls one row per message.
class QWidget;

namespace mdlMouseWheel {

void HookMouseWheel(QWidget* grid);
void UnhookMouseWheel();
bool IsHooked();

}  // namespace mdlMouseWheel
