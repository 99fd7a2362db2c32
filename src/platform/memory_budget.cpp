#include "platform/memory_budget.h"

namespace vistrel::platform {

MemoryBudget::Share MemoryBudget::take(std::uint64_t bytes) {
  std::unique_lock lock(mutex_);
  ++waiting_;
  freed_.wait(lock, [&] { return held_ == 0 || held_ + bytes <= total_; });
  --waiting_;
  held_ += bytes;
  return Share(*this, bytes);
}

void MemoryBudget::give(std::uint64_t bytes) {
  {
    const std::lock_guard lock(mutex_);
    held_ -= bytes;
  }
  freed_.notify_all();
}

std::uint64_t MemoryBudget::held() const {
  const std::lock_guard lock(mutex_);
  return held_;
}

int MemoryBudget::waiting() const {
  const std::lock_guard lock(mutex_);
  return waiting_;
}

}  // namespace vistrel::platform
