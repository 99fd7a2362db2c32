#include "cli/cache_command.h"

#include <atomic>
#include <iostream>
#include <optional>

#include "browser/file_commands.h"
#include "browser/folder_listing.h"
#include "browser/orphan_clean.h"
#include "browser/thumbnail_cache.h"
#include "cli/jobs_option.h"
#include "cli/stored_options.h"
#include "platform/heap_tuning.h"
#include "platform/ordered_pool.h"
#include "platform/text.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kOptions[] = {
    {"--jobs", "N", "Make N entries at once (1 to 256; default: one per processor core)."},
    {"--clean", "", "Instead of filling, delete the entries whose photos are gone, and the folders that leaves "
                    "empty."},
};

struct CacheTally {
  int created = 0;
  int current = 0;
  int small = 0;
  int failed = 0;
};

class CacheCommand : public Command {
 public:
  explicit CacheCommand(const ParsedArguments& args)
      : jobs_(args.has("--jobs") ? parseJobs(*args.last("--jobs")) : defaultJobs()),
        clean_(args.has("--clean")),
        folders_(args.operands.begin(), args.operands.end()) {
    if (clean_ == !folders_.empty()) throw UsageError("give either folders or --clean");
  }

  int run() override {
    const options::ProgramOptions options = storedProgramOptions();
    if (clean_) return cleanCache(options.cacheFolder);
    platform::reuseLargeBuffers();
    browser::ThumbnailCache cache(browser::cacheSettingsOf(options));
    CacheTally tally;
    for (const fs::path& folder : folders_) {
      std::error_code ec;
      if (!fs::is_directory(folder, ec)) throw Error(folder.string() + ": no such folder");
      fillFolder(cache, fs::absolute(folder), tally);
    }
    std::cout << tally.created << " created, " << tally.current << " already current, " << tally.small
              << " below the minimum size, " << tally.failed << " failed (cache " << options.cacheFolder.string()
              << ")\n";
    return tally.failed == 0 ? 0 : 1;
  }

 private:
  static int cleanCache(const fs::path& root) {
    const std::atomic<bool> stop{false};
    const browser::CleanResult result = browser::cleanOrphans(root, stop);
    std::cout << result.filesDeleted << " orphaned entries deleted, " << result.foldersRemoved
              << " folders removed (cache " << root.string() << ")\n";
    return 0;
  }

  // Sorts the folder's files by what they need on this thread (the cache
  // location is not shared between threads), then makes the missing entries
  // on the pool, reporting them in list order.
  void fillFolder(browser::ThumbnailCache& cache, const fs::path& folder, CacheTally& tally) const {
    struct Job {
      fs::path source, entry;
    };
    std::vector<Job> jobs;
    for (const browser::ListedFile& file : browser::listFolderFiles(folder, {})) {
      if (cache.isBelowMinimum(file.path)) {
        ++tally.small;
      } else if (cache.isCurrent(file.path)) {
        ++tally.current;
      } else if (const auto entry = tryOrReport(file.path, tally, [&] { return cache.prepareEntry(file.path); })) {
        jobs.push_back({file.path, *entry});
      }
    }
    platform::OrderedPool<bool> pool(jobs_, jobs.size(),
                                     [&](std::size_t i) { return cache.writeEntry(jobs[i].source, jobs[i].entry); });
    for (std::size_t i = 0; i < jobs.size(); ++i) {
      std::cerr << "[" << i + 1 << "/" << jobs.size() << "] " << platform::displayName(jobs[i].source) << "\n";
      const auto written = tryOrReport(jobs[i].source, tally, [&] { return pool.take(i); });
      if (!written) continue;
      if (*written) {
        ++tally.created;
      } else {
        std::cerr << platform::displayName(jobs[i].source) << ": not a picture\n";
        ++tally.failed;
      }
    }
  }

  // The step's result, or nothing when it failed: the failure is reported and counted.
  template <typename Step>
  static auto tryOrReport(const fs::path& source, CacheTally& tally, Step step) -> std::optional<decltype(step())> {
    try {
      return step();
    } catch (const Error& error) {
      std::cerr << platform::displayName(source) << ": " << platform::textFromFile(error.what()) << "\n";
      ++tally.failed;
      return std::nullopt;
    }
  }

  unsigned jobs_;
  bool clean_;
  std::vector<fs::path> folders_;
};

}  // namespace

const CommandInfo& cacheCommand() {
  static const CommandInfo info{
      "cache",
      "cache [--jobs N] FOLDER... | cache --clean",
      "Make or renew the thumbnail cache entries of the image files of the folders, so that the browser shows "
      "them at once; --clean deletes the entries whose photos are gone.",
      kOptions,
      "The cache folder, the thumbnail size and the minimum file size are the program options of the browser's "
      "options window. Progress goes to standard error; the closing count to standard output.",
      "",
      "  # prepare the thumbnails of a shoot before browsing it\n"
      "  vistrel cache --jobs 2 ~/Photos/2026-12-Lofoten",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<CacheCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
