// Private-profile files: Windows semantics, the exact bytes on disk,
// Windows-1255 and the UTF-8 fallback, and writes that fail safely.
#include <QFile>
#include <QFileInfo>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QProcess>
#include <sys/stat.h>

#include "platform/filereplace.h"
#include "platform/ini.h"
#include "platform/registry.h"
#include "platform/wholefile.h"
#include "support/files.h"
#include "support/smalldisk.h"
#include "support/testsupport.h"

namespace {
// While it lives, no file of this process may grow beyond `bytes`: writes
// past it fail (EFBIG) as on a full disk, whatever the user.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit lower = old_;
    lower.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lower);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  sighandler_t oldHandler_;
};
}  // namespace

using platform::DeletePrivateProfileSection;
using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;
using testsupport::readFile;
using testsupport::writeFile;

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

}  // namespace

class TestIni : public QObject {
  Q_OBJECT

 private slots:
  void writesCreateAndGrowTheFile() {
    testsupport::ProgramFolder folder;
    const QString ini = folder.file("pelmora.ini");
    QVERIFY(WritePrivateProfileString("Options", "Couple", "Dan", ini));
    QCOMPARE(readFile(ini), QByteArray("[Options]\r\nCouple=Dan\r\n"));
    QVERIFY(WritePrivateProfileString("Options", "Max Tables", "100", ini));
    QVERIFY(WritePrivateProfileString("Print", "Label Frame", "False", ini));
    QCOMPARE(readFile(ini), QByteArray("[Options]\r\nCouple=Dan\r\nMax Tables=100\r\n[Print]\r\nLabel Frame=False\r\n"));

    // A new key goes after the last key of its section, before the blank
    // lines that separate it from the next one.
    writeFile(ini, "[A]\r\nk1=1\r\n\r\n[B]\r\nb=2\r\n");
    QVERIFY(WritePrivateProfileString("A", "k2", "v", ini));
    QCOMPARE(readFile(ini), QByteArray("[A]\r\nk1=1\r\nk2=v\r\n\r\n[B]\r\nb=2\r\n"));

    // A value that holds line breaks cannot start lines of its own.
    QVERIFY(WritePrivateProfileString("A", "k3", "x\r\n[B]\nb=hacked", ini));
    QCOMPARE(GetPrivateProfileString("B", "b", "", ini), QStringLiteral("2"));
    QCOMPARE(GetPrivateProfileString("A", "k3", "", ini), QStringLiteral("x  [B] b=hacked"));
  }

  void readsAndReplacesInAnyLetterCase() {
    testsupport::ProgramFolder folder;
    const QString ini = folder.file("pelmora.ini");
    const QByteArray before =
        "; settings\r\n[options]\r\ncouple =  Dan \t\r\nnote without equals\r\n; couple=comment\r\n"
        "max tables=50\r\ncouple=second\r\n\r\n[Print]\r\ncouple=other\r\n";
    writeFile(ini, before);
    QCOMPARE(GetPrivateProfileString("OPTIONS", "Couple", "def", ini), QStringLiteral("Dan"));
    QCOMPARE(GetPrivateProfileString("Options", "MAX TABLES", "def", ini), QStringLiteral("50"));
    QCOMPARE(GetPrivateProfileString("Options", "note without equals", "def", ini), QStringLiteral("def"));

    // Replaced where it stands, with the file's own spelling of the key; the
    // duplicate below it, the comments and the other section are untouched.
    QVERIFY(WritePrivateProfileString("Options", "COUPLE", "Ruth", ini));
    QByteArray expected = before;
    expected.replace("couple =  Dan \t\r\n", "couple=Ruth\r\n");
    QCOMPARE(readFile(ini), expected);
    QCOMPARE(GetPrivateProfileString("Options", "Couple", "def", ini), QStringLiteral("Ruth"));
    QCOMPARE(GetPrivateProfileString("Print", "Couple", "def", ini), QStringLiteral("other"));

    // Files with LF line ends read the same; the next write makes them CR LF.
    writeFile(ini, "[Options]\nCouple=Dan\nHis Family=Levi\n");
    QCOMPARE(GetPrivateProfileString("options", "his family", "", ini), QStringLiteral("Levi"));
    QVERIFY(WritePrivateProfileString("Options", "Her Family", "Cohen", ini));
    QCOMPARE(readFile(ini), QByteArray("[Options]\r\nCouple=Dan\r\nHis Family=Levi\r\nHer Family=Cohen\r\n"));
  }

