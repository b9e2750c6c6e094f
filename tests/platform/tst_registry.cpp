// Per-user settings: names in any letter case, values kept exactly, on disk
// after every write.
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "platform/registry.h"
#include "support/files.h"
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

  // The file is the one QSettings writes for the same values, so files
  // written before read the same and a new one is as it always was.
  void theFileIsInTheFormItAlwaysHad() {
    testsupport::ProgramFolder folder;
    const QList<QStringList> values = {
        {"Settings", "Window", "0"},        {"Settings", "MainLeft", "1500"},
        {"Settings", "MainHeight", "7200"}, {"TableSettings", "ColWidth-0", "1250"},
        {"TableSettings", "ColWidth-9", "900"}, {"Options", "His Family", "משפחת לוי, הנכדים"},
        {"Options", "Couple", "  padded  "}, {"Options", "Quote", "a\"b\\c;d=e"},
        {"Options", "At", "@first"},         {"Options", "Tab", "a\tb\r\n1f"},
        {"Ports", "COM1", "/dev/serial/by-id/usb-x_y-if00,port0"}, {"Ports", "COM2", "/dev/ttyACM0"},
        {"Print", "Label Color", "255"}};
    const QString oracle = folder.file("qsettings.conf");
    {
      QSettings written(oracle, QSettings::IniFormat);
      for (const QStringList& v : values) written.setValue(v[0] + '/' + v[1], v[2]);
    }
    for (const QStringList& v : values) QVERIFY(SaveSetting("Pelmora", v[0], v[1], v[2]));
    const QString file = SettingsFileName("Pelmora");
    QCOMPARE(QString::fromUtf8(testsupport::readFile(file)), QString::fromUtf8(testsupport::readFile(oracle)));

    // What QSettings wrote reads back whole.
    QFile::remove(file);
    QVERIFY(QFile::copy(oracle, file));
    for (const QStringList& v : values) QCOMPARE(GetSetting("Pelmora", v[0], v[1], "<none>"), v[2]);
  }

  // A port mapped by hand to a name with a comma is read and kept whole.
  void aValueWithACommaIsOneValue() {
    testsupport::ProgramFolder folder;
    const QString file = SettingsFileName("Pelmora");
    QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
    testsupport::writeFile(file, "[Ports]\nCOM1=/dev/serial/by-id/a,b\nCOM2 = x , y ; note\n");
    QCOMPARE(GetSetting("Pelmora", "Ports", "COM1"), QStringLiteral("/dev/serial/by-id/a,b"));
    QCOMPARE(GetSetting("Pelmora", "Ports", "COM2"), QStringLiteral("x , y"));
    QVERIFY(SaveSetting("Pelmora", "Settings", "Window", "2"));
    QCOMPARE(GetSetting("Pelmora", "Ports", "COM1"), QStringLiteral("/dev/serial/by-id/a,b"));
    QSettings disk(file, QSettings::IniFormat);
    QCOMPARE(disk.value("Ports/COM1").toString(), QStringLiteral("/dev/serial/by-id/a,b"));
  }

  // Settings kept as a link into a dotfiles folder: the link stays, the file
  // it names gets the change and keeps its mode.
  void aLinkedFileStaysALink() {
    testsupport::ProgramFolder folder;
    const QString file = SettingsFileName("Pelmora");
    const QString kept = folder.file("dotfiles/Pelmora.conf");
    QVERIFY(QDir().mkpath(folder.file("dotfiles")) && QDir().mkpath(QFileInfo(file).absolutePath()));
    testsupport::writeFile(kept, "[Ports]\nCOM1=/dev/ttyACM0\n");
    const auto mode = QFile::ReadOwner | QFile::ReadUser | QFile::WriteOwner | QFile::WriteUser | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(kept, mode));
    QVERIFY(QFile::link(kept, file));
    QVERIFY(SaveSetting("Pelmora", "Settings", "MainLeft", "600"));
    QVERIFY(QFileInfo(file).isSymLink());
    QCOMPARE(QFileInfo(kept).permissions(), mode);
    QCOMPARE(testsupport::readFile(kept), QByteArray("[Ports]\nCOM1=/dev/ttyACM0\n\n[Settings]\nMainLeft=600\n"));
  }
};

PELMORA_TEST(TestRegistry)
#include "tst_registry.moc"
