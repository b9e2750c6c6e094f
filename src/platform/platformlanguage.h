#pragma once
// The platform's own words (message box buttons, the file, colour and print
// dialogs, the text boxes' menus) in the user's language, from Qt's own
// translations, and the direction those words read in.
#include <Qt>

namespace platform {

// Loads Qt's translation for the user's language from the folder where Qt
// keeps its translations. With no such file the words stay English.
// Loading again replaces what an earlier call loaded.
void LoadPlatformLanguage();

// The direction of the platform's dialogs: that of the language their words
// are in (right to left for Hebrew, left to right for English).
Qt::LayoutDirection PlatformDialogDirection();

}  // namespace platform
