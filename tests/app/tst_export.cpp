// Export and import of Wed.mdb and pelmora.ini from the main window's menu:
// the dialogs, the overwrite question, the .old backups, the reload after an
// import and the messages, checked on disk.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QFile>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include "app/frmOptions.h"
#include "app/mdlWedding.h"
#include "budget/frmBudget.h"
#include "editor/frmInvDetails.h"
#include "platform/dao.h"
#include "platform/filereplace.h"
#include "platform/ini.h"
#include "guestlist/guestlist_fixture.h"
#include "platform/listview.h"
#include "platform/msgbox.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"
#include "support/files.h"
#include "support/otherconnection.h"
#include "support/asnobody.h"
#include "support/testsupport.h"
#include "support/when.h"
#include "support/weddingdb.h"

using namespace mdlWedding;
using platform::Prompt;
using testsupport::prompts;
using testsupport::readFile;
using testsupport::whenShown;
using testsupport::writeFile;

namespace {

const QString kExportOk = QStringLiteral(".פעולת יצוא מבנה הנתונים הצליחה");
const QString kImportOk = QStringLiteral(".פעולת יבוא מבנה הנתונים הצליחה");
const QString kDbFilterOut = QStringLiteral("Microsoft Database (*.mdb)|*.mdb");
const QString kIniFilterOut = QStringLiteral("Windows Ini - File (*.ini)|*.ini");
const QString kDbFilterIn = QStringLiteral("Microsoft Database (*.mdb)|*.mdb|Backup File (*.old)|*.old");
const QString kIniFilterIn = QStringLiteral("Windows Ini - File (*.ini)|*.ini|Backup File (*.old)|*.old");

QVector<Prompt> dialogs() {
  QVector<Prompt> out;
  for (const Prompt& p : prompts().shown())
    if (p.kind == Prompt::FileDialog) out << p;
  return out;
}

// Exports both files under the given names and returns the messages shown.
QStringList exportAs(const QString& db, const QString& ini) {
  prompts().clearShown();
  prompts().answerDialog(db);
  prompts().answerDialog(ini);
  prompts().answer(platform::vbOK);
  frmPelmora::Default().mnuExportDB->trigger();
  return prompts().messages();
}

QString overwriteQuestion(const QString& path) {
  return QStringLiteral("?") + path + QStringLiteral(" האם ברצונך לשכתב");
}

// Another wedding's settings: its names (an imported file without them makes
// a first run, as at start) and the keys that tell the files apart.
const QByteArray kNames = "[Options]\r\nCouple=Ron and Shani\r\nHis Family=Alon\r\nHer Family=Barak\r\n";
const QByteArray kFirstSettings = kNames + "[Print]\r\nFrame=True\r\n";
const QByteArray kSecondSettings = kNames + "[Print]\r\nFrame=False\r\n";

// Another wedding's files in a folder of their own.
void makeOtherWedding(const QString& dir, const QString& family, const QByteArray& ini) {
  testsupport::makeWeddingDb(dir + "/Wed.mdb");
  testsupport::addInvitation(guest(family, QStringLiteral("רון")), dir + "/Wed.mdb");
  writeFile(dir + "/pelmora.ini", ini);
}

// The tables map may offer to save its positions when it leaves map view or
// when the program ends; that question belongs to the map and is answered No
// here, any other unscripted prompt still fails the test.
class MapPositionsQuestionAnsweredNo {
 public:
  MapPositionsQuestionAnsweredNo() { prompts().setUnscriptedHandler(&tolerant); }
  ~MapPositionsQuestionAnsweredNo() { prompts().setUnscriptedHandler(&testsupport::failOnUnscripted); }

 private:
  static void tolerant(const Prompt& p) {
    // The map's save question gets the safe answer (No); anything else fails.
    if (p.title != QStringLiteral("אזהרת שמירה")) testsupport::failOnUnscripted(p);
  }
};

void agreeToImport(const QString& db, const QString& ini) {
  prompts().answer(platform::vbYes);
  prompts().answerDialog(db);
  prompts().answerDialog(ini);
  prompts().answer(platform::vbOK);
}

// Imports these files, agreed to, and returns the messages shown.
QStringList importFrom(const QString& db, const QString& ini) {
  prompts().clearShown();
  agreeToImport(db, ini);
  frmPelmora::Default().mnuImportDB->trigger();
  return prompts().messages();
}

// The wedding this program folder gets by an import: its settings as the
// program writes them (the options, the print keys, then the groups, which
// an Apply always writes last), and one guest in its fifth group.
struct ImportedWedding {
  QString couple = QStringLiteral("רון ושני"), his = QStringLiteral("משפחת אלון"), her = QStringLiteral("משפחת ברק");
  QStringList userGroups = {QStringLiteral("חברים"), QStringLiteral("עבודה")};
  QDate date = vb::Today().date().addDays(40);

