#include "fakemodem.h"

#include <QCoreApplication>
#include <QDir>
#include <QDeadlineTimer>
#include <QFile>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

#include "platform/registry.h"

namespace testsupport {

FakeModem::FakeModem(bool answers) : answers_(answers) {
  char name[256] = {};
  if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  // Raw both ways, also after the program restores the terminal on close, so
  // an answer arriving after a close is never echoed back as a command.
  termios t{};
  tcgetattr(slave_, &t);
  cfmakeraw(&t);
  tcsetattr(slave_, TCSANOW, &t);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  if (pipe2(wake_, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  device_ = QString::fromLocal8Bit(name);
  thread_ = std::thread([this] { run(); });
}

FakeModem::~FakeModem() { unplug(); }

void FakeModem::unplug() {
  if (thread_.joinable()) {
    const char stop = 0;
    while (::write(wake_[1], &stop, 1) < 0 && errno == EINTR) {
    }
    thread_.join();
  }
  for (int* fd : {&slave_, &master_, &wake_[0], &wake_[1]}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
}

QByteArray FakeModem::received() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return received_;
}

QStringList FakeModem::commands() const {
  QStringList list = QString::fromLatin1(received()).split(QLatin1Char('\r'));
  list.removeLast();  // text after the last CR is not a whole command yet
  return list;
}

void FakeModem::clearReceived() {
  std::lock_guard<std::mutex> lock(mutex_);
  received_.clear();
}

void FakeModem::holdDialAnswer(bool hold) { holdDial_ = hold; }

void FakeModem::releaseDial() {
  if (dialPending_.exchange(false)) writeAll("\r\nOK\r\n");
}

void FakeModem::send(const QByteArray& bytes) { writeAll(bytes); }

void FakeModem::writeAll(const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.constData() + done, bytes.size() - done);
    if (n > 0) done += n;
    else if (errno != EAGAIN && errno != EINTR) return;
  }
}

void FakeModem::run() {
  for (;;) {
    // Sleeps until the program writes or the modem is told to stop.
    pollfd p[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (::poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (p[1].revents) return;
    if (!(p[0].revents & POLLIN)) {
      if (p[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {  // nothing more to read: wait for the stop
        pollfd stop{wake_[0], POLLIN, 0};
        while (::poll(&stop, 1, -1) < 0 && errno == EINTR) {
        }
        return;
      }
      continue;
    }
    char buf[256];
    const ssize_t n = ::read(master_, buf, sizeof buf);
    if (n <= 0) continue;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      received_.append(buf, n);
    }
    for (ssize_t i = 0; i < n; ++i) {
      if (buf[i] != '\r') {
        line_ += buf[i];
        continue;
      }
      const QByteArray command = line_.trimmed().toUpper();
      line_.clear();
      if (!answers_ || !command.startsWith("AT")) continue;
      if (command.startsWith("ATD") && holdDial_) {
        dialPending_ = true;
        continue;
      }
      writeAll("\r\nOK\r\n");
    }
  }
}

int FakeModem::unread() const {
  int queued = 0;
  if (slave_ < 0 || ::ioctl(slave_, FIONREAD, &queued) != 0) return -1;
  return queued;
}

bool FakeModem::waitUnread(int bytes) const {
  QDeadlineTimer deadline(10000);
  for (;;) {
    const int queued = unread();
    if (queued < 0) return false;
    if (queued >= bytes) return true;
    if (deadline.hasExpired()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

DeviceFolder::DeviceFolder() {
  if (!dir_.isValid() || !QFile::link(QStringLiteral("/proc/sys/kernel/osrelease"), denied()))
    throw std::runtime_error("cannot make the test's device folder");
}

QString DeviceFolder::missing(int port) const { return dir_.filePath(QStringLiteral("no-port-%1").arg(port)); }

QString DeviceFolder::denied() const { return dir_.filePath(QStringLiteral("denied")); }

namespace {
double cpuSeconds(int who) {
  rusage u{};
  getrusage(who, &u);
  auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
  return seconds(u.ru_utime) + seconds(u.ru_stime);
}
}  // namespace

double threadCpuSeconds() { return cpuSeconds(RUSAGE_THREAD); }
double processCpuSeconds() { return cpuSeconds(RUSAGE_SELF); }

void mapPort(int port, const QString& device) {
  platform::SaveSetting(QCoreApplication::applicationName(), QStringLiteral("Ports"),
                        QStringLiteral("COM%1").arg(port), device);
}

}  // namespace testsupport
