// The real program started in an empty folder writes the files of a first run.
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/ini.h"
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
    QFile f(db);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.read(16).startsWith("SQLite format 3"));
    QVERIFY(program.state() == QProcess::Running);  // still alive, waiting on its message
    real.killHard();
  }

  // A FIFO or a link to a device where pelmora.ini should be reads as no
  // file: the start goes on to its event loop (the message that the first
  // run's settings could not be stored) instead of hanging in the read.
  void settingsFileThatIsNoFileDoesNotHangTheStart() {
    for (int kind = 0; kind < 2; ++kind) {
      QTemporaryDir folder, config;
      const QString ini = folder.filePath("pelmora.ini");
      if (kind == 0)
        QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0644), 0);
      else
        QVERIFY(QFile::link("/dev/zero", ini));
      QProcess program;
      program.setWorkingDirectory(folder.path());
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert("QT_QPA_PLATFORM", "offscreen");
      env.insert("XDG_CONFIG_HOME", config.path());
      program.setProcessEnvironment(env);
      program.start(QStringLiteral(PELMORA_BINARY), {});
      QVERIFY(program.waitForStarted(10000));
      // The kernel tells where the program waits: in the event loop's poll,
      // not in the FIFO's open nor running through /dev/zero.
      const QString wchan = QStringLiteral("/proc/%1/wchan").arg(program.processId());
      auto waitsInEventLoop = [&] {
        QFile f(wchan);
        return f.open(QIODevice::ReadOnly) && f.readAll().contains("poll");
      };
      QElapsedTimer clock;
      clock.start();
      while (!waitsInEventLoop() && clock.elapsed() < 20000 && program.state() == QProcess::Running)
        QTest::qWait(100);
      QVERIFY2(waitsInEventLoop(), "the start stopped at the settings file");
      QVERIFY(program.state() == QProcess::Running);
      program.kill();
      program.waitForFinished(5000);
      QVERIFY(!QFileInfo(ini).isFile());
    }
  }
};

PELMORA_TEST(SmokeTest)
#include "tst_smoke.moc"
