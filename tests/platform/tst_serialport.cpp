// The serial-port control over pseudo-terminals: the COMn mapping in the
// per-user settings, settings, opening, the receive buffer, sending and
// reading, and the errors a caller sees.
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

#include "platform/registry.h"
#include "platform/serialport.h"
#include "platform/vberror.h"
#include "support/files.h"
#include "support/errors.h"
#include "support/fakemodem.h"
#include "support/testsupport.h"

using platform::SerialPort;
using testsupport::FakeModem;
using testsupport::errorNumber;
using testsupport::mapPort;

namespace {

bool waitForCount(SerialPort& port, int atLeast) {
  return QTest::qWaitFor([&] { return port.InBufferCount() >= atLeast; }, 10000);
}

}  // namespace

class TestSerialPort : public QObject {
  Q_OBJECT
 private slots:
  // The per-user settings live in a folder of each test's own; the program's
  // name picks the file, as in the program.
  void initTestCase() {
    appName_ = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Pelmora"));
  }
  void cleanupTestCase() { QCoreApplication::setApplicationName(appName_); }
  void init() {
    settings_ = std::make_unique<QTemporaryDir>();
    platform::SetSettingsRoot(settings_->path());
    devices_ = std::make_unique<testsupport::DeviceFolder>();
  }
  void cleanup() {
    platform::SetSettingsRoot(QString());
    settings_.reset();
    devices_.reset();
  }

