#pragma once
// Pictures of the program, drawn here.
#include <QIcon>
#include <QPixmap>

namespace resources {

QPixmap SplashPicture();  // 669 x 260
// Main window toolbar pictures by key: "Add", "Update", "Remove", "Dial",
// "Budget", "Labels", "List", "Notes", "Tables", "Options", "About", "Help".
QIcon ToolbarIcon(const QString& key);
QPixmap OptionsPanelPicture();  // the small picture of the status bar's last panel

}  // namespace resources
