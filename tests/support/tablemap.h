#pragma once
// The tables map loaded and shown, as the user sees it.
class frmTableMap;

namespace testsupport {

// Fails the running test when the window is never exposed.
frmTableMap& showMap();

}  // namespace testsupport
