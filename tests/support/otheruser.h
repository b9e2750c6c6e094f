#pragma once
// File access as a user other than root, on the calling thread only: while
// the object lives the kernel checks every open, stat and rename by that
// user's rights (Linux fsuid and fsgid; root's override of file modes is
// dropped with them). A test not run as root keeps its own user, to whom
// file modes apply already.
#include <QString>
#include <sys/types.h>

namespace testsupport {

class FileAccessAs {
 public:
  explicit FileAccessAs(const char* user = "nobody");
  ~FileAccessAs();
  FileAccessAs(const FileAccessAs&) = delete;
  FileAccessAs& operator=(const FileAccessAs&) = delete;

 private:
  bool switched_ = false;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
};

// Lets any user reach and read `folder` (QTemporaryDir makes it private).
void openToEveryone(const QString& folder);

}  // namespace testsupport
