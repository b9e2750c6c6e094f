#pragma once
// For tests: makes the engine's row writes fail as a full disk would, so that
// what a caller does when a write fails halfway can be tried; and lets a test
// act while the engine waits for a file another program holds.
#include <functional>

namespace dao::faults {

// The next `writes` row writes (an Update after AddNew or Edit, a Delete)
// succeed; every one after them fails with error 3026 and stores nothing,
// until Clear.
void FailRowWritesAfter(int writes);
// Runs `action` once, when the engine next begins to wait for a busy file.
void OnBusyWait(std::function<void()> action);
void Clear();

}  // namespace dao::faults
