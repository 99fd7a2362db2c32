#pragma once

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/search/my_ff.h"

namespace vistrel::search::ui {

// A search on a worker thread. The worker only collects; the window's thread
// takes what came in with take(), a batch at a time, so a tree of many files
// neither floods the window with events nor holds it up.
class SearchRun {
 public:
  SearchRun(const FileCriteria& criteria, std::filesystem::path start);
  // Cancels the search and waits for the worker, which stops within a block
  // of the file it is reading.
  ~SearchRun();
  SearchRun(const SearchRun&) = delete;
  SearchRun& operator=(const SearchRun&) = delete;

  void cancel() { cancel_ = true; }

  struct Progress {
    std::vector<FoundFile> hits;  // since the last take()
    std::string folder;           // the folder being searched
    bool finished = false;        // the worker is done: nothing more will come
  };
  Progress take();

 private:
  std::atomic<bool> cancel_{false};
  std::mutex mutex_;
  Progress pending_;
  std::thread worker_;
};

}  // namespace vistrel::search::ui
