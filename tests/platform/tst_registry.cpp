// Per-user settings: names in any letter case, values kept exactly, on disk
// after every write.
#include <QFile>
#include <QSettings>

#include "platform/registry.h"
#include "support/testsupport.h"

using namespace platform;

class TestRegistry : public QObject {
  Q_OBJECT

 private slots:
  void saveReadDelete() {
    testsupport::ProgramFolder folder;
    QCOMPARE(GetSetting("Pelmora", "Settings", "MainLeft", "<no value>"), QStringLiteral("<no value>"));
    QVERIFY(!SettingSectionExists("Pelmora", "Settings"));

    SaveSetting("Pelmora", "Settings", "ColWidth-0", "1500");
    SaveSetting("Pelmora", "Options", "His Family", "משפחת לוי, הנכדים");
    SaveSetting("Pelmora", "Options", "Couple", "  padded  ");
    QCOMPARE(GetSetting("Pelmora", "Settings", "ColWidth-0"), QStringLiteral("1500"));
    QCOMPARE(GetSetting("Pelmora", "settings", "COLWIDTH-0"), QStringLiteral("1500"));
    QCOMPARE(GetSetting("Pelmora", "Options", "His Family"), QStringLiteral("משפחת לוי, הנכדים"));
    QCOMPARE(GetSetting("Pelmora", "Options", "Couple"), QStringLiteral("  padded  "));
    QCOMPARE(GetSetting("Other", "Settings", "ColWidth-0", "none"), QStringLiteral("none"));

    // Saving in other letter case replaces the same setting.
    SaveSetting("Pelmora", "SETTINGS", "colwidth-0", "900");
    QCOMPARE(GetSetting("Pelmora", "Settings", "ColWidth-0"), QStringLiteral("900"));

    // On disk already, in the test's own settings folder.
    const QString file = folder.settingsRoot() + "/Pelmora/Pelmora.conf";
    QVERIFY(QFile::exists(file));
    QSettings disk(file, QSettings::IniFormat);
    QCOMPARE(disk.childGroups().size(), 2);

    DeleteSetting("Pelmora", "Options", "couple");
    QCOMPARE(GetSetting("Pelmora", "Options", "Couple", "gone"), QStringLiteral("gone"));
    QCOMPARE(GetSetting("Pelmora", "Options", "His Family"), QStringLiteral("משפחת לוי, הנכדים"));
    DeleteSetting("Pelmora", "options");
    QVERIFY(!SettingSectionExists("Pelmora", "Options"));
    QVERIFY(SettingSectionExists("Pelmora", "Settings"));
    DeleteSetting("Pelmora", "Print");             // missing section: no error
    DeleteSetting("Pelmora", "Settings", "Nope");  // missing key: no error
    QCOMPARE(GetSetting("Pelmora", "Settings", "ColWidth-0"), QStringLiteral("900"));
  }
};

PELMORA_TEST(TestRegistry)
#include "tst_registry.moc"