  void portsMapToDevicesInUserSettings() {
    for (int p = 1; p <= 4; ++p)
      QCOMPARE(SerialPort::PortDevice(p), QStringLiteral("/dev/ttyS%1").arg(p - 1));

    // The user's own file, written by hand next to the window placement.
    FakeModem modem;
    QVERIFY(QDir().mkpath(settings_->path() + QStringLiteral("/Pelmora")));
    testsupport::writeFile(settings_->path() + QStringLiteral("/Pelmora/Pelmora.conf"),
                           "[Settings]\nMainLeft=1200\n\n[Ports]\nCOM1=/dev/ttyACM0\ncom3=" + modem.device().toLocal8Bit() + "\n");
    QCOMPARE(SerialPort::PortDevice(1), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(SerialPort::PortDevice(2), QStringLiteral("/dev/ttyS1"));
    QCOMPARE(SerialPort::PortDevice(3), modem.device());
    QCOMPARE(SerialPort::PortDevice(4), QStringLiteral("/dev/ttyS3"));
    QCOMPARE(platform::GetSetting(QStringLiteral("Pelmora"), QStringLiteral("Settings"), QStringLiteral("MainLeft")),
             QStringLiteral("1200"));

    SerialPort port;
    port.SetCommPort(3);
    port.SetPortOpen(true);
    port.Output(QStringLiteral("ATV1Q0\r"));
    QTRY_COMPARE(modem.received(), QByteArray("ATV1Q0\r"));
    port.SetPortOpen(false);

    // A mapping changed while the program runs counts from the next opening.
    mapPort(3, devices_->missing(3));
    QCOMPARE(errorNumber([&] { port.SetPortOpen(true); }), 8002L);
    QVERIFY(!port.PortOpen());
  }

  void propertiesAndClosedPortErrors() {
    SerialPort port;
    QCOMPARE(port.Settings(), QStringLiteral("9600,N,8,1"));
    QCOMPARE(errorNumber([&] { port.SetCommPort(0); }), 8002L);
    QCOMPARE(errorNumber([&] { port.SetCommPort(17); }), 8002L);
    port.SetCommPort(3);
    QCOMPARE(port.CommPort(), 3);
    for (const char* bad : {"9600,X,8,1", "9600,N,9,1", "fast,N,8,1", "9600,N,8", "9600,N,8,3"})
      QCOMPARE(errorNumber([&] { port.SetSettings(QString::fromLatin1(bad)); }), 380L);
    QCOMPARE(port.Settings(), QStringLiteral("9600,N,8,1"));
    port.SetSettings(QStringLiteral("2400,e,7,2"));
    QCOMPARE(port.Settings(), QStringLiteral("2400,e,7,2"));
    QCOMPARE(errorNumber([&] { port.SetInputLen(-1); }), 380L);

    QVERIFY(!port.PortOpen());
    QCOMPARE(errorNumber([&] { port.Output(QStringLiteral("AT\r")); }), 8012L);
    QCOMPARE(errorNumber([&] { port.Input(); }), 8012L);
    QCOMPARE(errorNumber([&] { port.InBufferCount(); }), 8012L);
    QCOMPARE(errorNumber([&] { port.SetInBufferCount(0); }), 8012L);
    port.SetPortOpen(false);  // closing a closed port is harmless
  }

  void openingMissingAndBusyDevices() {
    mapPort(1, devices_->missing(1));
    SerialPort port;
    port.SetCommPort(1);
    QCOMPARE(errorNumber([&] { port.SetPortOpen(true); }), 8002L);
    QVERIFY(!port.PortOpen());

    FakeModem modem;
    mapPort(2, modem.device());
    port.SetCommPort(2);
    port.SetPortOpen(true);
    QVERIFY(port.PortOpen());
    QCOMPARE(errorNumber([&] { port.SetPortOpen(true); }), 8005L);
    QCOMPARE(errorNumber([&] { port.SetCommPort(1); }), 8005L);
    QCOMPARE(port.CommPort(), 2);

    // A second control cannot take a port that is in use.
    SerialPort other;
    other.SetCommPort(2);
    const long busy = errorNumber([&] { other.SetPortOpen(true); });
    QCOMPARE(busy, 8010L);
    QVERIFY(!other.PortOpen());

    port.SetPortOpen(false);
    QVERIFY(!port.PortOpen());
    other.SetPortOpen(true);  // free again once closed
    QVERIFY(other.PortOpen());
    other.SetPortOpen(false);

    // A device the user may not read and write is refused as such, also for
    // root: the kernel lets nobody write this read-only file.
    mapPort(4, devices_->denied());
    port.SetCommPort(4);
    QCOMPARE(errorNumber([&] { port.SetPortOpen(true); }), 70L);
    QVERIFY(!port.PortOpen());
  }

  void sendingAndReading() {
    FakeModem modem;
    mapPort(3, modem.device());
    SerialPort port;
    port.SetCommPort(3);
    port.SetPortOpen(true);
    QCOMPARE(port.InBufferCount(), 0);

    port.Output(QStringLiteral("ATV1Q0\r"));
    QVERIFY(waitForCount(port, 6));
    QTRY_COMPARE(modem.received(), QByteArray("ATV1Q0\r"));
    QCOMPARE(port.InBufferCount(), 6);
    QCOMPARE(port.Input(), QStringLiteral("\r\nOK\r\n"));
    QCOMPARE(port.InBufferCount(), 0);
    QCOMPARE(port.Input(), QString());

    // Input length limits one read; the rest stays waiting.
    modem.send("RING\r\n");
    QVERIFY(waitForCount(port, 6));
    port.SetInputLen(2);
    QCOMPARE(port.Input(), QStringLiteral("RI"));
    QCOMPARE(port.InBufferCount(), 4);
    port.SetInputLen(0);
    QCOMPARE(port.Input(), QStringLiteral("NG\r\n"));

    // Setting the count to 0 drops what is waiting; other counts are refused.
    modem.send("CONNECT\r\n");
    QVERIFY(waitForCount(port, 9));
    QCOMPARE(errorNumber([&] { port.SetInBufferCount(3); }), 380L);
    port.SetInBufferCount(0);
    QCOMPARE(port.InBufferCount(), 0);

    // Settings change on an open port; what arrived while closed is not read.
    port.SetSettings(QStringLiteral("1200,N,8,1"));
    port.SetPortOpen(false);
    modem.send("STALE");
    QVERIFY(modem.waitUnread(5));
    port.SetPortOpen(true);
    QCOMPARE(port.InBufferCount(), 0);
    port.Output(QStringLiteral("ATH\r"));
    QTRY_COMPARE(modem.commands().last(), QStringLiteral("ATH"));
    port.SetPortOpen(false);
  }

  void farEndGoingAwayIsAReadError() {
    FakeModem modem;
    mapPort(1, modem.device());
    SerialPort port;
    port.SetCommPort(1);
    port.SetPortOpen(true);
    modem.send("\r\nOK\r\n");
    QVERIFY(waitForCount(port, 6));
    modem.send("RING");
    // Taken from the terminal by the port (a hang-up drops what is left there),
    // not yet read by the caller.
    QVERIFY(modem.waitUnread(4));
    QTRY_COMPARE(modem.unread(), 0);

    // Hung up (that the port then leaves the thread asleep is measured in
    // bench/, BM_ModemGoingAway).
    modem.unplug();

    // What came before the hang-up is still read; then reading and writing fail.
    QVERIFY(port.PortOpen());
    QCOMPARE(port.InBufferCount(), 10);
    QCOMPARE(port.Input(), QStringLiteral("\r\nOK\r\nRING"));
    QCOMPARE(errorNumber([&] { port.InBufferCount(); }), 8020L);
    QCOMPARE(errorNumber([&] { port.Input(); }), 8020L);
    QCOMPARE(errorNumber([&] { port.Output(QStringLiteral("ATH\r")); }), 8021L);
    port.SetPortOpen(false);
    QVERIFY(!port.PortOpen());

    // A new modem on the same port works as before.
    FakeModem again;
    mapPort(1, again.device());
    port.SetPortOpen(true);
    port.Output(QStringLiteral("ATV1Q0\r"));
    QVERIFY(waitForCount(port, 6));
    QCOMPARE(port.Input(), QStringLiteral("\r\nOK\r\n"));
    port.SetPortOpen(false);
  }

 private:
  QString appName_;
  std::unique_ptr<QTemporaryDir> settings_;
  std::unique_ptr<testsupport::DeviceFolder> devices_;
};

PELMORA_TEST(TestSerialPort)
#include "tst_serialport.moc"
