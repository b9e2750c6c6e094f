// The serial-port control over pseudo-terminals: settings, opening, the
// receive buffer, sending and reading, and the errors a caller sees.
#include <QtTest>
#include <functional>

#include "platform/serialport.h"
#include "platform/vberror.h"
#include "support/fakemodem.h"
#include "support/testsupport.h"

using platform::SerialPort;
using testsupport::FakeModem;

namespace {

long errorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const platform::VbError& e) {
    return e.number;
  }
  return 0;
}

bool waitForCount(SerialPort& port, int atLeast, int ms = 2000) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    if (port.InBufferCount() >= atLeast) return true;
    QTest::qWait(5);
  }
  return false;
}

}  // namespace

class TestSerialPort : public QObject {
  Q_OBJECT
 private slots:
  void cleanup() { SerialPort::ResetPortDevices(); }

  void propertiesAndClosedPortErrors() {
    QCOMPARE(SerialPort::PortDevice(1), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(SerialPort::PortDevice(4), QStringLiteral("/dev/ttyS3"));
    SerialPort::SetPortDevice(2, QStringLiteral("/tmp/x"));
    QCOMPARE(SerialPort::PortDevice(2), QStringLiteral("/tmp/x"));
    SerialPort::ResetPortDevices();
    QCOMPARE(SerialPort::PortDevice(2), QStringLiteral("/dev/ttyS1"));

    SerialPort port;
    QCOMPARE(port.Settings(), QStringLiteral("9600,N,8,1"));
    QCOMPARE(errorOf([&] { port.SetCommPort(0); }), 8002L);
    QCOMPARE(errorOf([&] { port.SetCommPort(17); }), 8002L);
    port.SetCommPort(3);
    QCOMPARE(port.CommPort(), 3);
    for (const char* bad : {"9600,X,8,1", "9600,N,9,1", "fast,N,8,1", "9600,N,8", "9600,N,8,3"})
      QCOMPARE(errorOf([&] { port.SetSettings(QString::fromLatin1(bad)); }), 380L);
    QCOMPARE(port.Settings(), QStringLiteral("9600,N,8,1"));
    port.SetSettings(QStringLiteral("2400,e,7,2"));
    QCOMPARE(port.Settings(), QStringLiteral("2400,e,7,2"));
    QCOMPARE(errorOf([&] { port.SetInputLen(-1); }), 380L);

    QVERIFY(!port.PortOpen());
    QCOMPARE(errorOf([&] { port.Output(QStringLiteral("AT\r")); }), 8012L);
    QCOMPARE(errorOf([&] { port.Input(); }), 8012L);
    QCOMPARE(errorOf([&] { port.InBufferCount(); }), 8012L);
    QCOMPARE(errorOf([&] { port.SetInBufferCount(0); }), 8012L);
    port.SetPortOpen(false);  // closing a closed port is harmless
  }

  void openingMissingAndBusyDevices() {
    SerialPort::SetPortDevice(1, testsupport::missingDevice(1));
    SerialPort port;
    port.SetCommPort(1);
    QCOMPARE(errorOf([&] { port.SetPortOpen(true); }), 8002L);
    QVERIFY(!port.PortOpen());

    FakeModem modem;
    SerialPort::SetPortDevice(2, modem.device());
    port.SetCommPort(2);
    port.SetPortOpen(true);
    QVERIFY(port.PortOpen());
    QCOMPARE(errorOf([&] { port.SetPortOpen(true); }), 8005L);
    QCOMPARE(errorOf([&] { port.SetCommPort(1); }), 8005L);
    QCOMPARE(port.CommPort(), 2);

    // A second control cannot take a port that is in use.
    SerialPort other;
    other.SetCommPort(2);
    const long busy = errorOf([&] { other.SetPortOpen(true); });
    QCOMPARE(busy, 8010L);
    QVERIFY(!other.PortOpen());

    port.SetPortOpen(false);
    QVERIFY(!port.PortOpen());
    other.SetPortOpen(true);  // free again once closed
    QVERIFY(other.PortOpen());
  }

  void sendingAndReading() {
    FakeModem modem;
    SerialPort::SetPortDevice(3, modem.device());
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
    QCOMPARE(errorOf([&] { port.SetInBufferCount(3); }), 380L);
    port.SetInBufferCount(0);
    QCOMPARE(port.InBufferCount(), 0);

    // Settings change on an open port; what arrived while closed is not read.
    port.SetSettings(QStringLiteral("1200,N,8,1"));
    port.SetPortOpen(false);
    modem.send("STALE");
    QTest::qWait(50);
    port.SetPortOpen(true);
    QCOMPARE(port.InBufferCount(), 0);
    port.Output(QStringLiteral("ATH\r"));
    QTRY_COMPARE(modem.commands().last(), QStringLiteral("ATH"));
    port.SetPortOpen(false);
  }
};

PELMORA_TEST(TestSerialPort)
#include "tst_serialport.moc"
