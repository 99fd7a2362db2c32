#include "cli/ftp_command.h"

#include <iostream>

#include "cli/terminal_prompter.h"
#include "ftp/uploader.h"
#include "platform/settings_store.h"

namespace vistrel::cli {
namespace {

// vistrel ftp --site NAME [--yes] [FOLDER]
class FtpCommand : public Command {
 public:
  explicit FtpCommand(std::vector<std::string> args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& arg = args[i];
      if (arg == "--site") {
        if (++i == args.size()) throw UsageError("--site needs the name of a server");
        site_ = args[i];
      } else if (arg.starts_with("--site=")) {
        site_ = arg.substr(7);
      } else if (arg == "--yes") {
        assumeYes_ = true;
      } else if (arg.starts_with("-") && arg != "-") {
        throw UsageError("unknown option '" + arg + "'");
      } else if (!folder_.empty()) {
        throw UsageError("only one folder can be uploaded");
      } else {
        folder_ = arg;
      }
    }
    if (site_.empty()) throw UsageError("the server is missing (--site NAME)");
  }

  int run() override {
    if (folder_.empty()) folder_ = galleryTargetFolder();
    TerminalPrompter prompter(assumeYes_);
    return uploadFromTerminal(site_, folder_, prompter);
  }

 private:
  // The folder the last gallery run wrote to.
  static std::string galleryTargetFolder() {
    platform::SettingsStore store;
    const auto key = store.openKey(platform::kProgramKey, false);
    if (!key || !key->valueExists("TargetFolder") || key->valueType("TargetFolder") != platform::ValueType::String) {
      throw UsageError("no FOLDER given and no gallery target folder is remembered");
    }
    return key->readString("TargetFolder");
  }

  std::string site_;
  std::string folder_;
  bool assumeYes_ = false;
};

}  // namespace

int uploadFromTerminal(const std::string& site, const std::filesystem::path& folder, TerminalPrompter& prompter) {
  ftp::UploadEvents events;
  events.log = [](const std::string& line) { std::cerr << line << "\n"; };
  events.askPassword = [] { return TerminalPrompter::readSecret("Enter server password: "); };
  return ftp::uploadFolder(site, folder, prompter, std::move(events)) == ftp::UploadResult::Done ? 0 : 1;
}

std::unique_ptr<Command> makeFtpCommand(std::vector<std::string> args) {
  return std::make_unique<FtpCommand>(std::move(args));
}

}  // namespace vistrel::cli
