#pragma once

#include <filesystem>
#include <vector>

#include "gallery/run_context.h"

namespace vistrel::gallery {

// One page per image with its larger picture, a caption and links to the
// neighbours and to its index page. Existing pages are replaced.
void writeImagePages(const RunContext& run, const std::vector<std::filesystem::path>& sources);

}  // namespace vistrel::gallery
