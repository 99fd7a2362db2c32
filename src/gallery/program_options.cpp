#include "gallery/program_options.h"

#include "browser/program_options.h"
#include "platform/program_data.h"

namespace vistrel::gallery {

ProgramOptions readProgramOptions(platform::SettingsStore& store) {
  const auto programData = platform::programDataFolder();
  auto stored = browser::ProgramOptions::defaults(programData);
  browser::readProgramOptions(store, browser::addressFile(programData), stored);
  return {stored.replaceExisting, stored.fixFilenames};
}

}  // namespace vistrel::gallery
