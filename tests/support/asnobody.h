#pragma once
// Permission cases as a user other than root meets them (root ignores file
// modes): while an AsNobody lives, the whole test process acts as `nobody`
// (effective user and group, no supplementary groups), and root again after.
#include <QString>
#include <sys/types.h>
#include <initializer_list>
#include <vector>

namespace testsupport {

constexpr unsigned kNobody = 65534;

class AsNobody {
 public:
  AsNobody();
  ~AsNobody();
  AsNobody(const AsNobody&) = delete;
  AsNobody& operator=(const AsNobody&) = delete;
  bool active() const { return active_; }

 private:
  std::vector<gid_t> groups_;
  bool active_ = false;
};

// Hands files and folders to nobody, as that user's own; the running test
// fails when one cannot be.
void giveToNobody(std::initializer_list<QString> paths);
// Lets any user reach and write in these folders (QTemporaryDir makes them private).
void openToEveryone(std::initializer_list<QString> folders);

}  // namespace testsupport
