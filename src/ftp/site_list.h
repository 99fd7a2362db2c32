#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/prompter.h"

namespace vistrel::ftp {

// One line of "ftp.dat": description>address>user>password field>port>directory.
// The directory is everything after the fifth ">", so it may hold ">" itself.
struct Site {
  std::string description;
  std::string address;
  std::string user;
  std::string passwordField;  // enciphered, or empty to ask at each upload
  std::string port;
  std::string directory;

  bool operator==(const Site&) const = default;
};

std::string siteLine(const Site& site);
// Missing fields are empty.
Site parseSiteLine(std::string_view line);

// The port of a site as a number; throws Error when the field is not one.
int sitePort(const Site& site);

// The folder the upload goes to: a leading "/" is dropped unless it is all there is.
std::string remoteFolder(std::string_view directory);

// "ftp.dat" in the program data folder.
std::filesystem::path siteListFile();

// The lines of the site list file, kept as stored (lines whose first field is
// empty are kept, they are only not shown) but for Latin-1 from older
// versions, which loading turns into UTF-8. Saving writes CR LF.
class SiteList {
 public:
  explicit SiteList(std::filesystem::path file = siteListFile());

  // Creates an empty file when there is none. Throws Error.
  void ensureExists() const;
  // A missing file reads as an empty list. Throws Error.
  void load();
  void save() const;

  const std::vector<std::string>& lines() const { return lines_; }
  std::vector<std::string>& lines() { return lines_; }
  // The sites with a description, in file order.
  std::vector<Site> shownSites() const;
  // The first shown site with this description.
  std::optional<Site> find(std::string_view description) const;

 private:
  std::filesystem::path file_;
  std::vector<std::string> lines_;
};

// What the site dialog holds when OK is pressed.
struct SiteEntry {
  std::string description;
  std::string address;
  std::string user;
  std::string password;         // the text of the password field now
  std::string passwordAtShow;   // its text when the dialog was shown
  int port = 21;
  std::string directory;
  // The full stored line of the site being edited; nothing when adding.
  std::optional<std::string> editedLine;
};

enum class SaveOutcome { Saved, KeepOpen, Duplicate };

// The site dialog's OK: confirms an empty directory, enciphers a changed
// password, refuses a duplicate when adding, replaces the edited line and
// appends the new one at the end. Throws Error for fields that would break the
// line format.
SaveOutcome saveSiteEntry(SiteList& list, const SiteEntry& entry, platform::Prompter& prompter);

// Removes every line equal to the site's full line. No confirmation.
void deleteSite(SiteList& list, const Site& site);

}  // namespace vistrel::ftp
