#include "platform/threads.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

namespace vistrel::platform {
namespace {

// Below this many items a thread costs more than it saves.
constexpr std::size_t kItemsPerThread = 500;

}  // namespace

void useIdlePriority() {
  const sched_param none{};
  // Failure leaves the normal priority, which is only slower for the user.
  pthread_setschedparam(pthread_self(), SCHED_IDLE, &none);
}

void inParallel(std::size_t count, const std::function<void(std::size_t begin, std::size_t end)>& work) {
  const std::size_t ranges =
      std::clamp<std::size_t>(count / kItemsPerThread, 1, std::max(1u, std::thread::hardware_concurrency()));
  const std::size_t step = (count + ranges - 1) / ranges;
  std::vector<std::exception_ptr> errors(ranges);
  const auto run = [&](std::size_t range) {
    try {
      work(range * step, std::min(count, (range + 1) * step));
    } catch (...) {
      errors[range] = std::current_exception();
    }
  };
  {
    std::vector<std::jthread> helpers;
    for (std::size_t range = 1; range < ranges; ++range) helpers.emplace_back(run, range);
    run(0);
  }
  for (const std::exception_ptr& error : errors) {
    if (error) std::rethrow_exception(error);
  }
}

}  // namespace vistrel::platform
