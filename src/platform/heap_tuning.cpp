#include "platform/heap_tuning.h"

#include <malloc.h>

namespace vistrel::platform {

// By default the allocator maps each large picture fresh and unmaps it on
// release, so every picture pays for zeroed pages again: more than half a
// gallery run's CPU time on 12-MP photos.
void reuseLargeBuffers() {
  constexpr int kLargest = 256 << 20;
  mallopt(M_MMAP_THRESHOLD, kLargest);
  mallopt(M_TRIM_THRESHOLD, kLargest);
}

// The allocator would otherwise raise its mapping threshold after the first
// large release and keep later pictures in the heap of whichever thread
// decoded them.
void returnLargeBuffers() { mallopt(M_MMAP_THRESHOLD, 4 << 20); }

void returnFreeMemory() { malloc_trim(0); }

}  // namespace vistrel::platform