  QByteArray write(const QString& dir, const QString& maxTables) const {
    testsupport::makeWeddingDb(dir + "/Wed.mdb");
    testsupport::Invitation atWork = guest(QStringLiteral("שמש"), QStringLiteral("גל"));
    atWork.listGroup = QStringLiteral("5");
    testsupport::addInvitation(atWork, dir + "/Wed.mdb");
    const QString ini = dir + "/pelmora.ini";
    auto put = [&](const char* section, const QString& key, const QString& value) {
      platform::WritePrivateProfileString(QString::fromLatin1(section), key, value, ini);
    };
    const QStringList groups = QStringList{couple, his, her} + userGroups;
    put("Options", "Couple", couple);
    put("Options", "His Family", his);
    put("Options", "Her Family", her);
    put("Options", "NumOfGroups", QString::number(groups.size()));
    put("Options", "Max Tables", maxTables);
    put("Options", "Max Chairs", "10");
    put("Options", "Wedding Date", vb::DateText(date));
    put("Print", "Label Frame", "True");
    for (int i = 0; i < groups.size(); ++i) put("UserGroups", "Group-" + QString::number(i), groups[i]);
    return readFile(ini);
  }
};

// Wed.mdb, pelmora.ini and their .old backups of the program folder, byte for
// byte; a missing file is missing from the map.
QMap<QString, QByteArray> dataFiles() {
  QMap<QString, QByteArray> out;
  for (const QString& name : {"Wed.mdb", "Wed.mdb.old", "pelmora.ini", "pelmora.ini.old"})
    if (QFileInfo(ProgramFile(name)).isFile()) out[name] = readFile(ProgramFile(name));
  return out;
}

// A database file as a tool in WAL mode leaves it: `connection` moved the
// whole of the template's wedding into the log and never checkpoints.
void copyIntoLog(testsupport::OtherConnection& connection, const QString& templateFile) {
  QVERIFY(connection.keepChangesInLog());
  QCOMPARE(connection.exec("ATTACH '" + templateFile + "' AS t"), SQLITE_OK);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(connection.db, "SELECT name, sql FROM t.sqlite_master WHERE type = 'table'", -1, &st, nullptr);
  QStringList tables, creates;
  while (sqlite3_step(st) == SQLITE_ROW) {
    tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    creates << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
  }
  sqlite3_finalize(st);
  for (int i = 0; i < tables.size(); ++i) {
    QCOMPARE(connection.exec(creates[i]), SQLITE_OK);
    QCOMPARE(connection.exec("INSERT INTO main.\"" + tables[i] + "\" SELECT * FROM t.\"" + tables[i] + '"'), SQLITE_OK);
  }
  QCOMPARE(connection.exec("DETACH t"), SQLITE_OK);
}

// A plain database: a rollback-journal header (bytes 18 and 19 are 1), and
// no log beside it.
void verifyPlainDatabase(const QString& path) {
  const QByteArray bytes = readFile(path);
  QVERIFY(bytes.size() > 100);
  QCOMPARE(int(bytes[18]), 1);
  QCOMPARE(int(bytes[19]), 1);
  QVERIFY(!QFile::exists(path + "-wal"));
}

}  // namespace

class ExportTest : public QObject {
  Q_OBJECT
 private slots:
  void exportCopiesBothFilesAndAsksBeforeReplacing() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    QTemporaryDir out;
    const QString db = out.filePath("Wed.mdb"), ini = out.filePath("pelmora.ini");

    // A cancelled dialog ends the export silently.
    prompts().cancelDialog();
    w.mnuExportDB->trigger();
    QVERIFY(prompts().messages().isEmpty());
    QVERIFY(!QFile::exists(db));

