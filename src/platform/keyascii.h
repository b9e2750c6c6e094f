#pragma once
// The character code a key press hands to a control's KeyPress handler.
class QKeyEvent;

namespace platform {

// 13 Enter, 8 Backspace, 27 Escape, otherwise the character typed (control
// characters of Ctrl combinations included). 0 for keys that type nothing:
// arrows, Home/End, function keys, Tab, Delete and Alt combinations never
// reach a KeyPress handler.
int KeyAscii(const QKeyEvent* e);

}  // namespace platform
