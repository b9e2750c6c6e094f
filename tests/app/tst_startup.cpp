// Program start: the first run, the move of old per-user settings, creating and
// upgrading Wed.mdb, bad files, and the splash.
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QComboBox>
#include <QtTest>

#include <QGuiApplication>
#include <QScreen>

#include "app/frmSplash.h"
#include "app/mdlFileINI.h"
#include "app/mdlWedding.h"
#include "app/wedding_schema.h"
#include "guestlist/frmPelmora.h"
#include "platform/dao.h"
#include "platform/forms.h"
#include "platform/ini.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/vb.h"
#include "platform/vberror.h"
#include "seating/frmTableMap.h"
#include "platform/dao_faults.h"
#include "support/asnobody.h"
#include "support/files.h"
#include "support/otherconnection.h"
#include "support/realprogram.h"
#include "support/testsupport.h"
#include "support/weddingdb.h"

using namespace mdlWedding;
using testsupport::prompts;
using testsupport::readFile;

namespace {

const QString kCreated = QStringLiteral("תהליך יצירת מבנה הנתונים הסתיים בהצלחה.");
const QString kUpgraded = QStringLiteral("תהליך שידרוג מבנה הנתונים הסתיים בהצלחה.");
const QString kNotStored = QStringLiteral("!ההגדרות לא נשמרו");

QStringList fieldNames(const QString& table) {
  auto db = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
  QStringList names;
  auto& t = db->TableDefs()(table);
  for (int i = 0; i < t.Fields().Count(); ++i) names << t.Fields()[i].Name();
  db->Close();
  return names;
}

// Starts the program as Main does and reports whether it kept running.
bool startProgram() {
  const bool running = Main();
  testsupport::processEvents();
  return running;
}

// Every file of the folder (its hidden ones too) with its bytes.
QMap<QString, QByteArray> folderFiles(const QString& folder) {
  QMap<QString, QByteArray> files;
  for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
    files[name] = readFile(folder + '/' + name);
  return files;
}

}  // namespace

// The three names as an old version kept them in the per-user settings.
void saveLegacyNames() {
  platform::SaveSetting("Pelmora", "Options", "Couple", "יוסי ומיכל");
  platform::SaveSetting("Pelmora", "Options", "His Family", "משפחת אברהם");
  platform::SaveSetting("Pelmora", "Options", "Her Family", "משפחת יצחק");
}

// Options with names and a database holding one guest, Cohen.
void writeWeddingWithOneGuest() {
  testsupport::writeOptions();
  testsupport::makeWeddingDb();
  testsupport::Invitation guest{QStringLiteral("דני"), QStringLiteral("כהן"), 2, 1, 1};
  guest.remark = guest.phones = QString("");
  testsupport::addInvitation(guest);
}

class StartupTest : public QObject {
  Q_OBJECT
 private slots:
  void firstStartInEmptyFolder() {
    testsupport::ProgramFolder folder;
    vb::SetTodayForTests(QDate(2027, 3, 14));  // one day, whenever the run crosses midnight
    prompts().answer(platform::vbOK);  // the creation message
    QVERIFY(startProgram());
    QCOMPARE(prompts().messages(), QStringList{kCreated});
    QVERIFY(QFile::exists(DatabaseFile()));
    QVERIFY(!QFile::exists(DatabaseFile() + ".new"));

    // Seven Options keys in order, with the default names; no groups, no print keys.
    const QByteArray ini = readFile(IniFile());
    const QString text = platform::cp1255::decode(ini);
    const QString expected = "[Options]\r\nCouple=שמות בני הזוג\r\nHis Family=משפחת החתן\r\n"
                             "Her Family=משפחת הכלה\r\nNumOfGroups=0\r\nMax Tables=100\r\n"
                             "Max Chairs=15\r\nWedding Date=" + vb::DateText(QDate(2027, 3, 14)) + "\r\n";
    QCOMPARE(text, expected);
    QVERIFY(ini.contains("\xf9\xee\xe5\xfa"));  // "שמות" in Windows-1255

    QCOMPARE(fieldNames("PELMORA").size(), 13);
    QCOMPARE(fieldNames("WED_BUDGET").size(), 30);
    QVERIFY(testsupport::readInvitations().isEmpty());

    // The options window opens once, on the first tick after the start.
    QVERIFY(g_FirstRun);
    bool opened = false;
    prompts().onModal([&](QWidget* w) {
      opened = true;
      w->close();
    });
    frmPelmora::Default().tmrDelay_Timer();
    QVERIFY(opened);
    QVERIFY(!g_FirstRun);
    frmPelmora::Default().tmrDelay_Timer();  // nothing more: no script needed

    // The next start shows nothing and is no first run.
    platform::Forms::DestroyAll();
    testsupport::processEvents();
    ResetState();
    QVERIFY(startProgram());
    QVERIFY(!g_FirstRun);
    QCOMPARE(prompts().messages().size(), 1);
  }

