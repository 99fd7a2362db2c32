#pragma once

#include <cstddef>
#include <functional>

namespace vistrel::platform {

// Lets the calling thread run only when nothing else wants the processor.
void useIdlePriority();

// Runs work(begin, end) over [0, count) cut into one range per processor, the
// calling thread taking the first, and returns when all are done. Small counts
// stay on the calling thread. What a range throws is thrown here once all have ended.
void inParallel(std::size_t count, const std::function<void(std::size_t begin, std::size_t end)>& work);

}  // namespace vistrel::platform
