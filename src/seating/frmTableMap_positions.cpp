// Table positions on the map and the garden picture, kept in section TablesMap
// of pelmora.ini: "GardenMapBackground" and "TableNum-<n>" = "<left>, <top>"
// (twips of the item in the icon view).
#include <QPixmap>
#include <optional>

#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "frmTableMap.h"
#include "guestlist/frmPelmora.h"
#include "platform/commondialog.h"
#include "platform/msgbox.h"
#include "platform/vb.h"
#include "platform/vberror.h"

using namespace mdlWedding;
using mdlFileINI::ReadINI;
using mdlFileINI::WriteINI;
using platform::ErrorState;
using platform::MsgBox;

namespace {

const QString kSection = QStringLiteral("TablesMap");
const QString kGardenKey = QStringLiteral("GardenMapBackground");
const QString kNoValue = QStringLiteral("<no value>");
const QString kSeparator = QStringLiteral(", ");

QString TableKey(int table) { return QStringLiteral("TableNum-") + QString::number(table); }

// A coordinate as a single-precision number prints: "1230", "1234.5".
QString CoordinateText(double twips) {
  return vb::Str(QString::number(static_cast<float>(twips), 'g', 7).toDouble());
}

// A stored place: the left and top texts, trimmed, and their numbers.
struct StoredPlace {
  QString left, top;
  double x = 0, y = 0;
};

// The place a stored value names, or none: no ", ", a part that is no number,
// or a place outside the map (a table there could not be seen or reached).
std::optional<StoredPlace> SavedPlace(const QString& value) {
  const qsizetype at = value.indexOf(kSeparator);
  if (at < 0) return std::nullopt;
  StoredPlace place{vb::Trim(value.left(at)), vb::Trim(value.mid(at + kSeparator.size()))};
  if (!vb::IsNumeric(place.left) || !vb::IsNumeric(place.top)) return std::nullopt;
  ErrorState conversion;
  conversion([&] {
    place.x = vb::CDbl(place.left);
    place.y = vb::CDbl(place.top);
  });
  if (conversion.failed() || !platform::ListView::PlaceFits(place.x) || !platform::ListView::PlaceFits(place.y))
    return std::nullopt;
  return place;
}

}  // namespace

void frmTableMap::SaveTablesMap() {
  const QString ini = IniFile();
  mdlFileINI::SettingsCommand command;  // every table in one write
  WriteINI(ini, kSection, kGardenKey, m_GardenMapPath);
  const int items = lvwTable->ItemCount();
  for (int i = 1; i <= items; ++i) {
    ErrorState ignored;
    ignored([&] {
      WriteINI(ini, kSection, TableKey(i),
               CoordinateText(lvwTable->ItemLeft(i)) + kSeparator + CoordinateText(lvwTable->ItemTop(i)));
    });
  }
  command.Commit();
}

void frmTableMap::LoadTablesMap() {
  const QString ini = IniFile();
  m_GardenMapPath = ReadINI(ini, kSection, kGardenKey, QString());
  const int items = lvwTable->ItemCount();
  for (int i = 1; i <= items; ++i) {
    // No place, or none the map can take, leaves the table where it stands.
    const std::optional<StoredPlace> place = SavedPlace(ReadINI(ini, kSection, TableKey(i), kNoValue));
    if (!place) continue;
    ErrorState ignored;
    ignored([&] {
      lvwTable->SetItemLeft(i, place->x);
      lvwTable->SetItemTop(i, place->y);
    });
  }
}

bool frmTableMap::IsTablesMapChanged() {
  const QString ini = IniFile();
  const int items = lvwTable->ItemCount();
  for (int i = 1; i <= items; ++i) {
    // A table whose place was never saved, or not as one the map can take,
    // counts as moved.
    const std::optional<StoredPlace> place = SavedPlace(ReadINI(ini, kSection, TableKey(i), kNoValue));
    if (!place) return true;
    if (CoordinateText(lvwTable->ItemLeft(i)) != place->left || CoordinateText(lvwTable->ItemTop(i)) != place->top)
      return true;
  }
  return false;
}

void frmTableMap::SetDefTableMap() {
  g_MsgResult = MsgBox(QStringLiteral("פעולה זו תאפס את מפת השולחנות") + QStringLiteral("\r\n") +
                           QStringLiteral("?למיקומי בררת המחדל של המערכת"),
                       platform::vbOKCancel | platform::vbExclamation, QStringLiteral("אזהרת מערכת"));
  if (g_MsgResult != platform::vbOK) return;
  {
    mdlFileINI::SettingsCommand command;
    mdlFileINI::DeleteINISection(IniFile(), kSection);
    if (!command.Commit()) return;  // the map stays as stored
  }
  m_GardenMapPath.clear();
  lvwTable->RemovePicture();
  InitTableSetting();
}

void frmTableMap::LoadGardenMap() {
  // The main window's file dialog, shared with the export and import.
  platform::CommonDialog& dialog = frmPelmora::Default().CommonDialog1;
  ErrorState err;
  err([&] {
    dialog.CancelError = true;
    dialog.InitDir = g_AppPath;
    dialog.Filter = QStringLiteral("GIF Image (*.gif)|*.gif");
    dialog.FilterIndex = 1;
    dialog.ShowOpen();
  });
  if (err.failed()) {
    if (err.last().number != platform::CommonDialog::cdlCancel)
      MsgBox(err.last().description, platform::vbExclamation);
    return;
  }
  const QString path = vb::Trim(dialog.FileName);
  if (!FileExists(path)) {
    MsgBox(QStringLiteral(".קובץ לא נמצא"));
    return;
  }
  // A damaged file, or a picture larger than the image reader takes, cannot be
  // shown: said so, and the map keeps the picture it had.
  const QPixmap picture(path);
  if (picture.isNull()) {
    MsgBox(QStringLiteral("Invalid picture"), platform::vbExclamation);
    return;
  }
  m_GardenMapPath = path;
  if (g_TableViewMode == 1) lvwTable->SetPicture(picture);
  mdlFileINI::SettingsCommand command;
  WriteINI(IniFile(), kSection, kGardenKey, path);
  command.Commit();
}
