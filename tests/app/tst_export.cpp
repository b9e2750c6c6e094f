// Export and import of Wed.mdb and pelmora.ini from the main window's menu:
// the dialogs, the overwrite question, the .old backups, the reload after an
// import and the messages, checked on disk.
#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include "app/mdlWedding.h"
#include "guestlist/guestlist_fixture.h"
#include "platform/listview.h"
#include "platform/msgbox.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

using namespace mdlWedding;
using platform::Prompt;
using testsupport::prompts;

namespace {

const QString kExportOk = QStringLiteral(".פעולת יצוא מבנה הנתונים הצליחה");
const QString kImportOk = QStringLiteral(".פעולת יבוא מבנה הנתונים הצליחה");
const QString kDbFilterOut = QStringLiteral("Microsoft Database (*.mdb)|*.mdb");
const QString kIniFilterOut = QStringLiteral("Windows Ini - File (*.ini)|*.ini");
const QString kDbFilterIn = QStringLiteral("Microsoft Database (*.mdb)|*.mdb|Backup File (*.old)|*.old");
const QString kIniFilterIn = QStringLiteral("Windows Ini - File (*.ini)|*.ini|Backup File (*.old)|*.old");

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(data);
}

QVector<Prompt> dialogs() {
  QVector<Prompt> out;
  for (const Prompt& p : prompts().shown())
    if (p.kind == Prompt::FileDialog) out << p;
  return out;
}

QString overwriteQuestion(const QString& path) {
  return QStringLiteral("?") + path + QStringLiteral(" האם ברצונך לשכתב");
}

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

    prompts().clearShown();
    prompts().answerDialog(db);
    prompts().answerDialog(ini);
    prompts().answer(platform::vbOK);
    w.mnuExportDB->trigger();
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
    prompts().answer(platform::vbYes);
    prompts().answer(platform::vbOK);
    w.mnuExportDB->trigger();
    const QStringList msgs = prompts().messages();
    QCOMPARE(msgs.size(), 2);
    QCOMPARE(msgs[0], overwriteQuestion(nowhere));
    QVERIFY(msgs[1] != kExportOk);
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
    makeOtherWedding(first.path(), QStringLiteral("לוי"), "[Print]\r\nFrame=True\r\n");
    makeOtherWedding(second.path(), QStringLiteral("מזרחי"), "[Print]\r\nFrame=False\r\n");

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
    QCOMPARE(readFile(IniFile()), QByteArray("[Print]\r\nFrame=True\r\n"));
    QCOMPARE(readFile(IniFile() + ".old"), originalIni);
    QCOMPARE(cell(1, 0), QStringLiteral("לוי"));  // the list shows the imported wedding
    QCOMPARE(g_TableViewMode, quint8(1));
    QVERIFY(frmTableMap::Default().popTableMap->isChecked());
    QCOMPARE(frmTableMap::Default().lvwTable->View(), platform::ListView::lvwIcon);

    // A second import replaces the first backups by the files imported first.
    prompts().clearShown();
    agreeToImport(second.filePath("Wed.mdb"), second.filePath("pelmora.ini"));
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().messages().last(), kImportOk);
    QCOMPARE(readFile(DatabaseFile() + ".old"), readFile(first.filePath("Wed.mdb")));
    QCOMPARE(readFile(IniFile() + ".old"), QByteArray("[Print]\r\nFrame=True\r\n"));
    QCOMPARE(cell(1, 0), QStringLiteral("מזרחי"));

    // Choosing the program folder's own backups brings the first wedding back.
    prompts().clearShown();
    agreeToImport(DatabaseFile() + ".old", IniFile() + ".old");
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().messages().last(), kImportOk);
    QCOMPARE(readFile(DatabaseFile()), readFile(first.filePath("Wed.mdb")));
    QCOMPARE(readFile(DatabaseFile() + ".old"), readFile(second.filePath("Wed.mdb")));
    QCOMPARE(readFile(IniFile()), QByteArray("[Print]\r\nFrame=True\r\n"));
    QCOMPARE(readFile(IniFile() + ".old"), QByteArray("[Print]\r\nFrame=False\r\n"));
    QCOMPARE(cell(1, 0), QStringLiteral("לוי"));
    QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    files.sort();
    QCOMPARE(files, QStringList({"Wed.mdb", "Wed.mdb.old", "pelmora.ini", "pelmora.ini.old"}));
  }

  void importThatEndsEarly() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    const QByteArray originalDb = readFile(DatabaseFile()), originalIni = readFile(IniFile());
    QTemporaryDir other;
    makeOtherWedding(other.path(), QStringLiteral("לוי"), "[Print]\r\n");

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

    // Cancelling the settings file's dialog: the new database and its backup
    // stay, the settings file is untouched and the list is not reloaded.
    prompts().clearShown();
    prompts().answer(platform::vbYes);
    prompts().answerDialog(other.filePath("Wed.mdb"));
    prompts().cancelDialog();
    w.mnuImportDB->trigger();
    QCOMPARE(prompts().messages().size(), 1);  // the warning only
    QCOMPARE(dialogs().size(), 2);
    QCOMPARE(readFile(DatabaseFile()), readFile(other.filePath("Wed.mdb")));
    QCOMPARE(readFile(DatabaseFile() + ".old"), originalDb);
    QCOMPARE(readFile(IniFile()), originalIni);
    QVERIFY(!QFile::exists(IniFile() + ".old"));
    QCOMPARE(cell(1, 0), QStringLiteral("כהן"));
  }

  void importOfAFileThatIsNoDatabaseEndsTheProgram() {
    testsupport::ProgramFolder folder;
    frmPelmora& w = loadMainWindow({guest(QStringLiteral("כהן"), QStringLiteral("דוד"))});
    const QByteArray originalDb = readFile(DatabaseFile());
    QTemporaryDir other;
    writeFile(other.filePath("Wed.mdb"), "not a database");
    writeFile(other.filePath("pelmora.ini"), "[Print]\r\n");
    prompts().answer(platform::vbYes);
    prompts().answerDialog(other.filePath("Wed.mdb"));
    prompts().answerDialog(other.filePath("pelmora.ini"));
    prompts().answer(platform::vbOK);  // the upgrade's critical error
    MapPositionsQuestionAnsweredNo positions;
    w.mnuImportDB->trigger();
    QVERIFY(platform::ProgramHasEnded());
    QVERIFY(prompts().messages().at(1).startsWith(QStringLiteral("!ארעה שגיאה קריטית בתהליך שדרוג התוכנה")));
    QCOMPARE(readFile(DatabaseFile() + ".old"), originalDb);  // the user's wedding is kept aside
  }
};

PELMORA_TEST(ExportTest)
#include "tst_export.moc"
