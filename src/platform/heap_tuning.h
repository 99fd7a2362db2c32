#pragma once

namespace vistrel::platform {

// For batch commands that pass every photo through a few pictures of several
// megabytes: keeps freed large blocks in the heap for the next photo instead
// of returning them to the system. Long-lived processes should not call it.
void reuseLargeBuffers();

// For the program's windows, which stay open for hours: every picture of a
// few megabytes gets its own mapping and goes back to the system when freed,
// so that a browse through big photos does not leave the heap at its peak.
void returnLargeBuffers();

// Gives the system back the free pages of every thread's heap: after work that
// made and dropped many small blocks on another thread, such as reading a
// folder of 100,000 files.
void returnFreeMemory();

}  // namespace vistrel::platform
