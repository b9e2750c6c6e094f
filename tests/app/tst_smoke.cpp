// The real program started in an empty folder writes the files of a first run.
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/ini.h"
#include "support/files.h"
#include "support/realprogram.h"
#include "support/testsupport.h"

class SmokeTest : public QObject {
  Q_OBJECT
 private slots:
  void firstRunInEmptyFolder() {
    QTemporaryDir folder;
    testsupport::RealProgram real(QStringLiteral(PELMORA_BINARY), folder.path());
    QProcess& program = real.process();
    QVERIFY(program.waitForStarted(10000));

    const QString db = folder.filePath("Wed.mdb");
    const QString ini = folder.filePath("pelmora.ini");
    QElapsedTimer clock;
    clock.start();
    // The database gets its name only when complete; the success message then waits.
    while (!(QFile::exists(db) && QFile::exists(ini)) && clock.elapsed() < 20000 &&
           program.state() == QProcess::Running)
      QTest::qWait(100);
    QVERIFY2(QFile::exists(db), "Wed.mdb did not appear");
    QVERIFY2(QFile::exists(ini), "pelmora.ini did not appear");
    QCOMPARE(platform::GetPrivateProfileString("Options", "Couple", "", ini), QStringLiteral("שמות בני הזוג"));
    QCOMPARE(platform::GetPrivateProfileString("Options", "Max Chairs", "", ini), QStringLiteral("15"));
    QVERIFY(testsupport::readFile(db).startsWith("SQLite format 3"));
    QVERIFY(program.state() == QProcess::Running);  // still alive, waiting on its message
    real.killHard();
  }

  // A FIFO or a link to a device where pelmora.ini should be reads as no
  // file: the start goes on to its event loop (the message that the first
  // run's settings could not be stored) instead of hanging in the read.
  void settingsFileThatIsNoFileDoesNotHangTheStart() {
    for (int kind = 0; kind < 2; ++kind) {
      QTemporaryDir folder;
      const QString ini = folder.filePath("pelmora.ini");
      if (kind == 0)
        QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0644), 0);
      else
        QVERIFY(QFile::link("/dev/zero", ini));
      testsupport::RealProgram real(QStringLiteral(PELMORA_BINARY), folder.path());
      // Not in the FIFO's open, nor running through /dev/zero.
      QVERIFY2(real.waitUntilInEventLoop(), "the start stopped at the settings file");
      real.killHard();
      QVERIFY(!QFileInfo(ini).isFile());
    }
  }
};

PELMORA_TEST(SmokeTest)
#include "tst_smoke.moc"
