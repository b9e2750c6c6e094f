#pragma once
// For tests: makes the engine's row writes fail as a full disk would, so that
// what a caller does when a write fails halfway can be tried.
namespace dao::faults {

// The next `writes` row writes (an Update after AddNew or Edit, a Delete)
// succeed; every one after them fails with error 3026 and stores nothing,
// until Clear.
void FailRowWritesAfter(int writes);
void Clear();

}  // namespace dao::faults
