#include "platform/memory_budget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <thread>

namespace vistrel::platform {
namespace {

TEST(MemoryBudget, ATakerWaitsUntilItsShareFitsAndAGiantRunsAlone) {
  MemoryBudget budget(1000);
  std::optional<MemoryBudget::Share> first = budget.take(600);
  std::atomic<bool> second{false};
  std::thread waiter([&] {
    const auto share = budget.take(600);
    second = true;
  });
  while (budget.waiting() == 0) std::this_thread::yield();
  EXPECT_FALSE(second);
  EXPECT_EQ(budget.held(), 600u);
  first.reset();
  waiter.join();
  EXPECT_TRUE(second);
  EXPECT_EQ(budget.held(), 0u);
  {
    const auto giant = budget.take(5000);  // more than all: granted when nothing else is held
    EXPECT_EQ(budget.held(), 5000u);
  }
  EXPECT_EQ(budget.held(), 0u);
}

}  // namespace
}  // namespace vistrel::platform
