#pragma once

namespace vistrel::platform {

// Lets the calling thread run only when nothing else wants the processor.
void useIdlePriority();

}  // namespace vistrel::platform
