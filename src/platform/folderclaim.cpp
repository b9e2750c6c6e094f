#include "folderclaim.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace platform {

namespace {

// The folder this process holds, for as long as it runs. Close-on-exec: a
// program it starts (a help viewer, a mail client) must not inherit the claim.
int heldFd = -1;
struct stat held {};

}  // namespace

bool ClaimFolder(const QString& folder) {
  const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return true;
  }
  if (heldFd >= 0 && st.st_dev == held.st_dev && st.st_ino == held.st_ino) {
    ::close(fd);
    return true;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool taken = errno == EWOULDBLOCK;
    ::close(fd);
    return !taken;
  }
  if (heldFd >= 0) ::close(heldFd);
  heldFd = fd;
  held = st;
  return true;
}

}  // namespace platform
