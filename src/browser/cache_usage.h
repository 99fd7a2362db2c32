#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>

namespace vistrel::browser {

struct CacheUsage {
  std::uint64_t bytes = 0;
  std::uint64_t files = 0;
  std::uint64_t folders = 0;
};

// What the cache below the root holds; an unreadable part counts as empty.
// Setting `stop` ends the count early with what was counted so far.
CacheUsage cacheUsage(const std::filesystem::path& root, const std::atomic<bool>* stop = nullptr);

// Moves everything below the root to the trash, leaving the root itself.
// Throws Error for the first entry that cannot be moved.
void trashCacheContents(const std::filesystem::path& root);

}  // namespace vistrel::browser
