#include "support/killed_runs.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <thread>

#include "platform/files.h"
#include "support/processes.h"

namespace vistrel::test {

namespace fs = std::filesystem;

FolderContent folderContent(const fs::path& folder) {
  FolderContent content;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) content[entry.path().lexically_relative(folder).string()] = platform::readFile(entry);
  }
  return content;
}

void copyTree(const fs::path& from, const fs::path& to) {
  fs::copy(from, to, fs::copy_options::recursive);
  for (const auto& entry : fs::recursive_directory_iterator(from)) {
    if (entry.is_regular_file()) fs::last_write_time(to / entry.path().lexically_relative(from), entry.last_write_time());
  }
}

std::chrono::microseconds runUntilKilled(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                                         std::chrono::microseconds delay) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = startWithoutDisplay(args, environment, "/dev/null", "/dev/null");
  const auto deadline = start + delay;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(deadline - now, std::chrono::microseconds(500)));
  }
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

namespace {

bool isTemporary(const std::string& path) { return fs::path(path).filename().string().starts_with(".vistrel-tmp-"); }

bool holds(const FolderContent& content, const std::string& path, const std::string& bytes) {
  const auto found = content.find(path);
  return found != content.end() && found->second == bytes;
}

std::set<std::string> linesOf(const FolderContent& content, const std::string& path) {
  std::set<std::string> lines;
  const auto found = content.find(path);
  if (found == content.end()) return lines;
  for (std::size_t start = 0, end; start < found->second.size(); start = end + 1) {
    end = found->second.find('\n', start);
    if (end == std::string::npos) end = found->second.size();
    lines.insert(found->second.substr(start, end - start));
  }
  return lines;
}

// Each line (a whole one: the text ends with a line break) is an old or a new one.
bool mixesOldAndNewLines(const FolderContent& before, const FolderContent& after, const std::string& path,
                         const std::string& bytes) {
  if (!bytes.empty() && bytes.back() != '\n') return false;
  const auto old = linesOf(before, path), fresh = linesOf(after, path);
  for (const std::string& line : linesOf({{path, bytes}}, path)) {
    if (!old.contains(line) && !fresh.contains(line)) return false;
  }
  return true;
}

FolderContent comparableContent(FolderContent content, const KillRules& rules) {
  if (rules.comparable) {
    for (auto& [path, bytes] : content) bytes = rules.comparable(path, bytes);
  }
  return content;
}

std::vector<std::string> faultsInComparable(const FolderContent& before, const FolderContent& after,
                                            const FolderContent& killed, const KillRules& rules) {
  std::vector<std::string> faults;
  std::set<std::string> present;
  for (const auto& [path, bytes] : killed) {
    present.insert(bytes);
    const bool inSteps = std::ranges::find(rules.writtenInSteps, path) != rules.writtenInSteps.end();
    if (!isTemporary(path) && !holds(before, path, bytes) && !holds(after, path, bytes) &&
        !(inSteps && mixesOldAndNewLines(before, after, path, bytes))) {
      faults.push_back(path + ": neither its old nor its new content (" + std::to_string(bytes.size()) + " bytes)");
    }
  }
  for (const auto& [path, bytes] : before) {
    if (killed.contains(path)) continue;
    if (after.contains(path)) {
      faults.push_back(path + ": gone, though the writer keeps it");
    } else if (!present.contains(bytes) && !(rules.product && killed.contains(rules.product(path)))) {
      faults.push_back(path + ": lost: neither it nor what replaces it is there");
    }
  }
  return faults;
}

}  // namespace

std::vector<std::string> faultsAfterKill(const FolderContent& before, const FolderContent& after,
                                         const FolderContent& killed, const KillRules& rules) {
  return faultsInComparable(comparableContent(before, rules), comparableContent(after, rules),
                            comparableContent(killed, rules), rules);
}

int killRounds() {
  const char* text = std::getenv("VISTREL_KILL_ROUNDS");
  return text ? std::max(1, std::atoi(text)) : 3;
}

}  // namespace vistrel::test
