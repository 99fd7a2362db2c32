#include "tools/search/ui/search_run.h"

#include "platform/text.h"

namespace vistrel::search::ui {

SearchRun::SearchRun(const FileCriteria& criteria, std::filesystem::path start) {
  TMyFF finder(criteria);
  finder.OnDirectory = [this](const std::filesystem::path& folder) {
    const std::lock_guard lock(mutex_);
    pending_.folder = platform::displayName(folder);
    return true;
  };
  finder.OnFileFound = [this](const FoundFile& file) {
    const std::lock_guard lock(mutex_);
    pending_.hits.push_back(file);
    return true;
  };
  worker_ = std::thread([this, finder = std::move(finder), start = std::move(start)] {
    finder.Search(start, cancel_);
    const std::lock_guard lock(mutex_);
    pending_.finished = true;
  });
}

SearchRun::~SearchRun() {
  cancel_ = true;
  worker_.join();
}

SearchRun::Progress SearchRun::take() {
  const std::lock_guard lock(mutex_);
  Progress taken = std::move(pending_);
  pending_ = Progress{};
  pending_.folder = taken.folder;
  pending_.finished = taken.finished;
  return taken;
}

}  // namespace vistrel::search::ui
