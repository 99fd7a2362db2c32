#include "cli/cache_command.h"

#include <atomic>
#include <iostream>

#include "browser/file_commands.h"
#include "browser/folder_listing.h"
#include "browser/orphan_clean.h"
#include "browser/program_options.h"
#include "browser/thumbnail_cache.h"
#include "platform/program_data.h"
#include "platform/settings_store.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

browser::ProgramOptions storedOptions() {
  const fs::path programData = platform::programDataFolder();
  browser::ProgramOptions options = browser::ProgramOptions::defaults(programData);
  platform::SettingsStore store;
  browser::readProgramOptions(store, browser::addressFile(programData), options);
  return options;
}

struct CacheTally {
  int created = 0;
  int current = 0;
  int small = 0;
  int failed = 0;
};

class CacheCommand : public Command {
 public:
  explicit CacheCommand(std::vector<std::string> args) {
    for (std::string& arg : args) {
      if (arg == "--clean") {
        clean_ = true;
      } else if (arg.starts_with("--")) {
        throw UsageError("unknown option " + arg);
      } else {
        folders_.emplace_back(std::move(arg));
      }
    }
    if (clean_ == !folders_.empty()) throw UsageError("give either folders or --clean");
  }

  int run() override {
    const browser::ProgramOptions options = storedOptions();
    if (clean_) return cleanCache(options.cacheFolder);
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

  static void fillFolder(browser::ThumbnailCache& cache, const fs::path& folder, CacheTally& tally) {
    const std::vector<browser::ListedFile> files = browser::listFolderFiles(folder, {});
    int position = 0;
    for (const browser::ListedFile& file : files) {
      std::cerr << "[" << ++position << "/" << files.size() << "] " << file.path.string() << "\n";
      try {
        if (cache.isCurrent(file.path)) {
          ++tally.current;
        } else if (const fs::path entry = cache.thumbnailSource(file.path); entry == file.path) {
          ++tally.small;
        } else if (entry.empty()) {
          std::cerr << file.path.string() << ": not a picture\n";
          ++tally.failed;
        } else {
          ++tally.created;
        }
      } catch (const Error& error) {
        std::cerr << file.path.string() << ": " << error.what() << "\n";
        ++tally.failed;
      }
    }
  }

  bool clean_ = false;
  std::vector<fs::path> folders_;
};

}  // namespace

std::unique_ptr<Command> makeCacheCommand(std::vector<std::string> args) {
  return std::make_unique<CacheCommand>(std::move(args));
}

}  // namespace vistrel::cli