  void legacySettingsMovedOnce() {
    testsupport::ProgramFolder folder;
    saveLegacyNames();
    platform::SaveSetting("Pelmora", "Options", "Max Tables", "40");
    platform::SaveSetting("Pelmora", "Print", "Label Frame", "True");
    platform::SaveSetting("Pelmora", "Print", "Label Color", "255");
    testsupport::makeWeddingDb();
    QVERIFY(startProgram());
    QVERIFY(g_FirstRun);
    const QString ini = IniFile();
    QCOMPARE(platform::GetPrivateProfileString("Options", "Couple", "", ini), QStringLiteral("יוסי ומיכל"));
    QCOMPARE(platform::GetPrivateProfileString("Options", "Max Tables", "", ini), QStringLiteral("40"));
    QCOMPARE(platform::GetPrivateProfileString("Options", "Max Chairs", "", ini), QStringLiteral("15"));
    QCOMPARE(platform::GetPrivateProfileString("Print", "Label Address", "", ini), QStringLiteral("True"));
    QCOMPARE(platform::GetPrivateProfileString("Print", "Label Frame", "", ini), QStringLiteral("True"));
    QCOMPARE(platform::GetPrivateProfileString("Print", "Label Color", "", ini), QStringLiteral("255"));
    QVERIFY(!platform::SettingSectionExists("Pelmora", "Options"));
    QVERIFY(!platform::SettingSectionExists("Pelmora", "Print"));
    QCOMPARE(int(g_MaxTables), 40);

    platform::Forms::DestroyAll();
    testsupport::processEvents();
    ResetState();
    QVERIFY(startProgram());
    QVERIFY(!g_FirstRun);
    QCOMPARE(g_Couple, QStringLiteral("יוסי ומיכל"));
  }

  void emptyCoupleKeepsStoredGroupsAndLimits() {
    testsupport::ProgramFolder folder;
    testsupport::makeWeddingDb();
    testsupport::writeOptions(30, 10, "");
    const QString ini = IniFile();
    const QString hisFamily = platform::GetPrivateProfileString("Options", "His Family", "", ini);
    QVERIFY(!hisFamily.isEmpty());
    platform::WritePrivateProfileString("Options", "NumOfGroups", "5", ini);
    for (int i = 0; i < 5; ++i)
      platform::WritePrivateProfileString("UserGroups", "Group-" + QString::number(i), "קבוצה " + QString::number(i), ini);
    QVERIFY(startProgram());
    QVERIFY(g_FirstRun);  // the options window still opens once
    QCOMPARE(g_Couple, QStringLiteral("שמות בני הזוג"));
    QCOMPARE(g_HisFamily, hisFamily);
    QCOMPARE(int(g_NumOfGroups), 5);
    QCOMPARE(int(g_MaxTables), 30);
    QCOMPARE(int(g_MaxChairs), 10);
    QCOMPARE(platform::GetPrivateProfileString("Options", "Couple", "", ini), QStringLiteral("שמות בני הזוג"));
    QCOMPARE(platform::GetPrivateProfileString("Options", "NumOfGroups", "", ini), QStringLiteral("5"));
    QCOMPARE(platform::GetPrivateProfileString("Options", "Max Tables", "", ini), QStringLiteral("30"));
    QCOMPARE(platform::GetPrivateProfileString("UserGroups", "Group-4", "none", ini), QStringLiteral("קבוצה 4"));
    QCOMPARE(frmPelmora::Default().cmbUserGroups->count(), 6);
  }

