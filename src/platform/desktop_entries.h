#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Reading the installed applications' desktop entries, to offer them in
// "Open with .." and to start them with a file.

namespace vistrel::platform {

struct DesktopEntry {
  std::string id;  // the desktop-file ID: the path below "applications", "/" turned into "-"
  std::filesystem::path file;
  std::string type;
  std::string name;  // in the user's language where the entry has it
  std::string exec;
  std::string tryExec;
  std::string icon;
  std::vector<std::string> mimeTypes;
  bool hidden = false;
  bool noDisplay = false;
  bool terminal = false;  // a program for a terminal window
};

// Parses the [Desktop Entry] group of a desktop entry file. `locale` is the
// user's locale as in LC_MESSAGES ("de_AT.UTF-8@euro"); it picks the Name.
DesktopEntry parseDesktopEntry(std::string_view text, std::string_view locale);

// Splits a command line by the quoting rules of Exec: blanks separate
// arguments, double quotes group them, and inside quotes a backslash makes the
// next '"', '`', '$' or '\' literal. Throws Error for an unclosed quote.
std::vector<std::string> splitCommandLine(std::string_view command);

// The program and arguments that open `file` with the entry: the Exec field
// codes expanded (%f %F %u %U: the file, %i: "--icon" and the icon, %c: the
// name, %k: the entry's file, %%: "%", the rest dropped). A file name is put
// in whole into one argument and never read as quoting or field codes. When
// Exec names no file, the file is appended. Throws Error for a broken Exec.
std::vector<std::string> commandLineFor(const DesktopEntry& entry, const std::filesystem::path& file);

// $XDG_DATA_HOME/applications, then those of $XDG_DATA_DIRS, earliest first.
std::vector<std::filesystem::path> applicationFolders();

// The entries of the folders that declare one of `mimeTypes`, sorted by name.
// An ID found in an earlier folder hides the same ID in later ones; hidden,
// not displayed, not installed (TryExec) and terminal programs, which would
// run without a window to show in, are left out.
std::vector<DesktopEntry> applicationsFor(const std::vector<std::string>& mimeTypes,
                                          const std::vector<std::filesystem::path>& folders, std::string_view locale);

// The file's MIME type with its aliases and all the types it inherits from.
std::vector<std::string> mimeTypesOf(const std::filesystem::path& file);

// The locale desktop entries are localized by, as the C library names it.
std::string messagesLocale();

}  // namespace vistrel::platform