  void readLimitsAndDefaults() {
    testsupport::ProgramFolder folder;
    const QString ini = folder.file("pelmora.ini");
    QCOMPARE(GetPrivateProfileString("Options", "Couple", "none", ini), QStringLiteral("none"));
    QVERIFY(!QFile::exists(ini));

    const QString longValue = QString(200, u'a') + QString(100, u'b');
    QVERIFY(WritePrivateProfileString("Options", "Long", longValue, ini));
    QVERIFY(WritePrivateProfileString("Options", "Empty", "", ini));
    QCOMPARE(GetPrivateProfileString("Options", "Long", "", ini), longValue.left(255));
    QCOMPARE(GetPrivateProfileString("Options", "Empty", "default", ini), QString(""));
    QCOMPARE(GetPrivateProfileString("Options", "Missing", "default", ini), QStringLiteral("default"));
    QCOMPARE(GetPrivateProfileString("Missing", "Long", "default", ini), QStringLiteral("default"));
    QCOMPARE(GetPrivateProfileString("Options", "Missing", QString(300, u'd'), ini), QString(255, u'd'));
    // The cut never leaves half of a character that takes two code units.
    QVERIFY(WritePrivateProfileString("Options", "Emoji", QString(254, u'a') + QStringLiteral("🎉"), ini));
    QCOMPARE(GetPrivateProfileString("Options", "Emoji", "", ini), QString(254, u'a'));

    // Names that could not be read back are refused, and nothing is written.
    const QByteArray before = readFile(ini);
    QVERIFY(!WritePrivateProfileString("Options", "", "v", ini));
    QVERIFY(!WritePrivateProfileString("Options", "a=b", "v", ini));
    QVERIFY(!WritePrivateProfileString("Options", ";note", "v", ini));
    QVERIFY(!WritePrivateProfileString("Opt]ions", "k", "v", ini));
    QCOMPARE(readFile(ini), before);
  }

  void hebrewIsWindows1255() {
    testsupport::ProgramFolder folder;
    const QString ini = folder.file("pelmora.ini");
    QVERIFY(WritePrivateProfileString("Options", "Couple", "א", ini));
    QCOMPARE(readFile(ini), QByteArray("[Options]\r\nCouple=\xE0\r\n"));

    const QString names = QStringLiteral("שמות בני הזוג ₪5");
    QVERIFY(WritePrivateProfileString("Options", "Couple", names, ini));
    QCOMPARE(readFile(ini), QByteArray("[Options]\r\nCouple=\xF9\xEE\xE5\xFA \xE1\xF0\xE9 \xE4\xE6\xE5\xE2 \xA4"
                                        "5\r\n"));
    QCOMPARE(GetPrivateProfileString("Options", "Couple", "", ini), names);
  }

  void valuesOutsideWindows1255SwitchToUtf8() {
    testsupport::ProgramFolder folder;
    const QString ini = folder.file("pelmora.ini");
    const QString hebrew = QStringLiteral("משפחת החתן");
    const QString russian = QStringLiteral("Иван Петров");
    const QString emoji = QStringLiteral("party 🎉");
    QVERIFY(WritePrivateProfileString("Options", "His Family", hebrew, ini));
    QVERIFY(WritePrivateProfileString("Options", "Her Family", russian, ini));
    QByteArray bytes = readFile(ini);
    QVERIFY(bytes.startsWith(kBom));
    QCOMPARE(QString::fromUtf8(bytes.mid(kBom.size())),
             QStringLiteral("[Options]\r\nHis Family=%1\r\nHer Family=%2\r\n").arg(hebrew, russian));
    QVERIFY(WritePrivateProfileString("UserGroups", "Group-3", emoji, ini));
    QCOMPARE(GetPrivateProfileString("Options", "His Family", "", ini), hebrew);
    QCOMPARE(GetPrivateProfileString("Options", "Her Family", "", ini), russian);
    QCOMPARE(GetPrivateProfileString("UserGroups", "Group-3", "", ini), emoji);

    // Once every value fits Windows-1255 again, so does the file.
    QVERIFY(WritePrivateProfileString("Options", "Her Family", "משפחת הכלה", ini));
    QVERIFY(DeletePrivateProfileSection("UserGroups", ini));
    bytes = readFile(ini);
    QVERIFY(!bytes.startsWith(kBom));
    QCOMPARE(platform::cp1255::decode(bytes),
             QStringLiteral("[Options]\r\nHis Family=%1\r\nHer Family=משפחת הכלה\r\n").arg(hebrew));
  }

