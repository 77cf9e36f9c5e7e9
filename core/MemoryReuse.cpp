#include "core/MemoryReuse.h"

#include <malloc.h>

namespace kinovia {

bool KeepFreedMemoryForReuse() {
  // Blocks up to the size glibc's own adaptive threshold can reach come from the heap (fixing the
  // threshold stops it adapting), and the heap's top is given back only beyond kKeptFreeBytes.
  const bool heap = mallopt(M_MMAP_THRESHOLD, kKeptFreeBytes) == 1;
  const bool kept = mallopt(M_TRIM_THRESHOLD, kKeptFreeBytes) == 1;
  return heap && kept;
}

}  // namespace kinovia
