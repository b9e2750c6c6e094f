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
// The about window's pictures: the logo (64 x 64), the second logo picture
// (96 x 96), and the 16 x 16 icons beside the web and mail links.
QPixmap AboutLogoPicture();
QPixmap AboutEmblemPicture();
QPixmap HomeIcon();
QPixmap MailIcon();

}  // namespace resources
