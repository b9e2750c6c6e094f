#pragma once
// A real full disk for a test: a small tmpfs mounted over a folder of the
// test's own (it needs root, as the test machines run). The folder is made the
// current directory again so relative names land on the small disk; the mount
// goes with the object, and whatever was written there with it.
#include <QString>

namespace testsupport {

class SmallDisk {
 public:
  explicit SmallDisk(const QString& folder, int kilobytes = 256);
  ~SmallDisk();
  bool mounted() const { return mounted_; }
  // Fills the disk until at most `room` bytes are left (page granular).
  void fill(qint64 room = 0);
  // Frees what fill() took.
  void empty();

 private:
  QString folder_;
  bool mounted_ = false;
};

}  // namespace testsupport

// Skips the running test where no file system can be mounted.
#define PELMORA_REQUIRE_MOUNTED(disk) \
  if (!(disk).mounted()) QSKIP("a small tmpfs cannot be mounted here (needs root)")
