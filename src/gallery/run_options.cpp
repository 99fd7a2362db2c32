#include "gallery/run_options.h"

#include "options/program_options.h"

namespace vistrel::gallery {

RunOptions readRunOptions(platform::SettingsStore& store, const std::filesystem::path& programData) {
  auto stored = options::ProgramOptions::defaults(programData);
  options::readProgramOptions(store, options::addressFile(programData), stored);
  return {stored.replaceExisting, stored.fixFilenames};
}

}  // namespace vistrel::gallery