  void codepageTable() {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const QString decoded = platform::cp1255::decode(all);
    QCOMPARE(decoded.size(), 256);
    QCOMPARE(decoded[0x41], QChar(u'A'));
    QCOMPARE(decoded[0xE0], QChar(0x05D0));  // alef
    QCOMPARE(decoded[0xFA], QChar(0x05EA));  // tav
    QCOMPARE(decoded[0x80], QChar(0x20AC));  // euro
    QCOMPARE(decoded[0xA4], QChar(0x20AA));  // new sheqel
    QCOMPARE(decoded[0xFE], QChar(0x200F));  // right-to-left mark
    int undefined = 0;
    for (int b = 0; b < 256; ++b) {
      if (decoded[b] == QChar(0xFFFD)) {
        ++undefined;
        continue;
      }
      const auto back = platform::cp1255::encode(QString(decoded[b]));
      QVERIFY2(back && *back == all.mid(b, 1), qPrintable(QString::number(b, 16)));
    }
    QCOMPARE(undefined, 22);  // 0x81, 0x8A, 0x8C-0x90, 0x9A, 0x9C-0x9F, 0xD9-0xDF, 0xFB, 0xFC, 0xFF
    QVERIFY(!platform::cp1255::encode(QString(QChar(0xFFFD))));
    QVERIFY(!platform::cp1255::encode(QStringLiteral("Ж")));
    QVERIFY(!platform::cp1255::encode(QStringLiteral("🎉")));
    QVERIFY(!platform::cp1255::encode(QStringLiteral("é")));
  }

  void deleteSection() {
    testsupport::ProgramFolder folder;
    const QString ini = folder.file("pelmora.ini");
    writeFile(ini, "[UserGroups]\r\nGroup-0=a\r\n; kept\r\nGroup-1=b\r\n\r\n[Options]\r\nCouple=x\r\n"
                    "[usergroups]\r\nGroup-2=c\r\n");
    QVERIFY(DeletePrivateProfileSection("USERGROUPS", ini));
    QCOMPARE(readFile(ini), QByteArray("; kept\r\n\r\n[Options]\r\nCouple=x\r\n"));
    QCOMPARE(GetPrivateProfileString("UserGroups", "Group-2", "gone", ini), QStringLiteral("gone"));

    // A missing section or file is no error and changes nothing.
    QVERIFY(DeletePrivateProfileSection("Print", ini));
    QCOMPARE(readFile(ini), QByteArray("; kept\r\n\r\n[Options]\r\nCouple=x\r\n"));
    QVERIFY(DeletePrivateProfileSection("Print", folder.file("none.ini")));
    QVERIFY(!QFile::exists(folder.file("none.ini")));
  }

  void failedWriteKeepsTheOldFile() {
    testsupport::ProgramFolder folder;
    // A folder that is a regular file cannot hold the settings file.
    writeFile(folder.file("blocker"), "x");
    QVERIFY(!WritePrivateProfileString("Options", "Couple", "Dan", folder.file("blocker/pelmora.ini")));
    QCOMPARE(readFile(folder.file("blocker")), QByteArray("x"));
    QVERIFY(!WritePrivateProfileString("Options", "Couple", "Dan", folder.file("missing/pelmora.ini")));

    // A disk that fills up during the write (a file size limit stands in for
    // it, for every user, root included): the old file stays whole.
    QDir(folder.path()).mkdir("full");
    const QString ini = folder.file("full/pelmora.ini");
    QVERIFY(WritePrivateProfileString("Options", "Couple", "Dan", ini));
    const QByteArray before = readFile(ini);
    bool written = true;
    {
      FileSizeLimit limit(4096);
      written = WritePrivateProfileString("Options", "Couple", QString(20000, u'x'), ini);
    }
    QVERIFY(!written);
    QCOMPARE(readFile(ini), before);
    QCOMPARE(QDir(folder.file("full")).entryList(QDir::Files | QDir::Hidden), QStringList{"pelmora.ini"});
    QVERIFY(WritePrivateProfileString("Options", "Couple", "Ruth", ini));  // room again: the next write succeeds
    QCOMPARE(GetPrivateProfileString("Options", "Couple", "", ini), QStringLiteral("Ruth"));
  }

