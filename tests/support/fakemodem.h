#pragma once
// A modem on a pseudo-terminal: the program opens the terminal's device as a
// serial port, a thread on the other side reads its commands (CR-terminated)
// and answers "OK" CR LF to every AT command, unless told to stay silent or to
// hold back the answer to a dial command.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <atomic>
#include <mutex>
#include <thread>

namespace testsupport {

class FakeModem {
 public:
  explicit FakeModem(bool answers = true);
  ~FakeModem();
  FakeModem(const FakeModem&) = delete;
  FakeModem& operator=(const FakeModem&) = delete;

  QString device() const { return device_; }
  QByteArray received() const;  // every byte the program sent, in order
  QStringList commands() const; // the CR-terminated commands, CR removed
  void clearReceived();

  // While held, a dial command ("ATD...") gets no answer until released.
  void holdDialAnswer(bool hold);
  void releaseDial();  // answers a held dial command now
  void send(const QByteArray& bytes);  // unsolicited text from the modem
  // Bytes the modem sent that lie in the terminal, unread by the program.
  int unread() const;
  // Waits until at least this many bytes the modem sent lie in the terminal,
  // unread by the program (false after ten seconds). Runs no events, so the
  // program reads nothing meanwhile.
  bool waitUnread(int bytes) const;
  // The modem goes away, as a USB modem pulled out: the terminal is closed and
  // the program's side of it hangs up.
  void unplug();

 private:
  void run();
  void writeAll(const QByteArray& bytes);

  int master_ = -1;
  int slave_ = -1;  // kept open so the terminal never hangs up between sessions
  QString device_;
  bool answers_;
  int wake_[2] = {-1, -1};  // a byte written here stops the thread
  std::atomic<bool> holdDial_{false};
  std::atomic<bool> dialPending_{false};
  mutable std::mutex mutex_;
  QByteArray received_;
  QByteArray line_;
  std::thread thread_;
};

// Device paths of a test's own, in a temporary folder of its own. The serial
// layer names its lock files after the device's path, so two test programs
// running at once never meet on a lock.
class DeviceFolder {
 public:
  DeviceFolder();
  // A device path that does not exist, for a port with nothing behind it.
  QString missing(int port) const;
  // A device that exists but that the user may not open for reading and
  // writing, whoever the user is (root included): a link to a read-only
  // kernel file, which the kernel lets nobody write.
  QString denied() const;

 private:
  QTemporaryDir dir_;
};

// Processor time the calling thread has used so far, in seconds: the program's
// own event loop, without the fake modem's thread or anything else at work.
double threadCpuSeconds();
// Processor time of the whole process (every thread), in seconds.
double processCpuSeconds();

// Maps COMn to a device in the per-user settings file of the program (the
// application's name picks the file), as a user with a USB modem does.
void mapPort(int port, const QString& device);

}  // namespace testsupport
