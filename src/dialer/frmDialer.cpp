#include "frmDialer.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/mdlWedding.h"
#include "guestlist/frmPelmora.h"
#include "platform/msgbox.h"
#include "platform/vb.h"

using namespace mdlWedding;
using platform::ErrorState;

namespace {

const QString kReadyText = QStringLiteral("To dial a number, click the Dial button");
const QString kPortSettings = QStringLiteral("9600,N,8,1");
constexpr int kProbeWaitMs = 1000;
constexpr int kTurnMs = 10;  // one turn of a wait: other messages run, then the modem is looked at

QRect twipsRect(int left, int top, int width, int height) {
  return QRect(vb::TwipsToPixelsX(left), vb::TwipsToPixelsY(top), vb::TwipsToPixelsX(width),
               vb::TwipsToPixelsY(height));
}

}  // namespace

frmDialer::frmDialer() : QWidget(nullptr, Qt::Window) {
  setLayoutDirection(Qt::LeftToRight);
  setWindowTitle(QStringLiteral(" Phone Dialer..."));
  const QRect client = twipsRect(0, 0, 4800, 1800);
  setFixedSize(client.size());

  txtNumber = new QLineEdit(this);
  txtNumber->setObjectName(QStringLiteral("txtNumber"));
  txtNumber->setGeometry(twipsRect(120, 180, 3135, 330));

  txtStatus = new QLabel(kReadyText, this);
  txtStatus->setObjectName(QStringLiteral("txtStatus"));
  txtStatus->setTextFormat(Qt::PlainText);
  txtStatus->setWordWrap(true);
  txtStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  txtStatus->setGeometry(twipsRect(120, 720, 3135, 900));

  auto button = [this](const char* name, const QString& caption, int top) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(twipsRect(3480, top, 1200, 375));
    return b;
  };
  cmdDial = button("cmdDial", QStringLiteral("Dial"), 150);
  cmdCancel = button("cmdCancel", QStringLiteral("Cancel"), 630);
  cmdQuit = button("cmdQuit", QStringLiteral("Quit"), 1110);
  cmdCancel->setEnabled(false);
  cmdDial->setDefault(true);

  auto on = [this](QPushButton* b, void (frmDialer::*handler)()) {
    connect(b, &QPushButton::clicked, this, [this, handler] { platform::RunHandler([&] { (this->*handler)(); }); });
  };
  on(cmdDial, &frmDialer::cmdDial_Click);
  on(cmdCancel, &frmDialer::cmdCancel_Click);
  on(cmdQuit, &frmDialer::cmdQuit_Click);
}

frmDialer::~frmDialer() = default;

void frmDialer::Form_Load() {
  // Top-left corner at the main window's centre.
  if (frmPelmora* main = frmPelmora::Existing()) {
    const QRect g = main->frameGeometry();
    move(g.left() + g.width() / 2, g.top() + g.height() / 2);
  }
  MSComm1.SetInputLen(0);
}

void frmDialer::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // Run after the activation has been delivered: the dial waits inside.
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    QTimer::singleShot(0, this, [this] { platform::RunHandler([this] { Form_Activate(); }); });
}

void frmDialer::Form_Activate() {
  if (!(g_PortFree && g_AutoDial)) return;
  if (m_Busy) {  // a cancelled call is still hanging up: dial once it has
    m_DialWhenDone = true;
    return;
  }
  g_AutoDial = false;
  RelDialer();
  cmdDial_Click();
}

void frmDialer::setStatus(const QString& text) {
  txtStatus->setText(text);
  txtStatus->repaint();
}

void frmDialer::RelDialer() {
  txtNumber->setEnabled(true);
  cmdDial->setEnabled(true);
  cmdQuit->setEnabled(true);
  cmdCancel->setEnabled(false);
  g_PortFree = true;
  setStatus(kReadyText);
}

void frmDialer::cmdDial_Click() {
  if (m_Busy) {  // Dial enabled again by Cancel while the call is still hanging up
    m_DialWhenDone = true;
    return;
  }
  m_Cancelled = false;
  txtNumber->setEnabled(false);
  cmdDial->setEnabled(false);
  cmdQuit->setEnabled(false);
  cmdCancel->setEnabled(true);
  g_PortFree = false;

  QString digits;
  for (const QChar c : vb::Trim(txtNumber->text()))
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;

  if (digits.isEmpty()) {
    platform::Beep();
    platform::MsgBox(QStringLiteral("The phone number is not valid."));
    cmdCancel_Click();
    return;
  }

  ErrorState err;
  m_Busy = true;
  DialNumber(digits, err);
  m_Busy = false;
  RelDialer();
  if (err.failed())
    platform::MsgBox(QString::number(err.last().number) + QLatin1Char(' ') + err.last().description,
                     platform::vbExclamation);
  finishSequence();
}

void frmDialer::finishSequence() {
  m_EndCall = false;
  if (m_UnloadWhenDone) {
    m_UnloadWhenDone = false;
    m_DialWhenDone = false;
    QTimer::singleShot(0, this, [this] { platform::RunHandler([this] { Unload(); }); });
    return;
  }
  if (m_DialWhenDone) {
    m_DialWhenDone = false;
    QTimer::singleShot(0, this, [this] {
      platform::RunHandler([this] {
        if (g_PortFree && g_AutoDial) Form_Activate();
        else cmdDial_Click();
      });
    });
  }
}

void frmDialer::letMessagesRun(int ms) {
  // Sleeps in the event loop (no spinning) while input, timers and the port's
  // notifications are handled.
  QEventLoop loop;
  QTimer::singleShot(qMax(1, ms), &loop, &QEventLoop::quit);
  loop.exec();
}

