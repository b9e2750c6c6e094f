// Export and import of the two data files, Wed.mdb and pelmora.ini, through
// the main window's common dialog.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <sys/stat.h>

#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "budget/frmBudget.h"
#include "editor/frmInvDetails.h"
#include "guestlist/frmPelmora.h"
#include "platform/commondialog.h"
#include "platform/dao.h"
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
const QString kDatabaseOnly = QStringLiteral("!מבנה הנתונים יובא, אך קובץ ההגדרות לא יובא");
const QString kCopyFailure = QStringLiteral("Path/File access error");
constexpr long kCannotOpenDatabase = 3051;  // the engine's "no permission to view its data"

// The file a name leads to, links and other names of its folders followed.
struct FileId {
  dev_t device;
  ino_t inode;
  bool operator==(const FileId&) const = default;
};
std::optional<FileId> identify(const QString& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return std::nullopt;
  return FileId{st.st_dev, st.st_ino};
}

bool sameFile(const QString& a, const QString& b) {
  const auto id = identify(a);
  return id && id == identify(b);
}

// Wed.mdb or pelmora.ini of the program folder, by whatever name.
bool isProgramDataFile(const QString& path) { return sameFile(path, DatabaseFile()) || sameFile(path, IniFile()); }

// A Wed.mdb that an import put in place without its settings file. While it
// stays, Wed.mdb.old holds the replaced wedding's only copy: a retry of the
// import must not replace that backup by this file.
struct ImportedAlone {
  QString path;
  FileId file;
};
std::optional<ImportedAlone> importedAlone;

bool isImportedAlone(const QString& path) {
  return importedAlone && path == importedAlone->path && identify(path) == importedAlone->file;
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
void reportCopyFailure() { MsgBox(kCopyFailure, platform::vbExclamation); }

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

// Only a database that start-up would accept may replace the wedding's. The
// check reads the very snapshot that lands, write-ahead log included.
bool takeDatabase(const QString& source, platform::StagedCopy& incoming) {
  ErrorState check;
  QByteArray image;
  check([&] {
    image = dao::DBEngine::instance().Snapshot(source);
    auto db = dao::DBEngine::instance().OpenSnapshot(image, source);
    CheckWeddingDatabase(*db);
    db->Close();
  });
  if (check.failed()) {
    // A file that cannot be read is no verdict on its content.
    const bool unreadable = check.last().number == kCannotOpenDatabase;
    MsgBox(unreadable ? check.last().description : kNoWeddingDatabase, platform::vbExclamation);
    return false;
  }
  if (!incoming.hold(image)) {
    reportCopyFailure();
    return false;
  }
  return true;
}

// Asks for the file to import as file_name, checks it and takes its content
// beside the program folder's file; false (its message shown) when it cannot
// be used. Nothing is replaced yet.
bool chooseImport(CommonDialog& dialog, const QString& fileName, platform::StagedCopy& incoming) {
  if (!askForFile(dialog, fileName, importFilter(fileName), false)) return false;
  const QString source = dialog.FileName;
  if (!FileExists(source)) {
    MsgBox(QStringLiteral(".קובץ המקור לא נמצא"));
    return false;
  }
  if (isProgramDataFile(source)) {
    MsgBox(kOwnFile, platform::vbExclamation);
    return false;
  }
  // Taken now: the chosen file may be a backup that the import replaces
  // (Wed.mdb.old of the program folder).
  if (fileName == kDatabaseName) return takeDatabase(source, incoming);
  if (!incoming.take(source)) {
    reportCopyFailure();
    return false;
  }
  return true;
}

// The program folder's file kept as its .old backup, then replaced by the
// taken copy. Without its backup the current file is not replaced.
bool placeWithBackup(const QString& target, platform::StagedCopy& incoming) {
  const bool keepBackup = isImportedAlone(target);
  if (!keepBackup && QFileInfo::exists(target) && !platform::CopyFile(target, target + QStringLiteral(".old"), false))
    return false;
  return incoming.place(false);
}

}  // namespace

bool frmPelmora::ExportFile(QString& file_name) {
  const QString source = ProgramFile(file_name);
  if (!askForFile(CommonDialog1, file_name, exportFilter(file_name), true)) return false;
  const QString destination = CommonDialog1.FileName;
  if (isProgramDataFile(destination)) {
    MsgBox(kOwnFile, platform::vbExclamation);
    return false;
  }
  // The database goes out whole as the engine reads it, in one snapshot.
  const bool database = file_name == kDatabaseName;
  QByteArray image;
  if (database) {
    ErrorState read;
    read([&] { image = dao::DBEngine::instance().Snapshot(source); });
    if (read.failed()) {
      MsgBox(read.last().description, platform::vbExclamation);
      return false;
    }
  }
  const auto copy = [&](bool failIfExists) {
    return database ? platform::PutFile(image, destination, failIfExists)
                    : platform::CopyFile(source, destination, failIfExists);
  };
  if (copy(true)) return true;
  // Overwriting is offered only for a file that is there.
  if (!QFileInfo(destination).exists() && !QFileInfo(destination).isSymLink()) {
    reportCopyFailure();
    return false;
  }

  const int answer = MsgBox(QStringLiteral("?") + destination + QStringLiteral(" האם ברצונך לשכתב"),
                            platform::vbYesNo + platform::vbInformation + platform::vbDefaultButton2);
  if (answer != platform::vbYes) return false;
  if (!copy(false)) {
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

  // Both files are chosen, checked and taken before either is replaced.
  const QString databaseTarget = ProgramFile(kDatabaseName), settingsTarget = ProgramFile(kSettingsName);
  platform::StagedCopy database(databaseTarget), settings(settingsTarget);
  {
    FolderOfFirstChoice folder(CommonDialog1);
    if (!chooseImport(CommonDialog1, kDatabaseName, database)) return;
    folder.follow();
    if (!chooseImport(CommonDialog1, kSettingsName, settings)) return;
  }
  err([&] { changeToProgramFolder(); });
  if (!placeWithBackup(databaseTarget, database)) {
    reportCopyFailure();  // nothing replaced
    return;
  }
  // From here the new wedding is in place: the list shows it even when its
  // settings file cannot follow.
  const bool settingsPlaced = placeWithBackup(settingsTarget, settings);
  importedAlone.reset();
  if (!settingsPlaced)
    if (const auto file = identify(databaseTarget)) importedAlone = ImportedAlone{databaseTarget, *file};

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

  if (!settingsPlaced) {
    QDir::setCurrent(g_AppPath);
    MsgBox(kDatabaseOnly + g_NewLine + kCopyFailure, platform::vbExclamation);
  } else if (err.failed()) {
    QDir::setCurrent(g_AppPath);
    MsgBox(QStringLiteral("!פעולת יבוא מבנה הנתונים נכשלה") + err.last().description, platform::vbExclamation);
  } else {
    MsgBox(QStringLiteral(".פעולת יבוא מבנה הנתונים הצליחה"));
  }
}
