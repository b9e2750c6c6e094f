// The main window's database procedures: creating Wed.mdb and adding to an
// older file what it lacks.
#include <QFile>

#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "guestlist/frmPelmora.h"
#include "platform/dao.h"
#include "platform/msgbox.h"
#include "platform/vberror.h"

using namespace mdlWedding;
using platform::ErrorState;

namespace {

void criticalFailure(const QString& what) {
  platform::MsgBox(what + g_NewLine + kMakerWebAddress + g_NewLine + kSupportMailAddress,
                   platform::vbCritical | platform::vbOKOnly, QStringLiteral("שדרוג גירסת תוכנה"));
}

}  // namespace

void frmPelmora::endWithCriticalFailure(const QString& what) {
  criticalFailure(what);
  m_EndCode = 1;
  Unload();  // closing the main window ends the program
  platform::EndProgram(1);
}

// A file that another program holds is no fault of the file: the lock goes
// to the caller, who reports it and carries on. Anything else ends the program.
void frmPelmora::endUnlessLocked(const ErrorState& err) {
  if (dao::IsLockedError(err.first().number)) platform::Raise(err.first().number, err.first().description);
  endWithCriticalFailure(QStringLiteral("!ארעה שגיאה קריטית בתהליך שדרוג התוכנה"));
}

void frmPelmora::CreateNewDatabase() {
  // The file is built under a temporary name and takes its real name only when
  // complete, so a failure never leaves a half-made Wed.mdb behind.
  const QString finalPath = DatabaseFile();
  const QString buildPath = finalPath + QStringLiteral(".new");
  ErrorState err;
  err([&] {
    if (QFile::exists(buildPath)) QFile::remove(buildPath);
  });
  err([&] { g_DB = dao::DBEngine::instance().CreateDatabase(buildPath, dao::dbLangGeneral, dao::dbVersion30); });
  err([&] { AppendWeddingTable(*g_DB, err); });
  err([&] { AppendBudgetTable(*g_DB, err); });
  err([&] { g_DB->Close(); });
  if (!err.failed()) {
    err([&] {
      if (!QFile::rename(buildPath, finalPath))
        platform::Raise(3051, QStringLiteral("Could not rename '%1' to '%2'.").arg(buildPath, finalPath));
    });
  }
  if (!err.failed()) err([&] { g_DB = dao::DBEngine::instance().OpenDatabase(finalPath); });

  if (err.failed()) {
    if (!g_DB.IsNothing()) err([&] { g_DB->Close(); });
    QFile::remove(buildPath);
    endWithCriticalFailure(QStringLiteral("!ארעה שגיאה קריטית בתהליך יצירת התוכנה"));
  }
  platform::MsgBox(QStringLiteral("תהליך יצירת מבנה הנתונים הסתיים בהצלחה."), platform::vbOKOnly,
                   platform::AppTitle());
}

void frmPelmora::UpdateDatabase() {
  ErrorState err;
  bool found[3] = {false, false, false};
  bool changed = false;

  // A file the program cannot use is left exactly as it is.
  if (m_CheckDatabase && err([&] { CheckWeddingDatabase(*g_DB); })) m_CheckDatabase = false;
  if (err.failed()) endUnlessLocked(err);

  err([&] {
    dao::TableDef& table = g_DB->TableDefs()("PELMORA");
    for (int i = 0; i < table.Fields().Count(); ++i) {
      const QString name = table.Fields()[i].Name();
      if (name == QLatin1String("ADDRESS")) found[0] = true;
      else if (name == QLatin1String("PRESENT_TYPE")) found[1] = true;
      else if (name == QLatin1String("PRESENT")) found[2] = true;
    }
  });
  auto append = [&](const QString& name, dao::DataType type, int size, bool zeroLength) {
    err([&] {
      dao::TableDef& table = g_DB->TableDefs()("PELMORA");
      auto field = table.CreateField(name, type, size);
      if (type == dao::dbText) field->SetAllowZeroLength(zeroLength);
      field->SetRequired(false);
      table.Fields().Append(field);
      changed = true;
    });
  };
  if (!found[0]) append(QStringLiteral("ADDRESS"), dao::dbText, 50, true);
  if (!found[1]) append(QStringLiteral("PRESENT_TYPE"), dao::dbByte, 0, false);
  if (!found[2]) append(QStringLiteral("PRESENT"), dao::dbText, 20, true);

  err([&] {
    bool hasBudget = false;
    for (int i = 0; i < g_DB->TableDefs().Count(); ++i)
      if (g_DB->TableDefs()[i].Name() == QLatin1String("WED_BUDGET")) hasBudget = true;
    if (!hasBudget) {
      AppendBudgetTable(*g_DB, err);
      changed = true;
    }
  });

  if (err.failed()) endUnlessLocked(err);
  if (changed)
    platform::MsgBox(QStringLiteral("תהליך שידרוג מבנה הנתונים הסתיים בהצלחה."), platform::vbOKOnly,
                     platform::AppTitle());
}