void frmDialer::DialNumber(const QString& number, ErrorState& err) {
  const QString command = QStringLiteral("ATDT") + number + QStringLiteral(";\r");

  setStatus(QStringLiteral("Searching for modem..."));
  quint8 port = 0;
  err([&] { port = FindModem(); });
  if (m_EndCall) return;  // the window closed while searching: dial nothing
  if (port == 0) {
    platform::MsgBox(noModemText());
    err.clear();
    cmdCancel_Click();
    return;
  }

  err([&] {
    if (MSComm1.PortOpen()) MSComm1.SetPortOpen(false);
    MSComm1.SetCommPort(port);
    MSComm1.SetSettings(kPortSettings);
    MSComm1.SetPortOpen(true);
  });
  if (!MSComm1.PortOpen()) {
    err.clear();  // reported here
    platform::MsgBox(QStringLiteral("COM") + QString::number(port) +
                     QStringLiteral(" is not available.\rChange the CommPort property to another port."));
    return;
  }

  err([&] { MSComm1.SetInBufferCount(0); });
  setStatus(QStringLiteral("Dialing... ") + command + QStringLiteral(" [COM") + QString::number(port) +
            QLatin1Char(']'));
  err([&] { MSComm1.Output(command); });

  // No time-out: the modem answers "OK" once the number is dialled; Cancel,
  // closing the window or the modem going away (a read error) end the wait
  // otherwise.
  QString received;
  bool cancelled = false;
  bool lost = false;
  for (;;) {
    letMessagesRun(kTurnMs);
    if (m_EndCall || platform::ProgramHasEnded()) {
      cancelled = true;
      break;
    }
    int waiting = 0;
    lost = !err([&] { waiting = MSComm1.InBufferCount(); });
    if (!lost && waiting > 0) {
      lost = !err([&] { received += MSComm1.Input(); });
      if (received.contains(QStringLiteral("OK"))) break;
    }
    if (lost) break;
    if (m_Cancelled) {
      m_Cancelled = false;
      cancelled = true;
      break;
    }
  }

  if (!cancelled && !lost) {
    platform::Beep();
    platform::MsgBox(QStringLiteral("Please pick up the phone and either press Enter or click OK"));
  }
  // A modem that went away has nothing to hang up; its read error is the one
  // reported.
  if (!lost) err([&] { MSComm1.Output(QStringLiteral("ATH\r")); });
  err([&] { MSComm1.SetPortOpen(false); });
}

quint8 frmDialer::FindModem() {
  QString answer;  // one text for the whole probe
  m_DeniedPorts.clear();
  for (int port = 1; port <= 4; ++port) {
    if (m_EndCall) break;
    ErrorState err;
    err([&] {
      if (MSComm1.PortOpen()) MSComm1.SetPortOpen(false);
      MSComm1.SetCommPort(port);
      MSComm1.SetSettings(kPortSettings);
      MSComm1.SetInputLen(0);
      MSComm1.SetPortOpen(true);
    });
    if (!MSComm1.PortOpen()) {
      if (err.failed() && err.last().number == platform::SerialPort::errPermissionDenied)
        m_DeniedPorts.append({port, platform::SerialPort::PortDevice(port)});
      continue;
    }

    err([&] { MSComm1.Output(QStringLiteral("ATV1Q0\r")); });
    // A monotonic clock: the wait is one second also across midnight.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kProbeWaitMs && !m_EndCall)
      letMessagesRun(static_cast<int>(qMin<qint64>(kTurnMs, kProbeWaitMs - waited.elapsed())));

    err([&] { answer += MSComm1.Input(); });
    err([&] { MSComm1.SetPortOpen(false); });
    if (answer.contains(QStringLiteral("OK\r\n"))) return static_cast<quint8>(port);
  }
  return 0;
}

// A port the user may not open would otherwise be skipped without a word.
QString frmDialer::noModemText() const {
  QString text = QStringLiteral("No modem detected");
  if (m_DeniedPorts.isEmpty()) return text;
  QStringList devices;
  for (const auto& [port, device] : m_DeniedPorts) {
    text += QStringLiteral("\rCOM%1 (%2) could not be opened: permission denied.").arg(QString::number(port), device);
    devices << device;
  }
  return text + QStringLiteral("\rYou need access to ") + devices.join(QStringLiteral(", ")) +
         QStringLiteral(" (on Debian, membership in the group dialout).");
}

void frmDialer::cmdCancel_Click() {
  ErrorState err;
  err([&] { setStatus(QStringLiteral("Cancel...")); });
  m_Cancelled = true;
  err([&] {
    cmdDial->setEnabled(true);
    cmdQuit->setEnabled(true);
    cmdCancel->setEnabled(false);
    setStatus(QString());
  });
  g_PortFree = true;
  if (err.failed()) platform::MsgBox(err.last().description, platform::vbExclamation);
}

void frmDialer::cmdQuit_Click() { Unload(); }

void frmDialer::Form_Unload(int& Cancel) {
  if (!g_PortFree) {
    const int answer = platform::MsgBox(QStringLiteral("Quiting dialer will terminat the call!"),
                                        platform::vbOKCancel | platform::vbCritical, QStringLiteral("Warning..."));
    if (answer != platform::vbOK) {
      Cancel = 1;
      return;
    }
    g_PortFree = true;
    m_EndCall = true;
  }
  if (m_Busy) {
    // The running sequence still uses this window: it hangs up and closes the
    // port on its next turn, then the window unloads.
    m_EndCall = true;
    m_UnloadWhenDone = true;
    hide();
    Cancel = 1;
  }
}