  void fullDiskKeepsTheOldFileWhole() {
    testsupport::ProgramFolder folder;
    QDir(folder.path()).mkdir("disk");
    testsupport::SmallDisk disk(folder.file("disk"));
    PELMORA_REQUIRE_MOUNTED(disk);
    const QString ini = folder.file("disk/pelmora.ini");
    QVERIFY(WritePrivateProfileString("Options", "Couple", QStringLiteral("דני ודנה"), ini));
    QVERIFY(WritePrivateProfileString("TablesMap", "TableNum-1", "1200, 300", ini));
    const QByteArray before = readFile(ini);

    // A small write fails only at the flush: it must fail all the same.
    disk.fill();
    QVERIFY(!WritePrivateProfileString("TablesMap", "TableNum-2", "1500, 300", ini));
    QVERIFY(!platform::LastProfileWriteError().isEmpty());
    QVERIFY(!DeletePrivateProfileSection("TablesMap", ini));
    {
      platform::FileBatch batch(ini);
      for (int i = 1; i <= 40; ++i)
        QVERIFY(WritePrivateProfileString("TablesMap", QStringLiteral("TableNum-%1").arg(i), "900, 900", ini));
      QVERIFY(!batch.commit());
    }
    QCOMPARE(readFile(ini), before);
    QCOMPARE(QDir(folder.file("disk")).entryList(QDir::Files | QDir::Hidden), (QStringList{".filler", "pelmora.ini"}));

    // The per-user settings follow the same rule.
    platform::SetSettingsRoot(folder.file("disk"));
    disk.empty();
    QVERIFY(platform::SaveSetting("Pelmora", "Settings", "MainLeft", "1500"));
    const QString conf = platform::SettingsFileName("Pelmora");
    const QByteArray settings = readFile(conf);
    disk.fill();
    QVERIFY(!platform::SaveSetting("Pelmora", "Settings", "MainLeft", QString(3000, u'9')));
    {
      platform::FileBatch batch(conf);
      QVERIFY(platform::SaveSetting("Pelmora", "TableSettings", "ColWidth-0", QString(3000, u'7')));
      QVERIFY(!batch.commit());
    }
    QCOMPARE(readFile(conf), settings);
    QCOMPARE(platform::GetSetting("Pelmora", "Settings", "MainLeft"), QStringLiteral("1500"));
    disk.empty();
    QVERIFY(platform::SaveSetting("Pelmora", "Settings", "MainLeft", "1600"));
    QCOMPARE(platform::GetSetting("Pelmora", "Settings", "MainLeft"), QStringLiteral("1600"));
  }

  void aBatchIsOneReplacement() {
    testsupport::ProgramFolder folder;
    const QString ini = folder.file("pelmora.ini");
    QVERIFY(WritePrivateProfileString("UserGroups", "Group-0", "a", ini));
    const QByteArray before = readFile(ini);
    struct Clear {
      ~Clear() { platform::filefaults::Clear(); }
    } clear;
    // One replacement allowed: the whole batch lands in it, reads inside the
    // batch see its own writes, and the old section is gone.
    platform::filefaults::FailReplacementsAfter(1);
    {
      platform::FileBatch batch(ini);
      QVERIFY(DeletePrivateProfileSection("UserGroups", ini));
      for (int i = 0; i < 23; ++i)
        QVERIFY(WritePrivateProfileString("UserGroups", QStringLiteral("Group-%1").arg(i), QStringLiteral("g%1").arg(i), ini));
      QVERIFY(WritePrivateProfileString("Options", "NumOfGroups", "23", ini));
      QCOMPARE(GetPrivateProfileString("UserGroups", "Group-22", "", ini), QStringLiteral("g22"));
      QCOMPARE(readFile(ini), before);  // nothing on disk until the commit
      {
        platform::FileBatch inner(ini);  // joins: only the outer one writes
        QVERIFY(WritePrivateProfileString("Options", "Couple", "x", ini));
        QVERIFY(inner.commit());
      }
      QCOMPARE(readFile(ini), before);
      QVERIFY(batch.commit());
    }
    QCOMPARE(GetPrivateProfileString("UserGroups", "Group-22", "", ini), QStringLiteral("g22"));
    QCOMPARE(GetPrivateProfileString("Options", "Couple", "", ini), QStringLiteral("x"));
    // The next one fails: the file is the one written.
    const QByteArray after = readFile(ini);
    QVERIFY(!WritePrivateProfileString("Options", "Couple", "y", ini));
    QCOMPARE(readFile(ini), after);
    // A batch left without commit writes nothing.
    platform::filefaults::Clear();
    {
      platform::FileBatch dropped(ini);
      QVERIFY(WritePrivateProfileString("Options", "Couple", "z", ini));
    }
    QCOMPARE(readFile(ini), after);
  }

