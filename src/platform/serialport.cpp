#include "serialport.h"

#include <QCoreApplication>
#include <QFile>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

#include <unistd.h>

#include <cerrno>

#include "registry.h"
#include "vberror.h"

namespace platform {
namespace {

[[noreturn]] void invalidValue() { Raise(380, QStringLiteral("Invalid property value")); }

// Qt reports a port locked by another program and a device the user may not
// open alike; only the second is a matter of the user's rights.
bool accessDenied(const QString& device) {
  return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM);
}

}  // namespace

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() = default;

QString SerialPort::PortDevice(int port) {
  const QString mapped = GetSetting(QCoreApplication::applicationName(), QStringLiteral("Ports"),
                                    QStringLiteral("COM%1").arg(port))
                             .trimmed();
  return mapped.isEmpty() ? QStringLiteral("/dev/ttyS%1").arg(port - 1) : mapped;
}

void SerialPort::SetCommPort(int port) {
  if (PortOpen()) Raise(8005, QStringLiteral("Port already open"));
  if (port < 1 || port > kMaxPort) Raise(8002, QStringLiteral("Invalid port number"));
  commPort_ = port;
}

SerialPort::Format SerialPort::parseSettings(const QString& settings) {
  const QStringList parts = settings.split(QLatin1Char(','));
  if (parts.size() != 4) invalidValue();
  Format f;
  bool ok = false;
  f.baud = parts[0].trimmed().toInt(&ok);
  if (!ok || f.baud <= 0) invalidValue();

  const QString parity = parts[1].trimmed().toUpper();
  if (parity == QLatin1String("N")) f.parity = QSerialPort::NoParity;
  else if (parity == QLatin1String("E")) f.parity = QSerialPort::EvenParity;
  else if (parity == QLatin1String("O")) f.parity = QSerialPort::OddParity;
  else if (parity == QLatin1String("M")) f.parity = QSerialPort::MarkParity;
  else if (parity == QLatin1String("S")) f.parity = QSerialPort::SpaceParity;
  else invalidValue();

  f.dataBits = parts[2].trimmed().toInt(&ok);
  if (!ok || f.dataBits < 5 || f.dataBits > 8) invalidValue();

  const QString stop = parts[3].trimmed();
  if (stop == QLatin1String("1")) f.stopBits = QSerialPort::OneStop;
  else if (stop == QLatin1String("1.5")) f.stopBits = QSerialPort::OneAndHalfStop;
  else if (stop == QLatin1String("2")) f.stopBits = QSerialPort::TwoStop;
  else invalidValue();
  return f;
}

void SerialPort::SetSettings(const QString& settings) {
  const Format f = parseSettings(settings);
  if (PortOpen()) applyFormat(f);
  settings_ = settings;
}

void SerialPort::applyFormat(const Format& f) {
  const bool ok = port_->setBaudRate(f.baud) && port_->setParity(static_cast<QSerialPort::Parity>(f.parity)) &&
                  port_->setDataBits(static_cast<QSerialPort::DataBits>(f.dataBits)) &&
                  port_->setStopBits(static_cast<QSerialPort::StopBits>(f.stopBits));
  if (!ok) Raise(8015, QStringLiteral("Could not set comm state"));
}

void SerialPort::SetInputLen(int length) {
  if (length < 0) invalidValue();
  inputLen_ = length;
}

// Open from the caller's side until it closes the port, also after the device
// has gone away underneath.
bool SerialPort::PortOpen() const { return port_ != nullptr; }

void SerialPort::SetPortOpen(bool open) {
  if (!open) {
    port_.reset();
    buffer_.clear();
    lost_ = false;
    return;
  }
  if (PortOpen()) Raise(8005, QStringLiteral("Port already open"));
  const Format f = parseSettings(settings_);
  port_ = std::make_unique<QSerialPort>();
  const QString device = PortDevice(commPort_);
  port_->setPortName(device);
  buffer_.clear();
  lost_ = false;
  if (!port_->open(QIODevice::ReadWrite)) {
    const auto error = port_->error();
    port_.reset();
    if (error == QSerialPort::DeviceNotFoundError) Raise(8002, QStringLiteral("Invalid port number"));
    if (accessDenied(device)) Raise(errPermissionDenied, QStringLiteral("Permission denied"));
    if (error == QSerialPort::OpenError) Raise(8005, QStringLiteral("Port already open"));
    Raise(8010, QStringLiteral("The hardware is not available (locked by another device)"));
  }
  try {
    applyFormat(f);
  } catch (...) {
    port_->close();
    port_.reset();
    throw;
  }
  // Nothing that arrived before the port was ours belongs to this session.
  port_->clear(QSerialPort::Input);
  // A hung-up terminal stays readable (end of file) for ever: let go of it, or
  // the event loop wakes for it without pause. Not from inside the
  // notification that reported it.
  QObject::connect(port_.get(), &QSerialPort::errorOccurred, port_.get(), [this](QSerialPort::SerialPortError e) {
    if (e == QSerialPort::ReadError || e == QSerialPort::ResourceError)
      QTimer::singleShot(0, port_.get(), [this] { dropDevice(); });
  });
}

void SerialPort::dropDevice() {
  if (lost_) return;
  lost_ = true;
  buffer_ += port_->readAll();  // what came before the hang-up is still read
  port_->close();
}

void SerialPort::requireOpen() const {
  if (!PortOpen()) Raise(8012, QStringLiteral("The device is not open"));
}

void SerialPort::pull() {
  if (!lost_) {
    // The device is read here too, so a count is right even when no event
    // loop ran since the characters arrived.
    if (port_->bytesAvailable() == 0) port_->waitForReadyRead(0);
    const auto error = port_->error();
    port_->clearError();
    buffer_ += port_->readAll();
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError) dropDevice();
  }
  if (lost_ && buffer_.isEmpty()) Raise(8020, QStringLiteral("Error reading comm device"));
}

int SerialPort::InBufferCount() {
  requireOpen();
  pull();
  return static_cast<int>(buffer_.size());
}

void SerialPort::SetInBufferCount(int count) {
  requireOpen();
  if (count != 0) invalidValue();
  pull();
  buffer_.clear();
}

void SerialPort::Output(const QString& text) {
  requireOpen();
  const QByteArray bytes = text.toLatin1();
  if (lost_ || port_->write(bytes) != bytes.size()) Raise(8021, QStringLiteral("Error writing comm device"));
  // The modem is waiting for the command; don't leave it in our buffer.
  port_->flush();
}

QString SerialPort::Input() {
  requireOpen();
  pull();
  const qsizetype n = inputLen_ == 0 ? buffer_.size() : qMin<qsizetype>(inputLen_, buffer_.size());
  const QString text = QString::fromLatin1(buffer_.left(n));
  buffer_.remove(0, n);
  return text;
}

}  // namespace platform
