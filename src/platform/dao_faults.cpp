// The test hook that makes row writes fail.
#include "dao_faults.h"

#include <algorithm>

#include "dao_internal.h"

namespace dao {
namespace {
int writesLeft = -1;  // -1: no fault set
std::function<void()> onBusyWait;
}  // namespace

void faults::FailRowWritesAfter(int writes) { writesLeft = std::max(0, writes); }
void faults::OnBusyWait(std::function<void()> action) { onBusyWait = std::move(action); }
void faults::Clear() {
  writesLeft = -1;
  onBusyWait = nullptr;
}

void detail::busyWaitBegins() {
  if (!onBusyWait) return;
  const auto action = std::move(onBusyWait);
  onBusyWait = nullptr;
  action();
}

void detail::beforeRowWrite() {
  if (writesLeft < 0) return;
  if (writesLeft == 0) platform::Raise(3026, QStringLiteral("Not enough space on disk."));
  --writesLeft;
}

}  // namespace dao
