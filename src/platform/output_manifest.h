#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace vistrel::platform {

// The files a run of the program wrote into a folder the user gave it, kept
// in a hidden file there, so that later runs can tell them from the user's
// own files: a gallery takes none of them as photos, and an upload of the
// folder knows which sub-folders belong to it.
inline constexpr const char* kOutputManifestName = ".vistrel-outputs";

// The files listed, as paths relative to the folder with "/" between
// folders; empty when the folder has no manifest or it cannot be read.
std::set<std::string> readOutputManifest(const std::filesystem::path& folder);

// Adds the files (which lie below the folder) to its manifest, dropping the
// entries whose files are gone. Concurrent runs both keep theirs. Throws Error.
void recordOutputs(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& files);

}  // namespace vistrel::platform
