#pragma once
// How the process's allocator treats big blocks once they are freed.

namespace kinovia {

// Keeps freed big blocks (columns of long tables, frames) in the process for the next allocation
// instead of handing them back to the system at once: on this kind of machine every fresh page
// costs a fault of several microseconds, which made a first evaluation of the user's formulas
// twice as slow as the next one. Up to kKeptFreeBytes of free memory stay resident. Call once,
// first thing in a main; false when the allocator refused (a sanitizer's, for one).
bool KeepFreedMemoryForReuse();

inline constexpr int kKeptFreeBytes = 32 * 1024 * 1024;

}  // namespace kinovia
