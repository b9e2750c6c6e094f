#pragma once
// One running copy of the program per folder. The claim is an exclusive lock
// on the folder itself: nothing is written, and the kernel drops the lock when
// the process ends in any way, so a copy that crashed or was killed never
// keeps the next start out.
#include <QString>

namespace platform {

// True when this process now holds `folder` (or held it already); false when
// another running process holds it. A folder that cannot be locked at all
// (no lock support) counts as held: it keeps nobody out.
bool ClaimFolder(const QString& folder);

}  // namespace platform
