#include "ftp/site_list.h"

#include <algorithm>

#include "ftp/password_cipher.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/private_files.h"
#include "platform/program_data.h"
#include "platform/text.h"

namespace vistrel::ftp {
namespace {

constexpr char kSeparator = '>';
constexpr int kFieldsBeforeDirectory = 5;

const char* const kNoDirectoryQuestion =
    "You have not specified a directory on the remote server.\n\n"
    "Files will be uploaded to the root folder, and any existing\n"
    "files will be replaced. Are you sure you want to do this?";

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// A ">" in the first five fields would shift every later field of the line,
// and a line break would split the site in two; both would lose the site.
void checkFields(const SiteEntry& entry) {
  for (const std::string* field : {&entry.description, &entry.address, &entry.user}) {
    if (field->find(kSeparator) != std::string::npos || hasLineBreak(*field)) {
      throw Error("The description, address and user of a server cannot contain \">\" or line breaks.");
    }
  }
  if (hasLineBreak(entry.directory) || hasLineBreak(entry.password)) {
    throw Error("The password and directory of a server cannot contain line breaks.");
  }
}

std::string storedPasswordField(const SiteEntry& entry) {
  if (entry.password == entry.passwordAtShow) return entry.password;
  return encipherPassword(entry.password);
}

}  // namespace

std::string siteLine(const Site& site) {
  const std::string sep(1, kSeparator);
  return site.description + sep + site.address + sep + site.user + sep + site.passwordField + sep + site.port +
         sep + site.directory;
}

Site parseSiteLine(std::string_view line) {
  Site site;
  std::string* const fields[] = {&site.description, &site.address, &site.user, &site.passwordField, &site.port};
  for (int i = 0; i < kFieldsBeforeDirectory; ++i) {
    const auto end = line.find(kSeparator);
    if (end == std::string_view::npos) {
      *fields[i] = std::string(line);
      return site;
    }
    *fields[i] = std::string(line.substr(0, end));
    line.remove_prefix(end + 1);
  }
  site.directory = std::string(line);
  return site;
}

int sitePort(const Site& site) {
  const auto port = platform::parseInteger(platform::trimBlanks(site.port));
  if (!port || *port < 0 || *port > 65535) {
    throw Error("'" + site.port + "' is not a valid port number.");
  }
  return static_cast<int>(*port);
}

std::string remoteFolder(std::string_view directory) {
  if (directory.size() > 1 && directory.front() == '/') directory.remove_prefix(1);
  return std::string(directory);
}

std::filesystem::path siteListFile() { return platform::programDataFolder() / "ftp.dat"; }

SiteList::SiteList(std::filesystem::path file) : file_(std::move(file)) {}

void SiteList::ensureExists() const {
  std::error_code ec;
  if (std::filesystem::exists(file_, ec)) return;
  platform::writePrivateFile(file_, "");
}

void SiteList::load() {
  lines_.clear();
  std::error_code ec;
  if (!std::filesystem::exists(file_, ec)) return;
  try {
    platform::keepPrivate(file_);
  } catch (const Error& e) {
    log::warning(e.what());
  }
  const std::string content = platform::readFile(file_);
  std::size_t start = 0;
  while (start < content.size()) {
    auto end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string_view line(content.data() + start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines_.push_back(platform::textFromFile(line));
    start = end + 1;
  }
}

void SiteList::save() const {
  std::string content;
  for (const std::string& line : lines_) content += line + "\r\n";
  platform::writePrivateFile(file_, content);
}

std::vector<Site> SiteList::shownSites() const {
  std::vector<Site> sites;
  for (const std::string& line : lines_) {
    Site site = parseSiteLine(line);
    if (!site.description.empty()) sites.push_back(std::move(site));
  }
  return sites;
}

std::optional<Site> SiteList::find(std::string_view description) const {
  for (Site& site : shownSites()) {
    if (site.description == description) return std::move(site);
  }
  return std::nullopt;
}

SaveOutcome saveSiteEntry(SiteList& list, const SiteEntry& entry, platform::Prompter& prompter) {
  checkFields(entry);
  if (entry.directory.empty() &&
      prompter.ask(kNoDirectoryQuestion, "No remote directory specified", platform::Buttons::YesNo,
                   platform::Icon::Warning) != platform::Answer::Yes) {
    return SaveOutcome::KeepOpen;
  }
  const Site stored{entry.description,        entry.address,
                    entry.user,               storedPasswordField(entry),
                    std::to_string(std::max(entry.port, 0)), entry.directory};
  const std::string newLine = siteLine(stored);

  auto& lines = list.lines();
  const bool adding = !entry.editedLine.has_value();
  for (auto i = lines.size(); i-- > 0;) {
    if (adding && lines[i] == newLine) {
      prompter.inform("An identical entry already exist.\r\nOperation aborted.", "Duplicate entry");
      return SaveOutcome::Duplicate;
    }
    if (!adding && lines[i] == *entry.editedLine) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
  }
  lines.push_back(newLine);
  list.save();
  return SaveOutcome::Saved;
}

void deleteSite(SiteList& list, const Site& site) {
  const std::string line = siteLine(site);
  std::erase(list.lines(), line);
  list.save();
}

}  // namespace vistrel::ftp
