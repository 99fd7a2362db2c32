#pragma once

namespace vistrel::gallery {

// The two program options every gallery run reads; the options dialog keeps
// them with the others (browser::ProgramOptions) and the front end hands them in.
struct ProgramOptions {
  bool cbReplaceExisting = false;  // "Always overwrite existing files when creating thumbnails"
  bool cbFixFilenames = true;      // "Replace illegal characters when creating thumbnails"
};

}  // namespace vistrel::gallery
