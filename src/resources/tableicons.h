#pragma once
// Pictures of the tables map, drawn here: the numbered table pictures (a round
// table seen from above with its chairs, the number in the middle) in two sizes,
// and the pictures of the map's toolbar.
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace resources {

constexpr int kLargeTablePicture = 56;  // pixels, the map
constexpr int kSmallTablePicture = 20;  // pixels, the detailed list
constexpr int kMapToolbarPicture = 24;

// Table 1 to 100 (any positive number draws), sizePx square.
QPixmap TablePicture(int number, int sizePx);

// "Clear", "Load", "Save", "Print", "View List", "View Map", "View Table";
// a null pixmap for any other key.
QPixmap MapToolbarPicture(const QString& key);
QStringList MapToolbarKeys();

}  // namespace resources
