#include "cli/ftp_command.h"

#include <iostream>

#include "cli/terminal_prompter.h"
#include "ftp/site_list.h"
#include "ftp/uploader.h"
#include "platform/settings_store.h"

namespace vistrel::cli {
namespace {

constexpr OptionSpec kOptions[] = {
    {"--site", "SITE", "The server to upload to: the name of an entry of the FTP site list (ftp.dat in the program "
                       "data folder), as the upload window shows it."},
    {"--yes", "", "Answer yes to every question, such as whether to upload into a remote folder that exists."},
    {"--list-sites", "", "Print the names of the sites in the FTP site list, one a line, and exit."},
};

class ListSitesCommand : public Command {
 public:
  int run() override {
    ftp::SiteList list;
    list.load();
    for (const ftp::Site& site : list.shownSites()) std::cout << site.description << "\n";
    return 0;
  }
};

class FtpCommand : public Command {
 public:
  explicit FtpCommand(const ParsedArguments& args)
      : site_(args.last("--site").value_or("")), assumeYes_(args.has("--yes")) {
    if (site_.empty()) throw UsageError("the server is missing (--site SITE)");
    if (args.operands.size() > 1) throw UsageError("only one folder can be uploaded");
    if (!args.operands.empty()) folder_ = args.operands.front();
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
  bool assumeYes_ = false;
  std::string folder_;
};

}  // namespace

int uploadFromTerminal(const std::string& site, const std::filesystem::path& folder, TerminalPrompter& prompter) {
  ftp::UploadEvents events;
  events.log = [](const std::string& line) { std::cerr << line << "\n"; };
  events.askPassword = [] { return TerminalPrompter::readSecret("Enter server password: "); };
  return ftp::uploadFolder(site, folder, prompter, std::move(events)) == ftp::UploadResult::Done ? 0 : 1;
}

const CommandInfo& ftpCommand() {
  static const CommandInfo info{
      "ftp",
      "ftp --site SITE [--yes] [FOLDER] | ftp --list-sites",
      "Upload the files of FOLDER (by default the target folder of the last gallery run) to a server of the FTP "
      "site list.",
      kOptions,
      "The site list is the one the upload window edits. When the site keeps no password, it is asked for on "
      "the terminal without echo. The protocol log goes to standard error, with the password masked.",
      "0 when every file was uploaded, 1 when the upload failed or was cancelled, 2 for a mistake on the command "
      "line.",
      "  # publish the last gallery to the site called \"Home page\"\n"
      "  vistrel ftp --site \"Home page\"",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> {
        if (args.has("--list-sites")) return std::make_unique<ListSitesCommand>();
        return std::make_unique<FtpCommand>(args);
      }};
  return info;
}

}  // namespace vistrel::cli
