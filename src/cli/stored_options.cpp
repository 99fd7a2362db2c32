#include "cli/stored_options.h"

#include "platform/program_data.h"
#include "platform/settings_store.h"

namespace vistrel::cli {

options::ProgramOptions storedProgramOptions() {
  const std::filesystem::path programData = platform::programDataFolder();
  options::ProgramOptions options = options::ProgramOptions::defaults(programData);
  platform::SettingsStore store;
  options::readProgramOptions(store, options::addressFile(programData), options);
  return options;
}

}  // namespace vistrel::cli
