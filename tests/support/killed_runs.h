#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vistrel::test {

// The regular files below a folder, by their path relative to it, with their bytes.
using FolderContent = std::map<std::string, std::string>;
FolderContent folderContent(const std::filesystem::path& folder);

// Copies a folder's tree keeping modification times, so that writers which
// record them (ZIP entries) make the same bytes from every copy.
void copyTree(const std::filesystem::path& from, const std::filesystem::path& to);

// Runs a program (no shell; no display; standard input, output and error on
// /dev/null) with extra "NAME=value" settings in its environment, and kills it
// with SIGKILL after the delay unless it ended before. The time it ran.
std::chrono::microseconds runUntilKilled(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                                         std::chrono::microseconds delay);

// What a writer killed part way may not leave: a file whose bytes are neither
// its content before the run nor after an uninterrupted one (temporary files
// of atomic writes aside: those can be told from the user's), a file the
// writer keeps that went, or a file it removes or renames whose bytes are
// nowhere and whose product (the name of what replaces it; empty for none) is
// missing. Text files the writer rewrites whole once per step (a list of
// descriptions, one line per file) may also hold any mix of their old and new
// lines. Files that record when their run wrote something are compared as
// `comparable` makes them (path, bytes). One line per fault; none when the
// folder is sound.
struct KillRules {
  std::function<std::string(const std::string&)> product;
  std::vector<std::string> writtenInSteps;
  std::function<std::string(const std::string&, const std::string&)> comparable;
};
std::vector<std::string> faultsAfterKill(const FolderContent& before, const FolderContent& after,
                                         const FolderContent& killed, const KillRules& rules);

// How many kills a test makes of each writer: VISTREL_KILL_ROUNDS, or 3.
int killRounds();

}  // namespace vistrel::test
