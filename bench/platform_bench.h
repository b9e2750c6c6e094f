#pragma once

namespace bench {

// The sorted record set over 10,000 invitations and the grid filled with
// 10,000 rows of 10 cells.
void RegisterPlatformBenchmarks();
// The dialer's port probe past two silent terminals, and a modem going away
// during a call: how long until the call ends and the processor time after.
void RegisterDialerBenchmarks();

}  // namespace bench