  void oldSettingsStayUntilTheFileHoldsThem() {
    testsupport::ProgramFolder folder;
    saveLegacyNames();
    platform::SaveSetting("Pelmora", "Print", "Label Color", "255");
    testsupport::makeWeddingDb();
    // A folder where pelmora.ini should be: no write can succeed, and the user
    // is told so once.
    QVERIFY(QDir().mkdir(IniFile()));
    testsupport::prompts().answer(platform::vbOK);
    QVERIFY(startProgram());
    QCOMPARE(testsupport::prompts().messages().size(), 1);
    QVERIFY(testsupport::prompts().messages().first().startsWith(QStringLiteral("!ההגדרות לא נשמרו")));
    QVERIFY(QFileInfo(IniFile()).isDir());
    QVERIFY(platform::SettingSectionExists("Pelmora", "Options"));
    QVERIFY(platform::SettingSectionExists("Pelmora", "Print"));

    // Once the file can be written, the next start moves them.
    platform::Forms::DestroyAll();
    testsupport::processEvents();
    ResetState();
    QVERIFY(QDir().rmdir(IniFile()));
    QVERIFY(startProgram());
    QCOMPARE(platform::GetPrivateProfileString("Options", "Couple", "", IniFile()), QStringLiteral("יוסי ומיכל"));
    QCOMPARE(platform::GetPrivateProfileString("Print", "Label Color", "", IniFile()), QStringLiteral("255"));
    QVERIFY(!platform::SettingSectionExists("Pelmora", "Options"));
    QVERIFY(!platform::SettingSectionExists("Pelmora", "Print"));
  }

  void filesInOtherLetterCaseAreTheProgramsOwn() {
    testsupport::ProgramFolder folder;
    testsupport::makeWeddingDb();
    testsupport::Invitation guest{QStringLiteral("דני"), QStringLiteral("כהן"), 2, 1, 1};
    guest.remark = guest.phones = guest.address = guest.present = QString("");
    testsupport::addInvitation(guest);
    testsupport::writeOptions(40);
    QVERIFY(QFile::rename(folder.file("Wed.mdb"), folder.file("WED.MDB")));
    QVERIFY(QFile::rename(folder.file("pelmora.ini"), folder.file("PELMORA.INI")));
    QVERIFY(startProgram());
    QVERIFY(!g_FirstRun);
    QCOMPARE(int(g_MaxTables), 40);
    QCOMPARE(frmPelmora::Default().MSFlexGrid1->TextMatrix(1, 0), QStringLiteral("כהן"));
    QStringList files = QDir(folder.path()).entryList(QDir::Files);
    files.sort();
    QCOMPARE(files, QStringList({"PELMORA.INI", "WED.MDB"}));
  }

  void garbageOptionsFallBack() {
    testsupport::ProgramFolder folder;
    vb::SetTodayForTests(QDate(2027, 3, 14));
    testsupport::makeWeddingDb();
    testsupport::writeOptions();
    const QString ini = IniFile();
    platform::WritePrivateProfileString("Options", "Max Tables", "many", ini);
    platform::WritePrivateProfileString("Options", "Max Chairs", "300", ini);
    platform::WritePrivateProfileString("Options", "NumOfGroups", "-1", ini);
    platform::WritePrivateProfileString("Options", "Wedding Date", "next summer", ini);
    QVERIFY(startProgram());
    // Values that do not convert leave the variables as they were (0 at the first load).
    QCOMPARE(int(g_MaxTables), 0);
    QCOMPARE(int(g_MaxChairs), 0);
    QCOMPARE(int(g_NumOfGroups), 0);
    QCOMPARE(g_WeddingDate, QDateTime(QDate(2027, 3, 14), QTime(0, 0)));
    QCOMPARE(frmPelmora::Default().lblWeddingCount->text(), QStringLiteral("עוד 0 ימים לחתונה..."));
  }

