// The dialer driven from the main window against modems on pseudo-terminals:
// finding the modem, the dial command, the pick-up question and the hang-up,
// Cancel and closing during a call, the refusals and the messages.
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "dialer/frmDialer.h"
#include "guestlist/guestlist_fixture.h"
#include "support/drawntext.h"
#include "support/fakemodem.h"
#include "support/when.h"

using namespace mdlWedding;
using testsupport::FakeModem;
using testsupport::mapPort;
using testsupport::prompts;
using testsupport::when;

namespace {

const QString kPickUp = QStringLiteral("Please pick up the phone and either press Enter or click OK");
const QString kReady = QStringLiteral("To dial a number, click the Dial button");

// COM1 to COM4: each a modem, a silent terminal, or nothing at all, mapped in
// the per-user settings of the test's program folder.
struct Ports {
  testsupport::DeviceFolder devices;
  std::unique_ptr<FakeModem> modem[5];
  Ports() {
    for (int p = 1; p <= 4; ++p) mapPort(p, devices.missing(p));
  }
  FakeModem& attach(int port, bool answers = true) {
    modem[port] = std::make_unique<FakeModem>(answers);
    mapPort(port, modem[port]->device());
    return *modem[port];
  }
};

bool hasCommand(const FakeModem& m, const QString& command) { return m.commands().contains(command); }

frmPelmora& mainWindowWithPhones(const QStringList& phones) {
  QVector<testsupport::Invitation> rows;
  for (int i = 0; i < phones.size(); ++i)
    rows << guest(QStringLiteral("משפחה"), QString::number(i + 1), 2, 0, phones[i]);
  frmPelmora& w = loadMainWindow(rows);
  w.setGeometry(100, 80, 800, 600);
  w.show();
  testsupport::processEvents();
  return w;
}

void selectRow(frmPelmora& w, int row) { w.MSFlexGrid1->SetRow(row); }

bool readyState(frmDialer& d) {
  return d.txtNumber->isEnabled() && d.cmdDial->isEnabled() && d.cmdQuit->isEnabled() &&
         !d.cmdCancel->isEnabled() && d.txtStatus->text() == kReady && g_PortFree;
}

// The user presses Dial and the call goes all the way: the modem receives
// exactly these bytes, the pick-up question is the only prompt, ready again.
void dialAllTheWay(frmDialer& d, const FakeModem& modem, const QByteArray& bytes) {
  prompts().clearShown();
  prompts().answer(platform::vbOK);
  QTest::mouseClick(d.cmdDial, Qt::LeftButton);
  QTRY_COMPARE(modem.received(), bytes);
  QCOMPARE(prompts().messages(), QStringList{kPickUp});
  QVERIFY(readyState(d));
}

}  // namespace

class TestDialer : public QObject {
  Q_OBJECT
 private slots:
  // The per-user settings file is the program's own, named after it.
  void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Pelmora")); }

  void dialFromMainWindowFindsModemAndHangsUp() {
    testsupport::ProgramFolder folder;
    Ports ports;
    FakeModem& modem = ports.attach(2);
    frmPelmora& w = mainWindowWithPhones({QStringLiteral("  03-555 1234  "), QStringLiteral("   ")});
    QVERIFY(g_PortFree);

    prompts().answer(platform::vbOK);  // the pick-up question
    w.Toolbar1_ButtonClick(5);
    QVERIFY(frmDialer::IsLoaded());
    frmDialer& d = frmDialer::Default();
    QCOMPARE(g_DialNumber, QStringLiteral("03-555 1234"));
    QCOMPARE(d.txtNumber->text(), QStringLiteral("03-555 1234"));
    QCOMPARE(w.MSFlexGrid1->Col(), 2);
    QVERIFY(d.isVisible());
    QCOMPARE(d.windowTitle(), QStringLiteral(" Phone Dialer..."));
    QCOMPARE(d.layoutDirection(), Qt::LeftToRight);
    const QRect g = w.frameGeometry();
    QCOMPARE(d.frameGeometry().topLeft(), QPoint(g.left() + g.width() / 2, g.top() + g.height() / 2));

    QTRY_VERIFY(hasCommand(modem, QStringLiteral("ATH")));
    QTRY_COMPARE(modem.received(), QByteArray("ATV1Q0\rATDT035551234;\rATH\r"));
    QCOMPARE(prompts().messages(), QStringList{kPickUp});
    QCOMPARE(prompts().shown().first().kind, platform::Prompt::BeepSound);
    QCOMPARE(prompts().shown().last().title, QStringLiteral("Pelmora"));
    QVERIFY(!d.MSComm1.PortOpen());
    QCOMPARE(d.MSComm1.CommPort(), 2);
    QVERIFY(readyState(d));
    QVERIFY(!g_AutoDial);

    // A blank phones cell does nothing.
    prompts().clearShown();
    modem.clearReceived();
    selectRow(w, 2);
    w.DialNum();
    testsupport::processEvents();
    QVERIFY(g_DialNumber.isEmpty());
    QVERIFY(!g_AutoDial);
    QVERIFY(prompts().shown().isEmpty());
    QVERIFY(modem.received().isEmpty());
    // The next row's dial is the first thing the modem hears: the blank cell
    // sent nothing, not even late.
    w.activateWindow();
    QTRY_VERIFY(w.isActiveWindow());
    selectRow(w, 1);
    prompts().answer(platform::vbOK);
    w.DialNum();
    QTRY_COMPARE(modem.received(), QByteArray("ATV1Q0\rATDT035551234;\rATH\r"));
    QTRY_VERIFY(readyState(d));
    prompts().clearShown();

    // Closing the window with no call in progress asks nothing.
    d.close();
    testsupport::processEvents();
    QVERIFY(!frmDialer::IsLoaded());
    QVERIFY(prompts().shown().isEmpty());
  }

