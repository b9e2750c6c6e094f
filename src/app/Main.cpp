// Program start: the program folder, the wedding date, the splash, then the
// main window (whose load does the rest) and the tables map.
#include <QApplication>
#include <QDir>
#include <QLabel>

#include "app/frmSplash.h"
#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "platform/dao.h"
#include "platform/filereplace.h"
#include "platform/folderclaim.h"
#include "platform/msgbox.h"
#include "platform/platformlanguage.h"
#include "platform/registry.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"

namespace mdlWedding {
namespace {

// Another program that holds Wed.mdb at start (a database browser, a backup)
// is reported with the engine's message and waited for as long as the user
// retries; Cancel ends the start with no file changed.
bool DatabaseFree() {
  if (!FileExists(DatabaseFile())) return true;
  for (;;) {
    platform::ErrorState err;
    err([] {
      auto db = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
      auto rs = db->OpenRecordset(QStringLiteral("select * from PELMORA"));
      rs->Eof();
      db->Close();
    });
    // Any other fault is the schema check's to judge.
    if (!err.failed() || !dao::IsLockedError(err.last().number)) return true;
    if (platform::MsgBox(err.last().description, platform::vbRetryCancel | platform::vbExclamation) !=
        platform::vbRetry)
      return false;
  }
}

// What a write cut short (a crash, a power cut) left behind: the temporary
// copies of the data files and of the per-user settings. Only those go.
void RemoveLeftovers() {
  platform::RemoveLeftoverReplacements(
      g_AppPath, {QStringLiteral("Wed.mdb"), QStringLiteral("pelmora.ini"), QStringLiteral("Wed.mdb.old"),
                  QStringLiteral("pelmora.ini.old")});
  platform::RemoveSettingsLeftovers(QStringLiteral("Pelmora"));
}

}  // namespace

bool Main() {
  // The platform's words (buttons, file and print dialogs) in the user's
  // language, before any of them is shown.
  platform::LoadPlatformLanguage();
  // One copy per program folder, decided before any file is read or written.
  if (!platform::ClaimFolder(QDir::currentPath())) {
    platform::MsgBox(QStringLiteral(".התוכנה כבר פתוחה מתיקייה זו"), platform::vbExclamation);
    platform::RunHandler([] { platform::EndProgram(1); });
    return false;
  }
  // Start-up is no event handler: an error that escapes it is shown here and
  // ends the program (status 1) instead of reaching std::terminate.
  const bool started = platform::RunHandler([] {
    g_AppPath = QDir::currentPath();
    if (!g_AppPath.endsWith('/')) g_AppPath += '/';
    RemoveLeftovers();

    mdlFileINI::ReadWeddingDate();

    frmSplash::Default().lblWeddingCount->setText("עוד " + DaysToWedding() + " ימים לחתונה...");
    if (frmSplash* splash = frmSplash::Existing()) {
      splash->show();
      splash->repaint();
      QCoreApplication::processEvents();
    }

    if (!DatabaseFree()) {
      frmSplash::Unload();
      platform::EndProgram(1);
    }
    frmPelmora::Default();
    frmTableMap::Default();
    frmSplash::Unload();
    frmPelmora::Default().show();
  });
  if (started) return true;
  if (!platform::ProgramHasEnded()) platform::RunHandler([] { platform::EndProgram(1); });
  return false;
}

}  // namespace mdlWedding
