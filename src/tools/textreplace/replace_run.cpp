#include "tools/textreplace/replace_run.h"

#include <set>

#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::textreplace {
namespace fs = std::filesystem;

namespace {

// Pages are small; a file beyond this is no page, and reading it whole would
// take the memory of the machine.
constexpr std::uintmax_t kLargestFile = 64u << 20;

int replaceInFile(const fs::path& file, const ReplaceRule& rule, bool backup, std::set<fs::path>& backups) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec) throw Error("Cannot read " + file.string() + ": " + ec.message());
  if (size > kLargestFile) throw Error("The file is larger than 64 MB, too large for text replace");
  const Replaced replaced = replaceText(platform::readFile(file), rule);
  if (replaced.count == 0) return 0;
  if (platform::isReadOnly(file)) throw Error("The file is read-only");
  if (backup) {
    fs::path target = backupPath(file);
    if (target == file || backups.count(target) > 0) target = fs::path(file.string() + ".bak");
    platform::copyFile(file, target, platform::IfExists::Replace);
    backups.insert(target);
  }
  platform::AtomicFile out(file);
  out.write(replaced.text);
  out.commit();
  return replaced.count;
}

}  // namespace

fs::path backupPath(const fs::path& file) { return fs::path(file).replace_extension(".bak"); }

int replaceInFiles(const std::vector<fs::path>& files, const ReplaceRule& rule, bool backup,
                   const std::function<void(const FileResult&)>& done) {
  platform::removeStaleTemporaryFilesBeside(files);
  std::set<fs::path> backups;
  int failed = 0;
  for (const fs::path& file : files) {
    FileResult result{file, 0, {}};
    try {
      result.replacements = replaceInFile(file, rule, backup, backups);
    } catch (const Error& error) {
      result.error = error.what();
      ++failed;
    }
    if (done) done(result);
  }
  return failed;
}

std::string logLine(std::string_view name, const FileResult& result) {
  if (result.failed()) return std::string(name) + " - not changed: " + result.error;
  return std::string(name) + " - " + std::to_string(result.replacements) + " replacement(s)";
}

bool confirmRun(std::size_t selectedFiles, bool backup, platform::Prompter& prompter) {
  if (selectedFiles == 0) {
    prompter.inform(
        "Select file(s) to modify in the filelist. To select multiple\r\nfiles, use the CTRL-key and click all the "
        "files you wish\r\nto modify. You can also use the SHIFT-key to easily\r\nselect a large number of files.",
        "No files selected");
    return false;
  }
  if (selectedFiles > 9 && !backup) {
    return prompter.ask(
               "You are about to replace text in a large number of files.\r\nYou have selected NOT to backup the "
               "original files.\r\n\r\nAre you sure you wish to continue?",
               "Warning", platform::Buttons::YesNo, platform::Icon::Warning) == platform::Answer::Yes;
  }
  return true;
}

}  // namespace vistrel::textreplace