  void onlyOrdinaryFilesAreRead() {
    testsupport::ProgramFolder folder;
    const QString ini = folder.file("pelmora.ini");
    // A FIFO would block the read forever; a link to /dev/zero never ends.
    QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0644), 0);
    QCOMPARE(GetPrivateProfileString("Options", "Couple", "none", ini), QStringLiteral("none"));
    QVERIFY(!WritePrivateProfileString("Options", "Couple", "Dan", ini));
    QVERIFY(QFileInfo(ini).exists() && !QFileInfo(ini).isFile());
    QVERIFY(QFile::remove(ini));
    QVERIFY(QFile::link("/dev/zero", ini));
    QCOMPARE(GetPrivateProfileString("Options", "Couple", "none", ini), QStringLiteral("none"));
    QVERIFY(!WritePrivateProfileString("Options", "Couple", "Dan", ini));
    QVERIFY(QFile::remove(ini));
    QVERIFY(QDir(folder.path()).mkdir("pelmora.ini"));
    QCOMPARE(GetPrivateProfileString("Options", "Couple", "none", ini), QStringLiteral("none"));
    QVERIFY(!WritePrivateProfileString("Options", "Couple", "Dan", ini));
    QVERIFY(QDir(folder.path()).rmdir("pelmora.ini"));

    // A link to an ordinary file is read, and a write changes that file.
    writeFile(folder.file("real.ini"), "[Options]\r\nCouple=Ruth\r\n");
    QVERIFY(QFile::link(folder.file("real.ini"), ini));
    QCOMPARE(GetPrivateProfileString("Options", "Couple", "", ini), QStringLiteral("Ruth"));
    QVERIFY(WritePrivateProfileString("Options", "Couple", "Dan", ini));
    QVERIFY(QFileInfo(ini).isSymLink());
    QCOMPARE(readFile(folder.file("real.ini")), QByteArray("[Options]\r\nCouple=Dan\r\n"));
  }

  void utf8WithoutAMarkIsRead() {
    testsupport::ProgramFolder folder;
    const QString ini = folder.file("pelmora.ini");
    // Saved by a Linux text editor: UTF-8, no byte-order mark.
    writeFile(ini, QStringLiteral("[UserGroups]\r\nGroup-3=חברים\r\n").toUtf8());
    QCOMPARE(GetPrivateProfileString("UserGroups", "Group-3", "", ini), QStringLiteral("חברים"));
    // A write that Windows-1255 can hold gives a Windows-1255 file, text intact.
    QVERIFY(WritePrivateProfileString("UserGroups", "Group-4", QStringLiteral("עבודה"), ini));
    QCOMPARE(readFile(ini), QByteArray("[UserGroups]\r\nGroup-3=\xE7\xE1\xF8\xE9\xED\r\nGroup-4=\xF2\xE1\xE5\xE3\xE4\r\n"));
    // One it cannot hold gives UTF-8 with its mark, text intact.
    QVERIFY(WritePrivateProfileString("UserGroups", "Group-5", QStringLiteral("Zoë 🎉"), ini));
    QCOMPARE(readFile(ini), kBom + QStringLiteral("[UserGroups]\r\nGroup-3=חברים\r\nGroup-4=עבודה\r\nGroup-5=Zoë 🎉\r\n").toUtf8());
    // Windows-1255 Hebrew is never taken for UTF-8.
    writeFile(ini, "[Options]\r\nCouple=\xE3\xF0\xE9\r\n");
    QCOMPARE(GetPrivateProfileString("Options", "Couple", "", ini), QStringLiteral("דני"));
    // A byte Windows-1255 leaves undefined is never turned into a replacement
    // character: a write that would need UTF-8 is refused, the file kept.
    writeFile(ini, "[Options]\r\nCouple=\xE3\xFB\r\n");
    const QByteArray odd = readFile(ini);
    QVERIFY(!WritePrivateProfileString("Options", "Note", QStringLiteral("🎉"), ini));
    QCOMPARE(readFile(ini), odd);
    QVERIFY(WritePrivateProfileString("Options", "Note", QStringLiteral("x"), ini));
    QCOMPARE(readFile(ini), odd + "Note=x\r\n");
  }
};

PELMORA_TEST(TestIni)
#include "tst_ini.moc"
