// The test hook that makes row writes fail.
#include "dao_faults.h"

#include <algorithm>

#include "dao_internal.h"

namespace dao {
namespace {
int writesLeft = -1;  // -1: no fault set
}  // namespace

void faults::FailRowWritesAfter(int writes) { writesLeft = std::max(0, writes); }
void faults::Clear() { writesLeft = -1; }

void detail::beforeRowWrite() {
  if (writesLeft < 0) return;
  if (writesLeft == 0) platform::Raise(3026, QStringLiteral("Not enough space on disk."));
  --writesLeft;
}

}  // namespace dao
