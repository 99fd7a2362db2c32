#pragma once

#include <atomic>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fake_metadata.h"
#include "gallery/run_context.h"
#include "support/scripted_prompter.h"
#include "support/temp_folder.h"

namespace vistrel::gallery {

// A target folder, a program data folder and the run's shared objects.
struct PageFixture : ::testing::Test {
  test::TempFolder folder;
  GallerySettings settings = GallerySettings::defaults();
  RunOptions options;
  test::ScriptedPrompter prompter;
  std::atomic<bool> cancel{false};
  RunObserver observer;
  FakeMetadata meta;
  OutputLedger outputs{folder / "web", false};

  PageFixture() {
    settings.TargetFolder = (folder / "web").string();
    settings.ParamString = "%FName";
    std::filesystem::create_directories(folder / "web");
  }

  RunContext context(OverwriteGuard& guard) {
    return {settings, options, guard, cancel, observer, meta, folder / "data", outputs};
  }

  // A written page, line by line (every line ends in CR LF).
  std::vector<std::string> lines(const std::string& name) const;
  bool exists(const std::string& name) const;
};

// The first line of every page.
inline const std::string kHead =
    "<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">";
// The font-open text of the default settings.
inline const std::string kFont = "<FONT FACE=\"Tahoma\" Size=\"-1\" Color=\"#000000\">";
inline const std::string kNavTable = "<TABLE border=0 width=500 cellpadding=8 cellspacing=8><TR>";

}  // namespace vistrel::gallery