  // Enter in the number box presses Dial, the window's default button.
  void enterInTheNumberBoxDials() {
    testsupport::ProgramFolder folder;
    Ports ports;
    FakeModem& modem = ports.attach(2);
    frmPelmora& w = mainWindowWithPhones({QStringLiteral("03-5551234")});
    prompts().answer(platform::vbOK);  // the pick-up question
    w.DialNum();
    frmDialer& d = frmDialer::Default();
    QTRY_VERIFY(hasCommand(modem, QStringLiteral("ATH")));
    QTRY_VERIFY(readyState(d));
    QVERIFY(d.cmdDial->isDefault());

    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QTest::mouseClick(d.txtNumber, Qt::LeftButton);  // set-up
    QTest::keyClick(d.txtNumber, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(d.txtNumber, QStringLiteral("02-7654321"));
    modem.clearReceived();
    prompts().clearShown();
    prompts().answer(platform::vbOK);
    QTest::keyClick(d.txtNumber, Qt::Key_Return);
    QTRY_VERIFY(hasCommand(modem, QStringLiteral("ATDT027654321;")));
    QTRY_VERIFY(hasCommand(modem, QStringLiteral("ATH")));
    QTRY_VERIFY(readyState(d));
    QCOMPARE(prompts().messages(), QStringList{kPickUp});
  }

  void secondDialDuringCallIsRefused() {
    testsupport::ProgramFolder folder;
    Ports ports;
    FakeModem& modem = ports.attach(1);
    modem.holdDialAnswer(true);
    frmPelmora& w = mainWindowWithPhones({QStringLiteral("050-1234567"), QStringLiteral("09-8765432")});

    QObject scope;
    QString statusDuringCall;
    bool busyButtons = false;
    bool refusedWhileBusy = false;
    when(&scope, [&] { return hasCommand(modem, QStringLiteral("ATDT0501234567;")); }, [&] {
      frmDialer& d = frmDialer::Default();
      statusDuringCall = d.txtStatus->text();
      busyButtons = !d.txtNumber->isEnabled() && !d.cmdDial->isEnabled() && !d.cmdQuit->isEnabled() &&
                    d.cmdCancel->isEnabled() && !g_PortFree;
      selectRow(w, 2);
      w.mnuDial->trigger();  // a second dial while the first call waits
      refusedWhileBusy = !g_PortFree && d.txtNumber->text() == QStringLiteral("050-1234567");
      modem.releaseDial();
    });
    prompts().answer(platform::vbOK);  // "Port is all-ready in use"
    prompts().answer(platform::vbOK);  // pick-up
    w.DialNum();
    QTRY_VERIFY(hasCommand(modem, QStringLiteral("ATH")));

    QCOMPARE(statusDuringCall, QStringLiteral("Dialing... ATDT0501234567;\r [COM1]"));
    QVERIFY(busyButtons);
    QVERIFY(refusedWhileBusy);
    QCOMPARE(prompts().messages(),
             (QStringList{QStringLiteral("Port is all-ready in use [050-1234567]"), kPickUp}));
    for (const auto& p : prompts().shown()) {
      if (p.text.startsWith(QStringLiteral("Port is"))) {
        QCOMPARE(p.title, QStringLiteral("Warning..."));
        QCOMPARE(p.style, int(platform::vbOKOnly));
      }
    }
    QTRY_COMPARE(modem.received(), QByteArray("ATV1Q0\rATDT0501234567;\rATH\r"));
    QVERIFY(readyState(frmDialer::Default()));
    QVERIFY(!g_AutoDial);  // the refused request left nothing behind
  }

  void cancelWhileWaitingHangsUpAndNextDialWorks() {
    testsupport::ProgramFolder folder;
    Ports ports;
    ports.attach(1, false);  // terminals that never answer
    ports.attach(2, false);
    FakeModem& modem = ports.attach(3);
    modem.holdDialAnswer(true);
    frmPelmora& w = mainWindowWithPhones({QStringLiteral("(03) 777-88 99 ext")});

    QObject scope;
    QElapsedTimer probe;
    qint64 foundAfter = 0;
    probe.start();
    when(&scope, [&] { return hasCommand(modem, QStringLiteral("ATDT037778899;")); }, [&] {
      foundAfter = probe.elapsed();
      QTest::mouseClick(frmDialer::Default().cmdCancel, Qt::LeftButton);
    });
    w.DialNum();
    QTRY_VERIFY(hasCommand(modem, QStringLiteral("ATH")));
    // COM1 and COM2 present but silent: three one-second probe waits before
    // the modem on COM3 is dialled (how long beyond that is measured in bench/).
    QVERIFY2(foundAfter >= 3000, qPrintable(QString::number(foundAfter)));
    QCOMPARE(ports.modem[1]->received(), QByteArray("ATV1Q0\r"));
    QCOMPARE(ports.modem[2]->received(), QByteArray("ATV1Q0\r"));
    QTRY_COMPARE(modem.received(), QByteArray("ATV1Q0\rATDT037778899;\rATH\r"));
    QVERIFY(prompts().messages().isEmpty());  // no pick-up after Cancel
    frmDialer& d = frmDialer::Default();
    QVERIFY(!d.MSComm1.PortOpen());
    QVERIFY(readyState(d));

    // The cancel does not cut the next dial short.
    modem.clearReceived();
    when(&scope, [&] { return hasCommand(modem, QStringLiteral("ATDT123;")); },
         [&] { QTimer::singleShot(30, &scope, [&] { modem.releaseDial(); }); });
    d.txtNumber->setText(QStringLiteral("1-2-3"));
    prompts().answer(platform::vbOK);
    QTest::mouseClick(d.cmdDial, Qt::LeftButton);
    QTRY_COMPARE(modem.received(), QByteArray("ATV1Q0\rATDT123;\rATH\r"));
    QCOMPARE(prompts().messages(), QStringList{kPickUp});
    QVERIFY(readyState(d));
  }

  void noModemAndInvalidNumber() {
    testsupport::ProgramFolder folder;
    Ports ports;
    FakeModem& silent = ports.attach(4, false);
    frmPelmora& w = mainWindowWithPhones({QStringLiteral("אין טלפון"), QStringLiteral("02-1234567")});

    // No digit: beep, the message, Dial and Quit back but the number box stays off.
    prompts().answer(platform::vbOK);
    w.DialNum();
    frmDialer& d = frmDialer::Default();
    QTRY_COMPARE(prompts().messages(), QStringList{QStringLiteral("The phone number is not valid.")});
    QCOMPARE(prompts().shown().first().kind, platform::Prompt::BeepSound);
    QVERIFY(g_PortFree);
    QVERIFY(d.cmdDial->isEnabled() && d.cmdQuit->isEnabled() && !d.cmdCancel->isEnabled());
    QVERIFY(!d.txtNumber->isEnabled());
    QCOMPARE(d.txtStatus->text(), QString());
    QVERIFY(silent.received().isEmpty());

    // No port answers: the message, the probe closed every port, ready again.
    prompts().clearShown();
    prompts().answer(platform::vbOK);
    w.activateWindow();  // the user comes back to the list
    QTRY_VERIFY(w.isActiveWindow());
    selectRow(w, 2);
    w.DialNum();
    QTRY_COMPARE(prompts().messages(), QStringList{QStringLiteral("No modem detected")});
    QTRY_VERIFY(readyState(d));
    QCOMPARE(silent.received(), QByteArray("ATV1Q0\r"));
    QVERIFY(!d.MSComm1.PortOpen());
    QCOMPARE(prompts().shown().last().style, int(platform::vbOKOnly));

    // A modem plugged in afterwards: the next dial waits for its "OK" and goes
    // all the way (the Cancel action above does not cut it short).
    FakeModem& modem = ports.attach(2);
    modem.holdDialAnswer(true);
    QObject scope;
    when(&scope, [&] { return hasCommand(modem, QStringLiteral("ATDT021234567;")); },
         [&] { QTimer::singleShot(30, &scope, [&] { modem.releaseDial(); }); });
    dialAllTheWay(d, modem, QByteArray("ATV1Q0\rATDT021234567;\rATH\r"));
  }

  void portsRefusedForPermissionAreNamed() {
    testsupport::ProgramFolder folder;
    Ports ports;
    mapPort(1, ports.devices.denied());
    FakeModem& silent = ports.attach(3, false);
    frmPelmora& w = mainWindowWithPhones({QStringLiteral("08-6543210")});

    // No modem: the refused device is named with what the user needs.
    prompts().answer(platform::vbOK);
    w.DialNum();
    frmDialer& d = frmDialer::Default();
    QTRY_COMPARE(prompts().messages().size(), 1);
    const QString device = ports.devices.denied();
    QCOMPARE(prompts().messages().first(),
             QStringLiteral("No modem detected\rCOM1 (") + device +
                 QStringLiteral(") could not be opened: permission denied.\rYou need access to ") + device +
                 QStringLiteral(" (on Debian, membership in the group dialout)."));
    QCOMPARE(prompts().shown().last().style, int(platform::vbOKOnly));
    QTRY_VERIFY(readyState(d));
    QCOMPARE(silent.received(), QByteArray("ATV1Q0\r"));

    // A modem found on another port: the refusal is no one's business.
    FakeModem& modem = ports.attach(4);
    dialAllTheWay(d, modem, QByteArray("ATV1Q0\rATDT086543210;\rATH\r"));

    // Without a refusal the message is the plain one.
    mapPort(1, ports.devices.missing(1));
    mapPort(4, ports.devices.missing(4));
    prompts().clearShown();
    prompts().answer(platform::vbOK);
    QTest::mouseClick(d.cmdDial, Qt::LeftButton);
    QTRY_COMPARE(prompts().messages(), QStringList{QStringLiteral("No modem detected")});
    QTRY_VERIFY(readyState(d));
  }

  // The dialer is an English window: its boxes are laid out left to right and
  // their sentences end where English ends.
  void messagesAreLeftToRightBoxes() {
    testsupport::ProgramFolder folder;
    Ports ports;
    frmPelmora& w = mainWindowWithPhones({QStringLiteral("אין טלפון"), QStringLiteral("02-1234567")});
    QStringList directions;
    QImage ink;
    QFont font;
    prompts().view([&](QWidget* shown) {
      auto* box = qobject_cast<QMessageBox*>(shown);
      if (!box) return;
      directions << (box->layoutDirection() == Qt::LeftToRight ? box->text() : QStringLiteral("right to left"));
      if (box->text().endsWith('.')) {
        QLabel* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ink = testsupport::InkOf(label);
        font = label->font();
      }
    });
    prompts().answer(platform::vbOK);
    w.DialNum();
    QTRY_COMPARE(directions, QStringList{QStringLiteral("The phone number is not valid.")});
    QVERIFY(testsupport::SameInk(ink, testsupport::InkOfLine(directions.first(), font, Qt::LeftToRight)));

    prompts().answer(platform::vbOK);
    w.activateWindow();
    QTRY_VERIFY(w.isActiveWindow());
    selectRow(w, 2);
    w.DialNum();
    QTRY_COMPARE(directions.size(), 2);
    QCOMPARE(directions.last(), QStringLiteral("No modem detected"));
    prompts().view(nullptr);
  }

  void portLostBeforeDialling() {
    testsupport::ProgramFolder folder;
    Ports ports;
    FakeModem& modem = ports.attach(2);
    frmPelmora& w = mainWindowWithPhones({QStringLiteral("04-1111111")});

    // The device goes away while the probe waits on it.
    QObject scope;
    when(&scope, [&] { return hasCommand(modem, QStringLiteral("ATV1Q0")); },
         [&] { mapPort(2, ports.devices.missing(2)); });
    prompts().answer(platform::vbOK);
    w.DialNum();
    QTRY_COMPARE(prompts().messages(),
                 QStringList{QStringLiteral("COM2 is not available.\rChange the CommPort property to another port.")});
    frmDialer& d = frmDialer::Default();
    QTRY_VERIFY(readyState(d));
    QTRY_COMPARE(modem.received(), QByteArray("ATV1Q0\r"));
    QVERIFY(!d.MSComm1.PortOpen());
  }

  void modemGoingAwayWhileWaitingEndsTheCall() {
    testsupport::ProgramFolder folder;
    Ports ports;
    FakeModem& modem = ports.attach(2);
    modem.holdDialAnswer(true);
    frmPelmora& w = mainWindowWithPhones({QStringLiteral("03-9999999")});

    // Unplugged during the wait for "OK": the read error ends the call. Only a
    // call that never ends meets the user's Cancel, long after.
    QObject scope;
    bool ended = false;
    bool cancelled = false;
    when(&scope, [&] { return hasCommand(modem, QStringLiteral("ATDT039999999;")); }, [&] {
      modem.unplug();
      when(&scope, [&] { return g_PortFree; }, [&] { ended = true; });
      QTimer::singleShot(30000, &scope, [&] {
        if (g_PortFree) return;
        cancelled = true;
        QTest::mouseClick(frmDialer::Default().cmdCancel, Qt::LeftButton);
      });
    });
    prompts().answer(platform::vbOK);  // the error
    w.DialNum();
    QTRY_VERIFY_WITH_TIMEOUT(ended, 40000);
    // The processor time the ended call leaves behind is measured in bench/.
    QVERIFY(!cancelled);
    QCOMPARE(prompts().messages(), QStringList{QStringLiteral("8020 Error reading comm device")});
    QCOMPARE(prompts().shown().last().style, int(platform::vbExclamation));
    frmDialer& d = frmDialer::Default();
    QVERIFY(!d.MSComm1.PortOpen());
    QVERIFY(readyState(d));

    // Plugged in again: the next dial goes all the way.
    FakeModem& again = ports.attach(2);
    dialAllTheWay(d, again, QByteArray("ATV1Q0\rATDT039999999;\rATH\r"));
  }

  void closingDuringCall() {
    testsupport::ProgramFolder folder;
    Ports ports;
    FakeModem& modem = ports.attach(1);
    modem.holdDialAnswer(true);
    frmPelmora& w = mainWindowWithPhones({QStringLiteral("03-1234567")});

    // Cancel keeps the window and the call; OK ends the call and closes it.
    QObject scope;
    bool keptOpen = false;
    when(&scope, [&] { return hasCommand(modem, QStringLiteral("ATDT031234567;")); }, [&] {
      frmDialer& d = frmDialer::Default();
      d.close();
      keptOpen = frmDialer::IsLoaded() && d.isVisible() && !g_PortFree;
      d.close();
    });
    prompts().answer(platform::vbCancel);
    prompts().answer(platform::vbOK);
    w.DialNum();
    QTRY_VERIFY(hasCommand(modem, QStringLiteral("ATH")));
    QTRY_VERIFY(!frmDialer::IsLoaded());
    QVERIFY(keptOpen);
    const QString question = QStringLiteral("Quiting dialer will terminat the call!");
    QCOMPARE(prompts().messages(), (QStringList{question, question}));  // no pick-up
    QCOMPARE(prompts().shown().last().title, QStringLiteral("Warning..."));
    QCOMPARE(prompts().shown().last().style, int(platform::vbOKCancel | platform::vbCritical));
    QTRY_COMPARE(modem.received(), QByteArray("ATV1Q0\rATDT031234567;\rATH\r"));
    QVERIFY(g_PortFree);

    // The port is free again: the next request dials on a new window.
    modem.clearReceived();
    modem.holdDialAnswer(false);
    prompts().answer(platform::vbOK);
    w.DialNum();
    QTRY_VERIFY(hasCommand(modem, QStringLiteral("ATH")));
    QTRY_COMPARE(modem.received(), QByteArray("ATV1Q0\rATDT031234567;\rATH\r"));
    QTRY_VERIFY(readyState(frmDialer::Default()));
  }
};

PELMORA_TEST(TestDialer)
#include "tst_dialer.moc"
