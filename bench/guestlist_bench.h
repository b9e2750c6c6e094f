#pragma once

namespace bench {

// Per wedding size (1,000 then 10,000 invitations): the full guest list load,
// the same sorted by family name, and the recount of the tables map.
void RegisterGuestListBenchmarks();
// Ends the program and removes the generated folders.
void ReleaseFolders();

}  // namespace bench
