#pragma once

namespace vistrel::platform {

// For batch commands that pass every photo through a few pictures of several
// megabytes: keeps freed large blocks in the heap for the next photo instead
// of returning them to the system. Long-lived processes should not call it.
void reuseLargeBuffers();

}  // namespace vistrel::platform
