#pragma once
// The serial-port control: a port chosen by number (COM1, COM2, ...), a
// settings text such as "9600,N,8,1", open and close, the count of characters
// waiting, send a text, read what is waiting. COMn maps to /dev/ttyS(n-1)
// unless the per-user settings of the application (section "Ports", key
// "COMn") name another device, such as a USB modem's /dev/ttyACM0.
//
// Errors raised (VbError):
//   70   "Permission denied"               the user may not read and write the device
//   380  "Invalid property value"          bad settings text, InBufferCount set other than 0
//   8002 "Invalid port number"             port number outside 1..16, or no such device
//   8005 "Port already open"               port number or opening changed while open
//   8010 "The hardware is not available (locked by another device)"  device busy (locked by another program)
//   8012 "The device is not open"          reading, writing or counting on a closed port
//   8015 "Could not set comm state"        the device refused the settings
//   8020 "Error reading comm device"       the device hung up or went away, once
//                                          what it sent before is read
//   8021 "Error writing comm device"
#include <QByteArray>
#include <QString>
#include <memory>

class QSerialPort;

namespace platform {

class SerialPort {
 public:
  static constexpr int kMaxPort = 16;
  enum : long { errPermissionDenied = 70 };

  SerialPort();
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  int CommPort() const { return commPort_; }
  void SetCommPort(int port);

  QString Settings() const { return settings_; }
  void SetSettings(const QString& settings);

  // Characters one Input takes; 0 takes all that are waiting.
  int InputLen() const { return inputLen_; }
  void SetInputLen(int length);

  bool PortOpen() const;
  void SetPortOpen(bool open);

  // Characters waiting to be read; setting 0 empties the receive buffer.
  int InBufferCount();
  void SetInBufferCount(int count);

  void Output(const QString& text);  // sent as Latin-1 bytes
  QString Input();

  // Device behind COMn, read from the settings at every opening.
  static QString PortDevice(int port);

 private:
  struct Format {
    qint32 baud = 9600;
    int parity = 0;    // QSerialPort::Parity
    int dataBits = 8;
    int stopBits = 1;  // QSerialPort::StopBits
  };
  static Format parseSettings(const QString& settings);  // raises 380
  void applyFormat(const Format& f);                      // raises 8015
  void requireOpen() const;
  void pull();  // moves what the device has into the receive buffer
  void dropDevice();  // the device hung up: keep what it sent, stop watching it

  std::unique_ptr<QSerialPort> port_;
  int commPort_ = 1;
  QString settings_ = QStringLiteral("9600,N,8,1");
  int inputLen_ = 0;
  QByteArray buffer_;
  bool lost_ = false;
};

}  // namespace platform
