#include "platform/ordered_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/error.h"

namespace vistrel::platform {
namespace {

TEST(OrderedPoolTest, HandsBackResultsInOrderAndRethrowsWhereTheItemFailed) {
  std::atomic<int> running{0}, most{0};
  OrderedPool<int> pool(3, 40, [&](std::size_t i) {
    const int now = ++running;
    for (int seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {}
    std::this_thread::sleep_for(std::chrono::microseconds(200 * (i % 4)));
    --running;
    if (i == 30) throw Error("item 30");
    return static_cast<int>(i * i);
  });
  for (std::size_t i = 0; i < 30; ++i) EXPECT_EQ(pool.take(i), static_cast<int>(i * i));
  EXPECT_THROW(pool.take(30), Error);
  EXPECT_LE(most.load(), 3);
}

}  // namespace
}  // namespace vistrel::platform
