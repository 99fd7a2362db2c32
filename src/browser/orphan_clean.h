#pragma once

#include <atomic>
#include <filesystem>

namespace vistrel::browser {

struct CleanResult {
  int filesDeleted = 0;
  int foldersRemoved = 0;
};

// Deletes the cache pictures below the root whose sources are gone, and the
// folders that leaves empty; files the cache did not write stay. Folders whose
// names begin with "." and folders marked with "cd.id" are not entered.
// Failures to delete are ignored: another clean may run over the same tree at
// the same time. Stops early when `stop` is set. Throws Error, deleting
// nothing, when the root is not the cache's own folder.
CleanResult cleanOrphans(const std::filesystem::path& root, const std::atomic<bool>& stop);

// Runs cleanOrphans on a detached thread of idle priority; nobody waits for it.
// A refusal goes to the log: callers check the folder first to tell the user.
void startOrphanClean(const std::filesystem::path& root);

}  // namespace vistrel::browser
