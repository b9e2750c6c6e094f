// Exports to where users carry their files: a FAT or exFAT stick, which has
// no hard links, and file names as long as the file system allows.
#include <QAction>
#include <QDir>
#include <QTemporaryDir>

#include "guestlist/guestlist_fixture.h"
#include "platform/filereplace.h"
#include "support/files.h"
#include "support/testsupport.h"

using testsupport::prompts;
using testsupport::readFile;

namespace {
const QString kExportOk = QStringLiteral(".פעולת יצוא מבנה הנתונים הצליחה");

struct NoFileFaults {
  ~NoFileFaults() { platform::filefaults::Clear(); }
};

// Exports both files under the given names and returns the messages shown.
QStringList exportAs(const QString& db, const QString& ini) {
  prompts().clearShown();
  prompts().answerDialog(db);
  prompts().answerDialog(ini);
  prompts().answer(platform::vbOK);
  frmPelmora::Default().mnuExportDB->trigger();
  return prompts().messages();
}
}  // namespace

class ExportToStickTest : public QObject {
  Q_OBJECT

 private slots:
  void aStickWithoutHardLinksTakesTheExport() {
    testsupport::ProgramFolder folder;
    NoFileFaults clear;
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

PELMORA_TEST(ExportToStickTest)
#include "tst_export_stick.moc"