  void olderFilesGainWhatTheyLack() {
    testsupport::ProgramFolder folder;
    testsupport::writeOptions();
    testsupport::makeOlderWeddingDb({"PRESENT"}, true);
    prompts().answer(platform::vbOK);
    QVERIFY(startProgram());
    QCOMPARE(prompts().messages(), QStringList{kUpgraded});
    QCOMPARE(fieldNames("PELMORA").last(), QStringLiteral("PRESENT"));
    const auto rows = testsupport::readInvitations();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0]["FAMILY_NAME"].toString(), QStringLiteral("כהן"));
    QVERIFY(rows[0]["PRESENT"].isNull());

    // Reloading the list finds everything in place: no second message.
    frmPelmora::Default().InitList(g_GroupName, g_SortField);
    QCOMPARE(prompts().messages().size(), 1);
  }

  void missingBudgetTableIsAdded() {
    testsupport::ProgramFolder folder;
    testsupport::writeOptions();
    testsupport::makeOlderWeddingDb({"ADDRESS", "PRESENT_TYPE", "PRESENT"}, false);
    prompts().answer(platform::vbOK);
    QVERIFY(startProgram());
    QCOMPARE(prompts().messages(), QStringList{kUpgraded});
    QCOMPARE(fieldNames("PELMORA").mid(10), (QStringList{"ADDRESS", "PRESENT_TYPE", "PRESENT"}));
    QCOMPARE(fieldNames("WED_BUDGET").size(), 30);
  }

  void lowerCaseAddressEndsTheProgram() {
    testsupport::ProgramFolder folder;
    testsupport::writeOptions();
    testsupport::makeOlderWeddingDb({"address"}, true);
    prompts().answer(platform::vbOK);
    QVERIFY(!startProgram());
    QVERIFY(platform::ProgramHasEnded());
    QCOMPARE(prompts().shown().size(), 1);
    const platform::Prompt p = prompts().shown().first();
    QVERIFY(p.text.startsWith(QStringLiteral("!ארעה שגיאה קריטית בתהליך שדרוג התוכנה") + "\r\n"));
    QCOMPARE(p.title, QStringLiteral("שדרוג גירסת תוכנה"));
    QCOMPARE(p.style, int(platform::vbCritical));
    QVERIFY(!frmPelmora::IsLoaded());
  }

  void badDatabaseFileIsLeftUntouched() {
    testsupport::ProgramFolder folder;
    testsupport::writeOptions();
    const QByteArray content = "This is my shopping list, not a database.\r\n";
    testsupport::writeFile(DatabaseFile(), content);
    prompts().answer(platform::vbOK);
    QVERIFY(!startProgram());
    QVERIFY(prompts().messages().first().startsWith(QStringLiteral("!ארעה שגיאה קריטית בתהליך שדרוג התוכנה")));
    QCOMPARE(readFile(DatabaseFile()), content);
  }

  void unusableDatabaseEndsInTheCriticalMessageAndStaysAsItWas() {
    const QString critical = QStringLiteral("!ארעה שגיאה קריטית בתהליך שדרוג התוכנה");
    auto startsAndEnds = [&](const QByteArray& before) {
      prompts().answer(platform::vbOK);
      QVERIFY(!startProgram());
      QVERIFY(platform::ProgramHasEnded());
      QCOMPARE(platform::ProgramExitCode(), 1);
      QCOMPARE(prompts().shown().size(), 1);
      QVERIFY(prompts().messages().first().startsWith(critical));
      QCOMPARE(prompts().shown().first().style, int(platform::vbCritical));
      QCOMPARE(readFile(DatabaseFile()), before);
    };
    {
      // The three fields of the upgrade are there; a field the program reads is not.
      testsupport::ProgramFolder folder;
      testsupport::writeOptions();
      testsupport::makeOlderWeddingDb({"TABLE_NO"}, true);
      startsAndEnds(readFile(DatabaseFile()));
    }
    {
      // Nothing is added to a file that cannot serve even after the upgrade.
      testsupport::ProgramFolder folder;
      testsupport::writeOptions();
      testsupport::makeOlderWeddingDb({"TABLE_NO", "ADDRESS"}, false);
      startsAndEnds(readFile(DatabaseFile()));
      QVERIFY(!fieldNames("PELMORA").contains("ADDRESS"));
    }
    {
      // One damaged data page among many good ones.
      testsupport::ProgramFolder folder;
      testsupport::writeOptions();
      testsupport::makeWeddingDb();
      {
        auto db = dao::DBEngine::instance().OpenDatabase(DatabaseFile());
        auto rs = db->OpenRecordset("select * from PELMORA");
        for (int i = 0; i < 800; ++i)
          testsupport::writeInvitation(*rs, {QStringLiteral("דני"), QStringLiteral("כהן %1").arg(i), 2, (i % 20) + 1, 1});
        db->Close();
      }
      QFile f(DatabaseFile());
      QVERIFY(f.open(QIODevice::ReadWrite));
      QVERIFY(f.size() >= 6 * 4096);
      QVERIFY(f.seek(f.size() - 2 * 4096));
      f.write(QByteArray(4096, '\x5a'));
      f.close();
      startsAndEnds(readFile(DatabaseFile()));
    }
  }

  void oneRunningCopyPerFolder() {
    testsupport::ProgramFolder folder;
    writeWeddingWithOneGuest();
    const QMap<QString, QByteArray> before = folderFiles(folder.path());

    // A first copy runs on the folder; a second start there says so and ends.
    testsupport::RealProgram first(QStringLiteral(PELMORA_BINARY), folder.path());
    QVERIFY(first.waitUntilHoldsFolder());
    prompts().answer(platform::vbOK);
    QVERIFY(!startProgram());
    QVERIFY(platform::ProgramHasEnded());
    QCOMPARE(platform::ProgramExitCode(), 1);
    QCOMPARE(prompts().shown().size(), 1);
    const platform::Prompt p = prompts().shown().first();
    QCOMPARE(p.text, QStringLiteral(".התוכנה כבר פתוחה מתיקייה זו"));
    QCOMPARE(p.style, int(platform::vbExclamation));
    QCOMPARE(p.title, platform::AppTitle());
    QVERIFY(!frmPelmora::IsLoaded());
    QVERIFY(!frmSplash::IsLoaded());
    QCOMPARE(folderFiles(folder.path()), before);
    QVERIFY(first.running());

    // A copy that was killed keeps nobody out.
    first.killHard();
    platform::ResetProgramEnd();
    ResetState();
    prompts().clearShown();
    QVERIFY(startProgram());
    QVERIFY(prompts().shown().isEmpty());
    QCOMPARE(frmPelmora::Default().MSFlexGrid1->TextMatrix(1, 0), QStringLiteral("כהן"));

    // Nor does this copy keep itself out when it starts again.
    platform::Forms::DestroyAll();
    testsupport::processEvents();
    ResetState();
    QVERIFY(startProgram());
    QVERIFY(prompts().shown().isEmpty());
  }

  // A pelmora.ini made read-only, in a folder its user may write: the first
  // run's names are not written over it, and the user is told.
  void aSettingsFileTheUserMayNotWriteIsLeftAlone() {
    testsupport::ProgramFolder folder;
    writeWeddingWithOneGuest();
    const QString ini = IniFile();
    const QByteArray protectedBytes = "[Options]\r\nMax Tables=30\r\n";
    testsupport::writeFile(ini, protectedBytes);
    QVERIFY(QFile::setPermissions(ini, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    testsupport::giveToNobody({folder.path(), ini, DatabaseFile(), folder.settingsRoot()});
    {
      testsupport::AsNobody nobody;
      QVERIFY(nobody.active());
      prompts().answer(platform::vbOK);
      QVERIFY(startProgram());
    }
    QCOMPARE(prompts().messages().size(), 1);
    QVERIFY(prompts().messages().first().startsWith(kNotStored + g_NewLine + ini));
    QCOMPARE(readFile(ini), protectedBytes);
    const auto modeBits = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup |
                          QFile::ReadOther | QFile::WriteOther;
    QCOMPARE(QFileInfo(ini).permissions() & modeBits, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  }

  // Per-user settings the user cannot read (another user's file) are not
  // replaced at close by a file holding only the placement.
  void settingsTheUserCannotReadAreNotReplacedAtClose() {
    testsupport::ProgramFolder folder;
    writeWeddingWithOneGuest();
    const QString conf = platform::SettingsFileName("Pelmora");
    QVERIFY(QDir().mkpath(QFileInfo(conf).absolutePath()));
    const QByteArray ports = "[Ports]\nCOM1=/dev/ttyACM0\n";
    testsupport::writeFile(conf, ports);
    QVERIFY(QFile::setPermissions(conf, QFile::ReadOwner | QFile::WriteOwner));
    testsupport::giveToNobody(
        {folder.path(), IniFile(), DatabaseFile(), folder.settingsRoot(), QFileInfo(conf).absolutePath()});
    {
      testsupport::AsNobody nobody;
      QVERIFY(nobody.active());
      QVERIFY(startProgram());
      prompts().answer(platform::vbCancel);  // the tables map's question
      prompts().answer(platform::vbOK);
      try {
        frmPelmora::Unload();
      } catch (const platform::ProgramEnd&) {
      }
    }
    QVERIFY(prompts().messages().contains(kNotStored + g_NewLine + conf));
    QCOMPARE(readFile(conf), ports);
  }

  // What writes cut short left behind goes at the next start; nothing else does.
  void leftoversOfInterruptedWritesGoAtStart() {
    testsupport::ProgramFolder folder;
    writeWeddingWithOneGuest();
    const QString settings = QFileInfo(platform::SettingsFileName("Pelmora")).absolutePath();
    QVERIFY(QDir().mkpath(settings));
    const QStringList ours = {folder.file(".pelmora.ini.aB3dEf"), folder.file(".Wed.mdb.QwErTy"),
                              folder.file(".Wed.mdb.old.zzZZ09"), settings + "/.Pelmora.conf.XyZabc",
                              settings + "/Pelmora.conf.KLmnop"};
    const QStringList others = {folder.file(".pelmora.ini.abcdefg"), folder.file("pelmora.ini.aB3dEf"),
                                folder.file(".Wed.mdb.ab"), folder.file(".notes.txt.aB3dEf"),
                                folder.file("Wed.mdb.old"), settings + "/.Other.conf.XyZabc",
                                settings + "/Pelmora.conf.backup", folder.file(".pelmora.ini.202612")};
    for (const QString& path : ours + others) testsupport::writeFile(path, "x");
    QVERIFY(startProgram());
    for (const QString& path : ours) QVERIFY2(!QFileInfo::exists(path), qPrintable(path));
    for (const QString& path : others) QVERIFY2(QFileInfo::exists(path), qPrintable(path));
  }

  void aBusyDatabaseAtStartIsWaitedFor() {
    testsupport::ProgramFolder folder;
    writeWeddingWithOneGuest();
    const QMap<QString, QByteArray> before = folderFiles(folder.path());

    // Another program holds the file in a write transaction.
    testsupport::OtherConnection other(DatabaseFile());
    QCOMPARE(other.exec("BEGIN EXCLUSIVE"), SQLITE_OK);
    QCOMPARE(other.exec("UPDATE PELMORA SET INV_NUM = 9"), SQLITE_OK);

    // Told with the engine's message; Cancel ends the start, every file as it was.
    prompts().answer(platform::vbCancel);
    QVERIFY(!startProgram());
    QCOMPARE(prompts().shown().size(), 1);
    QVERIFY2(prompts().shown().first().text.contains(QStringLiteral("already in use")),
             qPrintable(prompts().shown().first().text));
    QCOMPARE(prompts().shown().first().style, int(platform::vbRetryCancel | platform::vbExclamation));
    QVERIFY(platform::ProgramHasEnded());
    QVERIFY(!frmPelmora::IsLoaded());
    QMap<QString, QByteArray> after = folderFiles(folder.path());
    after.remove(QStringLiteral("Wed.mdb-journal"));  // the other program's own
    QCOMPARE(after, before);

    // Retry: once the other program lets go, the start goes on.
    platform::Forms::DestroyAll();
    testsupport::processEvents();
    platform::ResetProgramEnd();
    ResetState();
    prompts().clearShown();
    dao::faults::OnBusyWait([&] { dao::faults::OnBusyWait([&] { other.exec("ROLLBACK"); }); });
    prompts().answer(platform::vbRetry);
    QVERIFY(startProgram());
    QCOMPARE(prompts().shown().size(), 1);
    QVERIFY(!platform::ProgramHasEnded());
    QCOMPARE(frmPelmora::Default().MSFlexGrid1->TextMatrix(1, 0), QStringLiteral("כהן"));
    QCOMPARE(frmPelmora::Default().MSFlexGrid1->TextMatrix(1, 3), QStringLiteral("2"));
    QCOMPARE(other.text("PRAGMA integrity_check"), QStringLiteral("ok"));
  }

  void failedCreationLeavesNoFile() {
    testsupport::ProgramFolder folder;
    testsupport::writeOptions();
    // A folder where the new file should be built makes the creation fail.
    QVERIFY(QDir().mkdir(DatabaseFile() + ".new"));
    prompts().answer(platform::vbOK);
    QVERIFY(!startProgram());
    QVERIFY(prompts().messages().first().startsWith(QStringLiteral("!ארעה שגיאה קריטית בתהליך יצירת התוכנה")));
    QVERIFY(prompts().messages().first().contains(kSupportMailAddress));
    QVERIFY(!QFile::exists(DatabaseFile()));
  }

  void splashAndDays() {
    testsupport::ProgramFolder folder;
    testsupport::makeWeddingDb();
    testsupport::writeOptions();
    vb::SetTodayForTests(QDate(2026, 12, 9));
    platform::WritePrivateProfileString("Options", "Wedding Date", "10/12/2026", IniFile());
    QVERIFY(startProgram());
    QCOMPARE(DaysToWedding(), QStringLiteral("1"));
    QCOMPARE(frmPelmora::Default().lblWeddingCount->text(), QStringLiteral("עוד 1 ימים לחתונה..."));
    QVERIFY(!frmSplash::IsLoaded());  // unloaded once the main window is up
    QVERIFY(frmTableMap::IsLoaded());
    QVERIFY(!frmTableMap::Default().isVisible());
    // A first start, with no placement stored: the window opens centred (give
    // or take its frame, which is known only once it is shown).
    const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY((frmPelmora::Default().frameGeometry().center() - screenCentre).manhattanLength() <= 6);

    g_WeddingDate = QDateTime(QDate(2026, 1, 1), QTime());
    QCOMPARE(DaysToWedding(), QStringLiteral("0"));
    g_WeddingDate = QDateTime(QDate(2026, 12, 10), QTime(12, 0));
    QCOMPARE(DaysToWedding(), QStringLiteral("1.5"));

    frmSplash& splash = frmSplash::Default();
    splash.show();
    QVERIFY((splash.frameGeometry().center() - screenCentre).manhattanLength() <= 6);
    QCOMPARE(splash.lblVersion->text(), QStringLiteral("Version 2.9.13"));
    QCOMPARE(splash.Image1->pixmap().size(), QSize(669, 260));
    QTest::keyClick(&splash, Qt::Key_A);
    testsupport::processEvents();
    QVERIFY(!frmSplash::IsLoaded());
  }

  void filesAndHelp() {
    testsupport::ProgramFolder folder;
    QVERIFY(!FileExists(""));
    QVERIFY(!FileExists("   "));
    QVERIFY(!FileExists(folder.path()));
    QVERIFY(!FileExists(folder.file("pelmora.chm")));
    QVERIFY(!ShowHelp("pelmora.chm", nullptr, 0));
    QVERIFY(platform::ShellRecorder::instance().requests.isEmpty());
    testsupport::writeFile(folder.file("pelmora.chm"), {});
    QVERIFY(FileExists(folder.file("pelmora.chm")));
    QVERIFY(ShowHelp("pelmora.chm", nullptr, 0));
    QCOMPARE(platform::ShellRecorder::instance().requests.size(), 1);
    QVERIFY(platform::ShellRecorder::instance().requests.first().endsWith("pelmora.chm"));
  }
};

PELMORA_TEST(StartupTest)
#include "tst_startup.moc"
