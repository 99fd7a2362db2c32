#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vistrel::platform {

// Bytes that the threads of one run share: a thread takes its share before
// it allocates and waits while the share does not fit beside what the others
// hold. A share larger than the whole budget is granted when nothing else is
// held, so that it runs alone rather than never.
class MemoryBudget {
 public:
  explicit MemoryBudget(std::uint64_t bytes) : total_(bytes) {}

  class Share {
   public:
    Share(MemoryBudget& budget, std::uint64_t bytes) : budget_(&budget), bytes_(bytes) {}
    Share(Share&& other) noexcept : budget_(other.budget_), bytes_(other.bytes_) { other.budget_ = nullptr; }
    Share(const Share&) = delete;
    Share& operator=(const Share&) = delete;
    Share& operator=(Share&&) = delete;
    ~Share() {
      if (budget_) budget_->give(bytes_);
    }

   private:
    MemoryBudget* budget_;
    std::uint64_t bytes_;
  };

  // Waits until the bytes fit, then holds them until the share goes.
  Share take(std::uint64_t bytes);

  std::uint64_t held() const;
  int waiting() const;

 private:
  void give(std::uint64_t bytes);

  const std::uint64_t total_;
  mutable std::mutex mutex_;
  std::condition_variable freed_;
  std::uint64_t held_ = 0;
  int waiting_ = 0;
};

}  // namespace vistrel::platform
