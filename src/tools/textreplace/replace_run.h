#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/prompter.h"
#include "tools/textreplace/text_replace.h"

namespace vistrel::textreplace {

struct FileResult {
  std::filesystem::path file;
  int replacements = 0;
  std::string error;  // why the file was left alone; empty when it was done
  bool failed() const { return !error.empty(); }
};

// The backup of a file: the same path with the extension ".bak" (index.html
// has index.bak).
std::filesystem::path backupPath(const std::filesystem::path& file);

// Replaces in each file in order and reports each one to `done`. A file with
// replacements is backed up first when `backup` is on, then replaced whole
// by its new text (a crash leaves the old page or the new one); a file
// without replacements is not written. A file that fails (unreadable,
// read-only, too large) is reported with the reason and the run goes on.
// Two files of a run never share a backup: when a backup name is already
// taken by an earlier file of the run (page.htm and page.html both make
// page.bak), or is the file itself, the later file's backup is its full name
// followed by ".bak". Temporary files a killed run left beside the files are
// removed first. Returns the number of files that failed.
int replaceInFiles(const std::vector<std::filesystem::path>& files, const ReplaceRule& rule, bool backup,
                   const std::function<void(const FileResult&)>& done);

// The log line of a file: "index.html - 2 replacement(s)", or the reason it failed.
std::string logLine(std::string_view name, const FileResult& result);

// What a run asks before it starts: with no file selected it says so and
// returns false; with ten files or more and no backups it asks whether to go on.
bool confirmRun(std::size_t selectedFiles, bool backup, platform::Prompter& prompter);

}  // namespace vistrel::textreplace
