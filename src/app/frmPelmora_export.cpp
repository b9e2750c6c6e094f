// Export and import of the two data files, Wed.mdb and pelmora.ini, through
// the main window's common dialog.
#include <QDir>
#include <QFileInfo>

#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "budget/frmBudget.h"
#include "editor/frmInvDetails.h"
#include "guestlist/frmPelmora.h"
#include "platform/commondialog.h"
#include "platform/filecopy.h"
#include "platform/msgbox.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"

using namespace mdlWedding;
using platform::CommonDialog;
using platform::ErrorState;
using platform::MsgBox;

namespace {

const QString kDatabaseName = QStringLiteral("Wed.mdb");
const QString kSettingsName = QStringLiteral("pelmora.ini");

QString exportFilter(const QString& fileName) {
  if (fileName == kDatabaseName) return QStringLiteral("Microsoft Database (*.mdb)|*.mdb");
  if (fileName == kSettingsName) return QStringLiteral("Windows Ini - File (*.ini)|*.ini");
  return QString();
}

QString importFilter(const QString& fileName) {
  if (fileName == kDatabaseName) return QStringLiteral("Microsoft Database (*.mdb)|*.mdb|Backup File (*.old)|*.old");
  if (fileName == kSettingsName) return QStringLiteral("Windows Ini - File (*.ini)|*.ini|Backup File (*.old)|*.old");
  return QString();
}

// The file dialog may have moved the current directory.
void changeToProgramFolder() {
  if (!QDir::setCurrent(g_AppPath)) platform::Raise(76, QStringLiteral("Path not found"));
}

const QString kOwnFile = QStringLiteral("הקובץ שנבחר הוא קובץ הנתונים של התוכנה עצמה. יש לבחור קובץ בתיקייה אחרת.");
const QString kNoWeddingDatabase =
    QStringLiteral("הקובץ שנבחר אינו מבנה נתונים שהתוכנה יכולה לעבוד איתו. דבר לא יובא והקבצים הקיימים לא שונו.");

// True when both names lead to one file (links and letter case resolved).
bool sameFile(const QString& a, const QString& b) {
  const QString ca = QFileInfo(a).canonicalFilePath();
  return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// The second file dialog of an export or import opens in the folder chosen in
// the first; the dialog's own folder comes back afterwards.
class FolderOfFirstChoice {
 public:
  explicit FolderOfFirstChoice(CommonDialog& dialog) : dialog_(dialog), saved_(dialog.InitDir) {}
  ~FolderOfFirstChoice() { dialog_.InitDir = saved_; }
  void follow() { dialog_.InitDir = QFileInfo(dialog_.FileName).absolutePath(); }

 private:
  CommonDialog& dialog_;
  QString saved_;
};

// The budget window keeps Wed.mdb open while it is shown: it lets go of the
// file before an import and opens it again, the new one, afterwards.
// A budget window kept open (the user cancelled its question about typed
// amounts) keeps the file: the import does not go on.
class BudgetWindowReleased {
 public:
  BudgetWindowReleased() : wasOpen_(frmBudget::IsLoaded()) {
    if (wasOpen_) released_ = frmBudget::Unload();
  }
  ~BudgetWindowReleased() {
    if (wasOpen_ && released_) platform::RunHandler([] { frmBudget::Default().show(); });
  }
  bool released() const { return !wasOpen_ || released_; }

 private:
  bool wasOpen_;
  bool released_ = false;
};

// A copy that did not happen is reported, never passed over as a success.
void reportCopyFailure() { MsgBox(QStringLiteral("Path/File access error"), platform::vbExclamation); }

// Shows the dialog; false after a cancel (silent) or another error (shown).
bool askForFile(CommonDialog& dialog, const QString& fileName, const QString& filter, bool save) {
  ErrorState err;
  err([&] {
    dialog.CancelError = true;
    dialog.FileName = fileName;
    dialog.Filter = filter;
    dialog.FilterIndex = 1;
    if (save) dialog.ShowSave();
    else dialog.ShowOpen();
  });
  if (!err.failed()) return true;
  if (err.last().number != CommonDialog::cdlCancel) MsgBox(err.last().description, platform::vbExclamation);
  return false;
}

}  // namespace

bool frmPelmora::ExportFile(QString& file_name) {
  const QString source = ProgramFile(file_name);
  if (!askForFile(CommonDialog1, file_name, exportFilter(file_name), true)) return false;
  const QString destination = CommonDialog1.FileName;
  if (sameFile(source, destination)) {
    MsgBox(kOwnFile, platform::vbExclamation);
    return false;
  }
  if (platform::CopyFile(source, destination, true)) return true;
  // Overwriting is offered only for a file that is there.
  if (!QFileInfo(destination).exists() && !QFileInfo(destination).isSymLink()) {
    reportCopyFailure();
    return false;
  }

  const int answer = MsgBox(QStringLiteral("?") + destination + QStringLiteral(" האם ברצונך לשכתב"),
                            platform::vbYesNo + platform::vbInformation + platform::vbDefaultButton2);
  if (answer != platform::vbYes) return false;
  if (!platform::CopyFile(source, destination, false)) {
    reportCopyFailure();
    return false;
  }
  return true;
}

void frmPelmora::mnuExportDB_Click() {
  ErrorState err;
  FolderOfFirstChoice folder(CommonDialog1);
  for (const QString& name : {kDatabaseName, kSettingsName}) {
    QString fileName = name;
    bool exported = false;
    err([&] { exported = ExportFile(fileName); });
    if (!exported) return;
    folder.follow();
  }
  err([&] { changeToProgramFolder(); });
  if (err.failed()) {
    QDir::setCurrent(g_AppPath);
    MsgBox(QStringLiteral("!פעולת יצוא מבנה הנתונים נכשלה") + err.last().description, platform::vbExclamation);
  } else {
    MsgBox(QStringLiteral(".פעולת יצוא מבנה הנתונים הצליחה"));
  }
}

bool frmPelmora::ImportFile(QString& file_name) {
  const QString target = ProgramFile(file_name);
  if (!askForFile(CommonDialog1, file_name, importFilter(file_name), false)) return false;
  const QString source = CommonDialog1.FileName;
  if (!FileExists(source)) {
    MsgBox(QStringLiteral(".קובץ המקור לא נמצא"));
    return false;
  }
  if (sameFile(source, target)) {
    MsgBox(kOwnFile, platform::vbExclamation);
    return false;
  }
  // Only a database that start-up would accept may replace the wedding's.
  if (file_name == kDatabaseName) {
    ErrorState check;
    check([&] { CheckWeddingDatabaseFile(source); });
    if (check.failed()) {
      MsgBox(kNoWeddingDatabase, platform::vbExclamation);
      return false;
    }
  }
  ErrorState err;
  err([&] { changeToProgramFolder(); });

  // The chosen file's content is taken before the backup is made: the chosen
  // file may be that very backup (Wed.mdb.old of the program folder).
  platform::StagedCopy incoming(target);
  if (!incoming.take(source)) {
    reportCopyFailure();
    return false;
  }
  // Without its backup the current file is not replaced.
  if (QFileInfo::exists(target) && !platform::CopyFile(target, target + QStringLiteral(".old"), false)) {
    reportCopyFailure();
    return false;
  }
  if (!incoming.place(false)) {
    reportCopyFailure();
    return false;
  }
  return true;
}

void frmPelmora::mnuImportDB_Click() {
  ErrorState err;
  const int answer = MsgBox(QStringLiteral("פעולה זו מייבאת מבנה נתונים והגדרות") + g_NewLine +
                                QStringLiteral("?של חתונה חיצונית, להמשיך"),
                            platform::vbYesNo + platform::vbQuestion, QStringLiteral("אזהרת מערכת"));
  if (answer == platform::vbNo) return;

  // Wed.mdb must not be held open while it is replaced.
  BudgetWindowReleased budget;
  if (!budget.released()) return;
  err([&] { g_RS.SetNothing(); });
  err([&] { g_DB->Close(); });

  FolderOfFirstChoice folder(CommonDialog1);
  for (const QString& name : {kDatabaseName, kSettingsName}) {
    QString fileName = name;
    bool imported = false;
    err([&] { imported = ImportFile(fileName); });
    if (!imported) return;
    folder.follow();
  }

  // The imported wedding's options and groups, read as at start and shown
  // before its list.
  err([] { mdlFileINI::ReadWeddingDate(); });
  err([] { mdlFileINI::ReadOptions(); });
  if (g_GroupName != g_AllGuests && GroupNumber(g_GroupName) == 0) g_GroupName = g_AllGuests;
  err([&] { InitEvent(); });
  err([] {
    if (frmInvDetails* editor = frmInvDetails::Existing()) editor->RefreshGroupList();
  });

  err([&] { g_DB = dao::DBEngine::instance().OpenDatabase(DatabaseFile()); });
  m_CheckDatabase = true;  // a new file: read it all through before it is used
  err([&] { InitList(g_GroupName, g_SortField); });  // also brings an older database up to date
  err([&] { frmTableMap::Default().InitTableSetting(); });
  err([&] { frmTableMap::Default().ChangeTableViewMode(1); });

  if (err.failed()) {
    QDir::setCurrent(g_AppPath);
    MsgBox(QStringLiteral("!פעולת יבוא מבנה הנתונים נכשלה") + err.last().description, platform::vbExclamation);
  } else {
    MsgBox(QStringLiteral(".פעולת יבוא מבנה הנתונים הצליחה"));
  }
}
