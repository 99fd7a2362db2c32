#pragma once

#include <filesystem>
#include <vector>

#include "gallery/gallery_run.h"
#include "platform/prompter.h"

namespace vistrel::gallery::ui {

class GalleryRunner;
class TThumbFrm;

// The main window's "Create thumbnails": with no candidate files it says
// "Nothing to do ..", otherwise it clears "HTML only", shows the options
// dialog modally and, on "C&reate", starts the run. True when a run started.
bool createThumbnails(TThumbFrm& dialog, GalleryRunner& runner, const std::vector<std::filesystem::path>& candidates,
                      CandidateSource from, platform::Prompter& prompter);

}  // namespace vistrel::gallery::ui
