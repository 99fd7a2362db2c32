#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vistrel::platform {

// Runs make(0) … make(count-1) on `workers` threads and hands the results back
// in list order. Workers run at most 2·workers items ahead of the last one
// taken, so a slow consumer (a question waiting for the user) holds memory
// bounded. With one worker nothing runs in the background: take() makes the
// item on the caller's thread, which keeps single-threaded fakes usable.
template <typename Result>
class OrderedPool {
 public:
  using Make = std::function<Result(std::size_t)>;

  OrderedPool(unsigned workers, std::size_t count, Make make)
      : make_(std::move(make)), slots_(count), window_(2 * static_cast<std::size_t>(workers)) {
    if (workers <= 1) return;
    for (unsigned i = 0; i < workers; ++i) threads_.emplace_back([this] { work(); });
  }
  OrderedPool(const OrderedPool&) = delete;
  OrderedPool& operator=(const OrderedPool&) = delete;
  ~OrderedPool() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

  // The result of item `index`; items must be taken in order. Rethrows what
  // make() threw for that item.
  Result take(std::size_t index) {
    if (threads_.empty()) return make_(index);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return slots_[index].done; });
    Slot slot = std::move(slots_[index]);
    slots_[index] = Slot{};
    taken_ = index + 1;
    lock.unlock();
    changed_.notify_all();
    if (slot.error) std::rethrow_exception(slot.error);
    return std::move(*slot.result);
  }

 private:
  struct Slot {
    std::optional<Result> result;
    std::exception_ptr error;
    bool done = false;
  };

  void work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [&] { return stopping_ || (next_ < slots_.size() && next_ < taken_ + window_); });
      if (stopping_ || next_ >= slots_.size()) return;
      const std::size_t index = next_++;
      lock.unlock();
      Slot slot;
      try {
        slot.result.emplace(make_(index));
      } catch (...) {
        slot.error = std::current_exception();
      }
      slot.done = true;
      lock.lock();
      slots_[index] = std::move(slot);
      changed_.notify_all();
    }
  }

  Make make_;
  std::vector<Slot> slots_;
  std::size_t window_;
  std::size_t next_ = 0;   // the next item a worker starts
  std::size_t taken_ = 0;  // items handed back so far
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> threads_;
};

}  // namespace vistrel::platform
