#include "cli/ftp_command.h"

#include <iostream>
#include <optional>
#include <string_view>

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
    {"--only-changed", "", "Upload only new and changed files: those not sent by an earlier upload to this folder "
                           "of this server, changed since, or missing on the server now. The first upload to a "
                           "folder sends everything. Example: vistrel ftp --site Home --only-changed"},
    {"--all-files", "", "Upload every file, even when the upload window's option \"Upload only new and changed "
                        "files\" is on."},
    {"--remove-deleted", "", "Delete on the server the files an earlier upload sent that the folder no longer "
                             "has; nothing else on the server is deleted. Example: vistrel ftp --site Home "
                             "--only-changed --remove-deleted"},
    {"--keep-deleted", "", "Delete nothing on the server, even when the upload window's option \"Remove files "
                           "deleted locally\" is on."},
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

// An option that turns a stored option on or off for one upload.
std::optional<bool> choice(const ParsedArguments& args, std::string_view on, std::string_view off) {
  if (args.has(on) && args.has(off)) throw UsageError(std::string(on) + " and " + std::string(off) + " exclude each other");
  if (args.has(on)) return true;
  if (args.has(off)) return false;
  return std::nullopt;
}

class FtpCommand : public Command {
 public:
  explicit FtpCommand(const ParsedArguments& args)
      : site_(args.last("--site").value_or("")),
        assumeYes_(args.has("--yes")),
        overrides_{choice(args, "--only-changed", "--all-files"), choice(args, "--remove-deleted", "--keep-deleted")} {
    if (site_.empty()) throw UsageError("the server is missing (--site SITE)");
    if (args.operands.size() > 1) throw UsageError("only one folder can be uploaded");
    if (!args.operands.empty()) folder_ = args.operands.front();
  }

  int run() override {
    if (folder_.empty()) folder_ = galleryTargetFolder();
    TerminalPrompter prompter(assumeYes_);
    return uploadFromTerminal(site_, folder_, prompter, overrides_);
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
  ftp::UploadOverrides overrides_;
  std::string folder_;
};

}  // namespace

int uploadFromTerminal(const std::string& site, const std::filesystem::path& folder, TerminalPrompter& prompter,
                       const ftp::UploadOverrides& overrides) {
  ftp::UploadEvents events;
  events.log = [](const std::string& line) { std::cerr << line << "\n"; };
  events.askPassword = [] { return TerminalPrompter::readSecret("Enter server password: "); };
  return ftp::uploadFolder(site, folder, prompter, std::move(events), overrides) == ftp::UploadResult::Done ? 0 : 1;
}

const CommandInfo& ftpCommand() {
  static const CommandInfo info{
      "ftp",
      "ftp --site SITE [--yes] [--only-changed|--all-files] [--remove-deleted|--keep-deleted] [FOLDER]\n"
      "    | ftp --list-sites",
      "Upload the files of FOLDER (by default the target folder of the last gallery run) to a server of the FTP "
      "site list.",
      kOptions,
      "The site list is the one the upload window edits. When the site keeps no password, it is asked for on "
      "the terminal without echo. The protocol log goes to standard error, with the password masked.\n\n"
      "Each upload records what it sent to a folder of a server (size, time and digest of each file) in the "
      "uploads folder of the configuration folder, file by file, so that an interrupted upload with "
      "--only-changed goes on with what is missing. Without --only-changed/--all-files and "
      "--remove-deleted/--keep-deleted the options of the upload window's Options tab apply.\n\n"
      "An sftp:// site logs in with the site's password or with the first of the keys ~/.ssh/id_ed25519, "
      "id_ecdsa and id_rsa that exists (a key without a passphrase). The first connection "
      "to an SFTP server records its host key in known_hosts in the configuration folder (the log says so); "
      "a later connection to a server whose key differs is refused. If the key was changed on purpose, delete "
      "the server's line from that file.",
      "0 when every file was uploaded, 1 when the upload failed or was cancelled, 2 for a mistake on the command "
      "line.",
      "  # publish the last gallery to the site called \"Home page\"\n"
      "  vistrel ftp --site \"Home page\"\n"
      "  # send only what changed since, and delete there the pages and photos that went away\n"
      "  vistrel ftp --site \"Home page\" --only-changed --remove-deleted ~/web",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> {
        if (args.has("--list-sites")) return std::make_unique<ListSitesCommand>();
        return std::make_unique<FtpCommand>(args);
      }};
  return info;
}

}  // namespace vistrel::cli
