#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace vistrel::browser {

struct CacheUsage {
  std::uint64_t bytes = 0;
  std::uint64_t files = 0;
  std::uint64_t folders = 0;
};

// What the cache below the root holds; an unreadable part counts as empty.
// Setting `stop` ends the count early with what was counted so far.
CacheUsage cacheUsage(const std::filesystem::path& root, const std::atomic<bool>* stop = nullptr);

// The files below the root that the cache wrote (isCacheEntry), and their size.
struct CacheEntries {
  std::vector<std::filesystem::path> files;
  std::uint64_t bytes = 0;
};
// Throws Error when the root exists but is not the cache's own folder.
CacheEntries cacheEntries(const std::filesystem::path& root);

// Moves the entries to the trash and removes the folders below the root that
// this empties; the root, its marker and every other file stay. Throws Error
// for the first entry that cannot be moved.
void trashCacheEntries(const std::filesystem::path& root, const CacheEntries& entries);

}  // namespace vistrel::browser
