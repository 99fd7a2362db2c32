#include "platform/threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace vistrel::platform {
namespace {

TEST(InParallel, CoversEachItemOnceAndPassesOnWhatARangeThrows) {
  for (const std::size_t count : {0, 1, 499, 10001}) {
    std::vector<std::atomic<int>> seen(count);
    inParallel(count, [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) ++seen[i];
    });
    for (std::size_t i = 0; i < count; ++i) ASSERT_EQ(seen[i], 1) << i << " of " << count;
  }
  EXPECT_THROW(inParallel(10000,
                          [](std::size_t, std::size_t end) {
                            if (end == 10000) throw std::runtime_error("the last range failed");
                          }),
               std::runtime_error);
}

}  // namespace
}  // namespace vistrel::platform