    exportAs(db, ini);
    QCOMPARE(readFile(db), readFile(DatabaseFile()));
    QCOMPARE(readFile(ini), readFile(IniFile()));
    QVERIFY(!readFile(ini).isEmpty());
    auto shown = dialogs();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, kDbFilterOut);
    QCOMPARE(shown[0].style, int(Prompt::SaveDialog));
    QCOMPARE(shown[1].text, kIniFilterOut);
    QCOMPARE(prompts().messages(), QStringList{kExportOk});
    QCOMPARE(prompts().shown().last().style, int(platform::vbOKOnly));

    // The folder now holds Wed.mdb: No ends the whole export, nothing replaced,
    // the settings file not offered.
    writeFile(db, "earlier export");
    prompts().clearShown();
    prompts().answerDialog(db);
    prompts().answer(platform::vbNo);
    w.mnuExportDB->trigger();
    QCOMPARE(prompts().messages(), QStringList{overwriteQuestion(db)});
    QCOMPARE(prompts().shown().last().style, 324);
    QCOMPARE(dialogs().size(), 1);
    QCOMPARE(readFile(db), QByteArray("earlier export"));

    // Yes replaces, file by file.
    writeFile(ini, "earlier settings");
    prompts().clearShown();
    prompts().answerDialog(db);
    prompts().answer(platform::vbYes);
    prompts().answerDialog(ini);
    prompts().answer(platform::vbYes);
    prompts().answer(platform::vbOK);
    w.mnuExportDB->trigger();
    QCOMPARE(prompts().messages(), QStringList({overwriteQuestion(db), overwriteQuestion(ini), kExportOk}));
    QCOMPARE(readFile(db), readFile(DatabaseFile()));
    QCOMPARE(readFile(ini), readFile(IniFile()));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary files left
  }

  void exportThatCannotWriteSaysSo() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow();
    const QString nowhere = folder.file("missing/Wed.mdb");
    prompts().answerDialog(nowhere);
    prompts().answer(platform::vbOK);
    w.mnuExportDB->trigger();
    // No file is there: no overwrite question, the failure itself.
    QCOMPARE(prompts().messages(), QStringList{QStringLiteral("Path/File access error")});
    QCOMPARE(prompts().shown().last().style, int(platform::vbExclamation));
    QCOMPARE(dialogs().size(), 1);
  }

  void importReplacesBothFilesKeepsBackupsAndReloads() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    {
      MapPositionsQuestionAnsweredNo positions;
      frmTableMap::Default().ChangeTableViewMode(2);
    }
    QCOMPARE(g_TableViewMode, quint8(2));
    prompts().clearShown();
    const QByteArray originalDb = readFile(DatabaseFile()), originalIni = readFile(IniFile());
    QTemporaryDir first, second;
    makeOtherWedding(first.path(), QStringLiteral("לוי"), kFirstSettings);
    makeOtherWedding(second.path(), QStringLiteral("מזרחי"), kSecondSettings);

    agreeToImport(first.filePath("Wed.mdb"), first.filePath("pelmora.ini"));
    w.mnuImportDB->trigger();
    const auto& warning = prompts().shown().first();
    QCOMPARE(warning.text, QStringLiteral("פעולה זו מייבאת מבנה נתונים והגדרות") + g_NewLine +
                               QStringLiteral("?של חתונה חיצונית, להמשיך"));
    QCOMPARE(warning.style, 36);
    QCOMPARE(warning.title, QStringLiteral("אזהרת מערכת"));
    auto shown = dialogs();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, kDbFilterIn);
    QCOMPARE(shown[0].style, int(Prompt::OpenDialog));
    QCOMPARE(shown[1].text, kIniFilterIn);
    QCOMPARE(prompts().messages().last(), kImportOk);
    QCOMPARE(readFile(DatabaseFile()), readFile(first.filePath("Wed.mdb")));
    QCOMPARE(readFile(DatabaseFile() + ".old"), originalDb);
    QCOMPARE(readFile(IniFile()), kFirstSettings);
    QCOMPARE(readFile(IniFile() + ".old"), originalIni);
    QCOMPARE(cell(1, 0), QStringLiteral("לוי"));  // the list shows the imported wedding
    QCOMPARE(g_TableViewMode, quint8(1));
    QVERIFY(frmTableMap::Default().popTableMap->isChecked());
    QCOMPARE(frmTableMap::Default().lvwTable->View(), platform::ListView::lvwIcon);

    // A second import replaces the first backups by the files imported first.
    QCOMPARE(importFrom(second.filePath("Wed.mdb"), second.filePath("pelmora.ini")).last(), kImportOk);
    QCOMPARE(readFile(DatabaseFile() + ".old"), readFile(first.filePath("Wed.mdb")));
    QCOMPARE(readFile(IniFile() + ".old"), kFirstSettings);
    QCOMPARE(cell(1, 0), QStringLiteral("מזרחי"));

    // Choosing the program folder's own backups brings the first wedding back.
    QCOMPARE(importFrom(DatabaseFile() + ".old", IniFile() + ".old").last(), kImportOk);
    QCOMPARE(readFile(DatabaseFile()), readFile(first.filePath("Wed.mdb")));
    QCOMPARE(readFile(DatabaseFile() + ".old"), readFile(second.filePath("Wed.mdb")));
    QCOMPARE(readFile(IniFile()), kFirstSettings);
    QCOMPARE(readFile(IniFile() + ".old"), kSecondSettings);
    QCOMPARE(cell(1, 0), QStringLiteral("לוי"));
    QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    QCOMPARE(files, QStringList({"Wed.mdb", "Wed.mdb.old", "pelmora.ini", "pelmora.ini.old"}));
  }

  // The imported wedding's options and groups are read as at start and shown
  // before the success message; an options OK that changes only the number
  // of tables then changes only that line of the imported file.
  void importedOptionsAndGroupsTakeOver() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    w.show();
    g_InvMode = 1;
    frmInvDetails& editor = frmInvDetails::Default();  // left open, adding
    editor.show();
    QTemporaryDir other;
    const ImportedWedding wedding;
    const QByteArray imported = wedding.write(other.path(), "30");

    const QStringList groupNames = {wedding.couple, wedding.his, wedding.her, wedding.userGroups[0],
                                    wedding.userGroups[1]};
    QString daysShown;
    QStringList combo, editorGroups;
    int tables = 0;
    prompts().view([&](QWidget* shown) {
      auto* box = qobject_cast<QMessageBox*>(shown);
      if (!box || box->text() != kImportOk) return;
      daysShown = w.lblWeddingCount->text();
      for (int i = 0; i < w.cmbUserGroups->count(); ++i) combo << w.cmbUserGroups->itemText(i);
      for (int i = 0; i < editor.cmbGroup->count(); ++i) editorGroups << editor.cmbGroup->itemText(i);
      tables = frmTableMap::Default().lvwTable->ItemCount();
    });
    agreeToImport(other.filePath("Wed.mdb"), other.filePath("pelmora.ini"));
    w.mnuImportDB->trigger();
    prompts().view({});
    QCOMPARE(prompts().messages().last(), kImportOk);
    QCOMPARE(daysShown, QStringLiteral("עוד 40 ימים לחתונה..."));
    QCOMPARE(combo, QStringList{g_AllGuests} + groupNames);
    QCOMPARE(editorGroups, groupNames);
    QCOMPARE(tables, 30);
    QCOMPARE(readFile(IniFile()), imported);

    // The imported group can be picked, and shows its guest.
    w.cmbUserGroups->setFocus();
    QTest::keyClick(w.cmbUserGroups, Qt::Key_End);
    QCOMPARE(g_GroupName, QStringLiteral("עבודה"));
    QCOMPARE(cell(1, 0), QStringLiteral("שמש"));

    // Options OK with only the number of tables typed anew.
    prompts().clearShown();
    prompts().onModal([](QWidget* window) {
      auto* options = qobject_cast<frmOptions*>(window);
      QVERIFY(options);
      QCOMPARE(options->txtCouple->text(), QStringLiteral("רון ושני"));
      QTest::mouseClick(options->SSTab1->tabBar(), Qt::LeftButton, {},
                        options->SSTab1->tabBar()->tabRect(2).center());
      options->txtMaxTable->setFocus();
      QTest::keyClick(options->txtMaxTable, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(options->txtMaxTable, "40");
      QTest::mouseClick(options->cmdOK, Qt::LeftButton);
    });
    QTest::mouseClick(w.Toolbar1->widgetForAction(w.Toolbar1->Button(12)), Qt::LeftButton);
    testsupport::processEvents();
    QVERIFY(!frmOptions::IsLoaded());
    QCOMPARE(prompts().messages(), QStringList{});
    QCOMPARE(readFile(IniFile()), wedding.write(QTemporaryDir().path(), "40"));
  }

  // An editor left open on a guest while another wedding is imported: its
  // save goes to the Wed.mdb now in the folder, never to the replaced file.
  void anOpenEditorSavesIntoTheImportedFile() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("רון"))});
    prompts().answer(platform::vbYes);
    w.UpdateInv();
    frmInvDetails& editor = frmInvDetails::Default();
    QCOMPARE(editor.txtFamilyName->text(), QStringLiteral("כהן"));
    w.mnuIgnoreCnfNotOk->trigger();  // the list is read again meanwhile
    w.mnuIgnoreCnfNotOk->trigger();
    QTemporaryDir other;
    makeOtherWedding(other.path(), QStringLiteral("כהן"), kNames);
    agreeToImport(other.filePath("Wed.mdb"), other.filePath("pelmora.ini"));
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().messages().last(), kImportOk);

    prompts().clearShown();
    editor.txtPhones->setText(QStringLiteral("050-1234567"));
    QTest::mouseClick(editor.cmdOK, Qt::LeftButton);
    QCOMPARE(prompts().messages(), QStringList{});
    const auto rows = testsupport::readInvitations();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0]["PHONES"].toString(), QStringLiteral("050-1234567"));
    QCOMPARE(cell(1, 2), QStringLiteral("050-1234567"));
  }

  void importThatEndsEarly() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    const QByteArray originalDb = readFile(DatabaseFile()), originalIni = readFile(IniFile());
    QTemporaryDir other;
    makeOtherWedding(other.path(), QStringLiteral("לוי"), kNames);

    // No at the warning: nothing is asked or touched.
    prompts().answer(platform::vbNo);
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().shown().size(), 1);
    QVERIFY(!QFile::exists(DatabaseFile() + ".old"));

    // A source that is not there.
    prompts().clearShown();
    prompts().answer(platform::vbYes);
    prompts().answerDialog(other.filePath("nothere.mdb"));
    prompts().answer(platform::vbOK);
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().messages().last(), QStringLiteral(".קובץ המקור לא נמצא"));
    QCOMPARE(prompts().shown().last().style, int(platform::vbOKOnly));
    QCOMPARE(readFile(DatabaseFile()), originalDb);
    QVERIFY(!QFile::exists(DatabaseFile() + ".old"));

    // Cancelling the settings file's dialog: nothing has been replaced yet.
    prompts().clearShown();
    prompts().answer(platform::vbYes);
    prompts().answerDialog(other.filePath("Wed.mdb"));
    prompts().cancelDialog();
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().messages().size(), 1);  // the warning only
    QCOMPARE(dialogs().size(), 2);
    QCOMPARE(dataFiles(), (QMap<QString, QByteArray>{{"Wed.mdb", originalDb}, {"pelmora.ini", originalIni}}));
    QCOMPARE(cell(1, 0), QStringLiteral("כהן"));
  }

  // A settings file that cannot be used stops the import before Wed.mdb is
  // replaced: missing, the program's own through a link, or unreadable to
  // the user who runs the program.
  void importChecksBothFilesBeforeReplacingEither() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    writeFile(DatabaseFile() + ".old", "earlier backup");
    const auto before = dataFiles();
    QTemporaryDir other;
    makeOtherWedding(other.path(), QStringLiteral("לוי"), kNames);
    QVERIFY(QFile::link(IniFile(), other.filePath("linked.ini")));
    auto importWith = [&](const QString& ini) {
      return importFrom(other.filePath("Wed.mdb"), ini).last();
    };
    QCOMPARE(importWith(other.filePath("missing.ini")), QStringLiteral(".קובץ המקור לא נמצא"));
    QCOMPARE(dataFiles(), before);
    QCOMPARE(importWith(other.filePath("linked.ini")),
             QStringLiteral("הקובץ שנבחר הוא קובץ הנתונים של התוכנה עצמה. יש לבחור קובץ בתיקייה אחרת."));
    QCOMPARE(dataFiles(), before);

    testsupport::openToEveryone({folder.path(), other.path()});
    testsupport::giveToNobody({DatabaseFile(), IniFile(), DatabaseFile() + ".old"});
    QVERIFY(QFile::setPermissions(other.filePath("Wed.mdb"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(other.filePath("pelmora.ini"), QFile::Permissions()));
    QString refusal;
    {
      testsupport::AsNobody nobody;
      refusal = importWith(other.filePath("pelmora.ini"));
    }
    QCOMPARE(refusal, QStringLiteral("Path/File access error"));
    QCOMPARE(dataFiles(), before);
    QCOMPARE(cell(1, 0), QStringLiteral("כהן"));
    QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);  // no copy left behind
    files.sort();
    QCOMPARE(files, QStringList(before.keys()));
  }

  // An unreadable Wed.mdb is no verdict on its content: the engine's own
  // message says why it cannot be used.
  void importOfAnUnreadableDatabaseSaysSo() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    const auto before = dataFiles();
    QTemporaryDir other;
    makeOtherWedding(other.path(), QStringLiteral("לוי"), kNames);
    testsupport::openToEveryone({folder.path(), other.path()});
    QVERIFY(QFile::setPermissions(other.filePath("Wed.mdb"), QFile::Permissions()));
    prompts().answer(platform::vbYes);
    prompts().answerDialog(other.filePath("Wed.mdb"));
    prompts().answer(platform::vbOK);
    {
      testsupport::AsNobody nobody;
      w.mnuImportDB->trigger();
    }
    QCOMPARE(prompts().messages().last(),
             QStringLiteral("The Microsoft Jet database engine cannot open the file '%1'. It is already opened "
                            "exclusively by another user, or you need permission to view its data. (unable to open "
                            "database file)")
                 .arg(other.filePath("Wed.mdb")));
    QCOMPARE(prompts().shown().last().style, int(platform::vbExclamation));
    QCOMPARE(dialogs().size(), 1);
    QCOMPARE(dataFiles(), before);
  }

  // The settings file's backup name is taken by a folder: the settings step
  // fails after Wed.mdb was replaced. The list shows the imported wedding,
  // the message says what came in, and no retry touches the only copy of
  // the replaced wedding in Wed.mdb.old.
  void anImportWhoseSettingsCannotFollowKeepsTheOldWedding() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    const QByteArray originalDb = readFile(DatabaseFile()), originalIni = readFile(IniFile());
    QVERIFY(QDir(folder.path()).mkdir("pelmora.ini.old"));
    QTemporaryDir first, second;
    makeOtherWedding(first.path(), QStringLiteral("לוי"), kFirstSettings);
    makeOtherWedding(second.path(), QStringLiteral("מזרחי"), kSecondSettings);
    const QString databaseOnly = QStringLiteral("!מבנה הנתונים יובא, אך קובץ ההגדרות לא יובא") + g_NewLine +
                                "Path/File access error";
    for (const QTemporaryDir* dir : {&first, &second}) {
      QCOMPARE(importFrom(dir->filePath("Wed.mdb"), dir->filePath("pelmora.ini")).last(), databaseOnly);
      QCOMPARE(prompts().shown().last().style, int(platform::vbExclamation));
      QCOMPARE(dataFiles(), (QMap<QString, QByteArray>{{"Wed.mdb", readFile(dir->filePath("Wed.mdb"))},
                                                       {"Wed.mdb.old", originalDb},
                                                       {"pelmora.ini", originalIni}}));
      QCOMPARE(cell(1, 0), dir == &first ? QStringLiteral("לוי") : QStringLiteral("מזרחי"));
    }

    // With the folder gone the retry goes through; the backups still hold
    // the wedding that was there before the first try.
    QVERIFY(QDir(folder.path()).rmdir("pelmora.ini.old"));
    QCOMPARE(importFrom(first.filePath("Wed.mdb"), first.filePath("pelmora.ini")).last(), kImportOk);
    QCOMPARE(dataFiles(), (QMap<QString, QByteArray>{{"Wed.mdb", readFile(first.filePath("Wed.mdb"))},
                                                     {"Wed.mdb.old", originalDb},
                                                     {"pelmora.ini", kFirstSettings},
                                                     {"pelmora.ini.old", originalIni}}));

    // A whole import after that is an ordinary one again: the backup follows.
    QCOMPARE(importFrom(second.filePath("Wed.mdb"), second.filePath("pelmora.ini")).last(), kImportOk);
    QCOMPARE(readFile(DatabaseFile() + ".old"), readFile(first.filePath("Wed.mdb")));
  }

  // A database whose latest changes sit in its write-ahead log, held by a
  // tool that never checkpoints: an import takes what every reader sees,
  // and what lands needs no log beside it.
  void importTakesTheChangesStillInTheLog() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    QTemporaryDir other;
    writeFile(other.filePath("pelmora.ini"), kNames);

    // The whole wedding in the log, the main file without a table.
    makeOtherWedding(other.path(), QStringLiteral("לוי"), kNames);
    writeFile(other.filePath("inlog.mdb"), QByteArray());
    {
      testsupport::OtherConnection tool(other.filePath("inlog.mdb"));
      copyIntoLog(tool, other.filePath("Wed.mdb"));
      QVERIFY(QFileInfo(other.filePath("inlog.mdb-wal")).size() > 0);
      agreeToImport(other.filePath("inlog.mdb"), other.filePath("pelmora.ini"));
      w.mnuImportDB->trigger();
        QCOMPARE(prompts().messages().last(), kImportOk);
      QCOMPARE(cell(1, 0), QStringLiteral("לוי"));
      verifyPlainDatabase(DatabaseFile());
    }

    // One invitation in the main file, five more in the log.
    testsupport::OtherConnection tool(other.filePath("Wed.mdb"));
    QVERIFY(tool.keepChangesInLog());
    for (int i = 0; i < 5; ++i) {
      QCOMPARE(tool.exec("INSERT INTO PELMORA SELECT * FROM PELMORA WHERE rowid = 1"), SQLITE_OK);
      QCOMPARE(tool.exec(QStringLiteral("UPDATE PELMORA SET FAMILY_NAME = 'משפחה %1' WHERE rowid = last_insert_rowid()")
                             .arg(i)),
               SQLITE_OK);
    }
    QCOMPARE(importFrom(other.filePath("Wed.mdb"), other.filePath("pelmora.ini")).last(), kImportOk);
    QCOMPARE(testsupport::readInvitations().size(), 6);
    QCOMPARE(w.MSFlexGrid1->Rows(), 7);
    verifyPlainDatabase(DatabaseFile());

    // An export takes the program's own database the same way, here with a
    // row that the tool left in the log.
    QTemporaryDir out;
    {
      testsupport::OtherConnection ownTool(DatabaseFile());
      QVERIFY(ownTool.keepChangesInLog());
      QCOMPARE(ownTool.exec("DELETE FROM PELMORA WHERE FAMILY_NAME = 'משפחה 0'"), SQLITE_OK);
      QCOMPARE(exportAs(out.filePath("Wed.mdb"), out.filePath("pelmora.ini")), QStringList{kExportOk});
    }
    verifyPlainDatabase(out.filePath("Wed.mdb"));
    QCOMPARE(testsupport::readInvitations(out.filePath("Wed.mdb")).size(), 5);
  }

  // Neither a link in the export folder nor a typed name lands a copy on the
  // program's own data files.
  void exportNeverLandsOnTheProgramsOwnFiles() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    writeFile(DatabaseFile() + ".old", "earlier backup");
    const auto before = dataFiles();
    const QString ownFile = QStringLiteral("הקובץ שנבחר הוא קובץ הנתונים של התוכנה עצמה. יש לבחור קובץ בתיקייה אחרת.");
    QTemporaryDir out;
    QVERIFY(QFile::link(DatabaseFile(), out.filePath("pelmora.ini")));
    QVERIFY(QFile::link(IniFile(), out.filePath("Wed.mdb")));
    const QStringList exported = {out.filePath("copy.mdb"), out.filePath("pelmora.ini"), out.filePath("Wed.mdb"),
                                  folder.file("Wed.mdb"), folder.file("pelmora.ini")};
    for (const QString& target : exported.mid(1)) {
      prompts().clearShown();
      if (target.endsWith(".ini")) prompts().answerDialog(exported[0]);
      prompts().answerDialog(target);
      prompts().answer(platform::vbOK);
      w.mnuExportDB->trigger();
      QCOMPARE(prompts().messages(), QStringList{ownFile});
      QCOMPARE(dataFiles(), before);
      QFile::remove(exported[0]);
    }
  }

  void importOfAFileThatIsNoWeddingDatabaseReplacesNothing() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    const QByteArray originalDb = readFile(DatabaseFile()), originalIni = readFile(IniFile());
    QTemporaryDir other;
    writeFile(other.filePath("text.mdb"), "not a database");
    testsupport::makeWeddingDb(other.filePath("whole.mdb"));
    testsupport::addInvitation(guest(QStringLiteral("לוי"), QStringLiteral("רון")), other.filePath("whole.mdb"));
    writeFile(other.filePath("truncated.mdb"), readFile(other.filePath("whole.mdb")).left(5000));
    {
      auto db = dao::DBEngine::instance().CreateDatabase(other.filePath("foreign.mdb"), dao::dbLangGeneral, 0);
      auto t = db->CreateTableDef("GUESTS");
      t->Fields().Append(t->CreateField("NAME", dao::dbText, 20));
      db->TableDefs().Append(t);
      db->Close();
    }
    for (const QString name : {"text.mdb", "truncated.mdb", "foreign.mdb"}) {
      const QByteArray source = readFile(other.filePath(name));
      prompts().clearShown();
      prompts().answer(platform::vbYes);
      prompts().answerDialog(other.filePath(name));
      prompts().answer(platform::vbOK);
      w.mnuImportDB->trigger();
      QCOMPARE(prompts().messages().size(), 2);
      QVERIFY2(prompts().messages().last().startsWith(QStringLiteral("הקובץ שנבחר אינו מבנה נתונים")), qPrintable(name));
      QCOMPARE(prompts().shown().last().style, int(platform::vbExclamation));
      QCOMPARE(dialogs().size(), 1);  // the settings file is not offered
      QVERIFY(!platform::ProgramHasEnded());
      QCOMPARE(readFile(DatabaseFile()), originalDb);
      QCOMPARE(readFile(IniFile()), originalIni);
      QCOMPARE(readFile(other.filePath(name)), source);
      QVERIFY(!QFile::exists(DatabaseFile() + ".old"));
    }
    // The wedding is still there, and the next start finds it.
    frmPelmora::Default().InitList(g_GroupName, g_SortField);
    QCOMPARE(cell(1, 0), QStringLiteral("כהן"));
  }

  void secondDialogStartsInTheFirstOnesFolderAndOwnFilesAreRefused() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    const QByteArray originalIni = readFile(IniFile());
    QTemporaryDir out;

    // Export: Enter in the second dialog takes the preselected name, in the
    // folder of the first choice.
    prompts().answerDialog(out.filePath("Wed.mdb"));
    prompts().answerDialog("pelmora.ini");
    prompts().answer(platform::vbOK);
    w.mnuExportDB->trigger();
    QCOMPARE(prompts().messages(), QStringList{kExportOk});
    QCOMPARE(readFile(out.filePath("pelmora.ini")), originalIni);
    QCOMPARE(w.CommonDialog1.InitDir, QString());  // the dialog's folder is back as it was

    // Import the same way: the other wedding's settings come in.
    writeFile(out.filePath("pelmora.ini"), kFirstSettings);
    QCOMPARE(importFrom(out.filePath("Wed.mdb"), "pelmora.ini").last(), kImportOk);
    QCOMPARE(readFile(IniFile()), kFirstSettings);
    QCOMPARE(readFile(IniFile() + ".old"), originalIni);

    // The program's own file as target or source is refused.
    const QString ownFile = QStringLiteral("הקובץ שנבחר הוא קובץ הנתונים של התוכנה עצמה. יש לבחור קובץ בתיקייה אחרת.");
    const QByteArray db = readFile(DatabaseFile()), oldBackup = readFile(DatabaseFile() + ".old");
    prompts().clearShown();
    prompts().answerDialog(DatabaseFile());
    prompts().answer(platform::vbOK);
    w.mnuExportDB->trigger();
    QCOMPARE(prompts().messages(), QStringList{ownFile});
    prompts().clearShown();
    prompts().answer(platform::vbYes);
    prompts().answerDialog(folder.file("Wed.mdb"));
    prompts().answer(platform::vbOK);
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().messages().last(), ownFile);
    QCOMPARE(readFile(DatabaseFile()), db);
    QCOMPARE(readFile(DatabaseFile() + ".old"), oldBackup);
  }

  void exportWithTheRealDialogsKeepsToTheChosenFolder() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    QTemporaryDir out;
    platform::PromptScript::instance().deactivate();
    struct Reactivate {
      ~Reactivate() { platform::PromptScript::instance().activate(); }
    } reactivate;
    QString secondFolder, message;
    whenShown<QFileDialog>([&](QFileDialog* first) {
      first->selectFile(out.filePath("Wed.mdb"));
      QTest::keyClick(first, Qt::Key_Return);
      whenShown<QFileDialog>([&](QFileDialog* second) {
        secondFolder = second->directory().absolutePath();
        QTest::keyClick(second, Qt::Key_Return);  // the preselected pelmora.ini
        whenShown<QMessageBox>([&](QMessageBox* box) {
          message = box->text();
          box->accept();
        });
      });
    });
    w.mnuExportDB->trigger();
    QCOMPARE(secondFolder, QDir(out.path()).absolutePath());
    QCOMPARE(message, kExportOk);
    QCOMPARE(readFile(out.filePath("pelmora.ini")), readFile(IniFile()));
    QCOMPARE(readFile(out.filePath("Wed.mdb")), readFile(DatabaseFile()));
  }

  void anOpenBudgetWindowWorksOnTheImportedFile() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    frmBudget::Default().show();
    QTemporaryDir other;
    makeOtherWedding(other.path(), QStringLiteral("לוי"), kNames);
    const QByteArray before = readFile(DatabaseFile());

    // An amount typed but not stored: the budget asks before it lets go of
    // the file; Cancel keeps the window, and with it the file, so nothing is
    // imported.
    frmBudget::Default().txtBudgetBranch[3]->setText("700");
    prompts().answer(platform::vbYes);
    prompts().answer(platform::vbCancel);
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().messages().size(), 2);
    QCOMPARE(prompts().shown().last().style, int(platform::vbYesNoCancel | platform::vbQuestion));
    QVERIFY(frmBudget::IsLoaded());
    QCOMPARE(frmBudget::Default().txtBudgetBranch[3]->text(), QStringLiteral("700"));
    QCOMPARE(readFile(DatabaseFile()), before);

    // No: the amount is dropped and the import goes on.
    prompts().clearShown();
    prompts().answer(platform::vbYes);
    prompts().answer(platform::vbNo);
    prompts().answerDialog(other.filePath("Wed.mdb"));
    prompts().answerDialog(other.filePath("pelmora.ini"));
    prompts().answer(platform::vbOK);
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().messages().last(), kImportOk);
    QVERIFY(frmBudget::IsLoaded());
    frmBudget& budget = frmBudget::Default();
    budget.txtBudgetBranch[0]->setText("1500");
    prompts().clearShown();
    QTest::mouseClick(budget.cmdUpdate, Qt::LeftButton);
    QVERIFY2(prompts().messages().isEmpty(), qPrintable(prompts().messages().join('|')));
    auto db = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
    auto rs = db->OpenRecordset("select * from WED_BUDGET");
    QVERIFY(!rs->Eof());
    QCOMPARE(rs->Fields("B_DRESS").Value().value<vb::Currency>().toString(), QStringLiteral("1500"));
    db->Close();
  }

  void importedFilesAreWritableWhateverTheSourcesMode() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    const auto usual = QFile::permissions(DatabaseFile());
    QTemporaryDir backup;
    makeOtherWedding(backup.path(), QStringLiteral("לוי"), kNames);
    // Read-only and private: neither the mode nor the missing read bits of
    // others may carry over (as root, write access alone would not show it).
    const auto readOnly = QFile::ReadOwner | QFile::ReadUser;
    QFile::setPermissions(backup.filePath("Wed.mdb"), readOnly);
    QFile::setPermissions(backup.filePath("pelmora.ini"), readOnly);
    agreeToImport(backup.filePath("Wed.mdb"), backup.filePath("pelmora.ini"));
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().messages().last(), kImportOk);
    QCOMPARE(QFile::permissions(DatabaseFile()), usual);
    QCOMPARE(QFile::permissions(IniFile()), usual);
    QCOMPARE(cell(1, 0), QStringLiteral("לוי"));
  }

  // Exports to where users carry their files: a FAT or exFAT stick, which has
  // no hard links, and file names as long as the file system allows.
  void aStickWithoutHardLinksTakesTheExport() {
    testsupport::ProgramFolder folder;
    loadMainWindow();
    QTemporaryDir stick;
    platform::filefaults::RefuseHardLinks();
    const QString db = stick.filePath("Wed.mdb"), ini = stick.filePath("pelmora.ini");
    QCOMPARE(exportAs(db, ini), QStringList{kExportOk});
    QCOMPARE(readFile(db), readFile(mdlWedding::DatabaseFile()));
    QCOMPARE(readFile(ini), readFile(mdlWedding::IniFile()));

    // Where the kernel lacks the rename that never replaces, a hard link
    // does it; a file that is there is still only replaced when asked.
    platform::filefaults::Clear();
    platform::filefaults::NoExclusiveRename();
    const QString db2 = stick.filePath("second.mdb"), ini2 = stick.filePath("second.ini");
    QCOMPARE(exportAs(db2, ini2), QStringList{kExportOk});
    QCOMPARE(readFile(db2), readFile(mdlWedding::DatabaseFile()));
    testsupport::writeFile(ini2, "kept");
    prompts().clearShown();
    prompts().answerDialog(stick.filePath("third.mdb"));
    prompts().answerDialog(ini2);
    prompts().answer(platform::vbNo);
    frmPelmora::Default().mnuExportDB->trigger();
    QCOMPARE(prompts().messages().size(), 1);
    QCOMPARE(readFile(ini2), QByteArray("kept"));
    QCOMPARE(QDir(stick.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);  // no temporary file left
  }

  void aNameAsLongAsTheFileSystemAllows() {
    testsupport::ProgramFolder folder;
    loadMainWindow();
    QTemporaryDir out;
    // 255 bytes: 125 Hebrew letters of two bytes each and ".mdb".
    const QString name = QString(125, QChar(0x05D0)) + QStringLiteral(".mdb");
    QCOMPARE(QFile::encodeName(name).size(), 254);
    const QString db = out.filePath(name + u'x'), ini = out.filePath(QString(251, u'i') + QStringLiteral(".ini"));
    QCOMPARE(exportAs(db, ini), QStringList{kExportOk});
    QCOMPARE(readFile(db), readFile(mdlWedding::DatabaseFile()));
    QCOMPARE(readFile(ini), readFile(mdlWedding::IniFile()));
  }
};

PELMORA_TEST(ExportTest)
#include "tst_export.moc"
