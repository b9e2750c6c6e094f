// Printing the tables map on one page: the title, the garden picture, every
// table's picture and text where it stands on the screen (on the map, or at
// its row of the detailed list), a rule and a footer.
#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "frmTableMap.h"
#include "platform/msgbox.h"
#include "platform/printer.h"
#include "platform/vberror.h"
#include "platform/windowprint.h"

using namespace mdlWedding;

namespace {

// Where the screen map's origin lands on the page (twips).
constexpr double kMapOffsetX = 600;
constexpr double kMapOffsetY = 1700;
// A table's picture and text relative to its place, beyond the offset.
constexpr double kTablePictureX = 300;
constexpr int kPrintedTablePicture = 32;  // pixels
constexpr double kTableTextY = 500;

constexpr double kTitleX = 3700;
constexpr double kTitleY = 500;
constexpr double kTitleFontSize = 14;
constexpr double kMapFontSize = 8.28;
constexpr double kRuleY = 14000;

}  // namespace

void frmTableMap::PrintTablesMap() {
  if (!platform::ChoosePrinter(cdlPrinter)) return;

  // From here every statement runs on its own: a failing one is skipped.
  platform::Printer& pr = platform::Printer::instance();
  platform::ErrorState err;
  err([&] { pr.DocumentName = windowTitle(); });
  err([&] {
    pr.CurrentX = kTitleX;
    pr.CurrentY = kTitleY;
    pr.FontSize = kTitleFontSize;
    pr.FontBold = true;
  });
  err([&] { pr.Print(QStringLiteral("מפת השולחנות של ") + g_GroupName); });
  err([&] { pr.PaintPicture(lvwTable->Picture(), kMapOffsetX, kMapOffsetY); });
  err([&] {
    pr.FontSize = kMapFontSize;
    pr.FontBold = false;
  });

  int items = 0;
  err([&] { items = lvwTable->ItemCount(); });
  for (int i = 1; i <= items; ++i) {
    // Where the table stands in the view showing: on the map or at its row.
    double left = 0, top = 0;
    err([&] {
      const QPointF place = lvwTable->ItemPlaceInView(i);
      left = place.x();
      top = place.y();
    });
    err([&] {
      // The page leaves 500 twips between a picture and its text: room for a
      // 32-pixel picture, so the map's larger pictures are printed at that size.
      const QPixmap picture = imlIcons.Picture(lvwTable->ItemIcon(i));
      pr.PaintPicture(picture.isNull() ? picture
                                       : picture.scaled(kPrintedTablePicture, kPrintedTablePicture,
                                                        Qt::KeepAspectRatio, Qt::SmoothTransformation),
                      left + kMapOffsetX + kTablePictureX, top + kMapOffsetY);
    });
    err([&] {
      pr.CurrentX = left + kMapOffsetX;
      pr.CurrentY = top + kMapOffsetY + kTableTextY;
    });
    err([&] { pr.Print(lvwTable->ItemText(i)); });
  }

  err([&] { pr.CurrentY = kRuleY; });
  err([&] { pr.Print(QString(14, QLatin1Char(' ')) + QString(100, QLatin1Char('_'))); });
  err([&] {
    pr.Print(QString(15, QLatin1Char(' ')) + platform::AppTitle() + QString(103, QLatin1Char(' ')) +
             kMakerWebAddress);
  });
  // Failures of single items are skipped, but a page that did not reach the
  // printer is not reported as printed.
  platform::ErrorState ending;
  ending([&] { pr.EndDoc(); });
  platform::MsgBox(ending.failed() ? platform::PrintFailedMessage() : QStringLiteral("הודפסה מפת השולחנות."));
}
