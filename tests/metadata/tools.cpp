#include "tools.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

namespace vistrel::test {
namespace {

std::string quoted(const std::string& arg) {
  std::string result = "'";
  for (const char c : arg) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

}  // namespace

bool haveTool(const std::string& name) {
  return std::system(("command -v " + quoted(name) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string runTool(const std::vector<std::string>& argv) {
  std::string command;
  for (const std::string& arg : argv) command += quoted(arg) + " ";
  std::FILE* pipe = ::popen((command + "2>/dev/null").c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return {};
  }
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = ::pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
  return out;
}

std::map<std::string, std::string> exiftoolValues(const std::string& file, const std::vector<std::string>& tags) {
  std::vector<std::string> argv = {"exiftool", "-n", "-S"};
  for (const std::string& tag : tags) argv.push_back("-" + tag);
  argv.push_back(file);
  std::map<std::string, std::string> values;
  const std::string out = runTool(argv);
  for (std::size_t start = 0; start < out.size();) {
    const auto end = out.find('\n', start);
    const std::string line = out.substr(start, end - start);
    if (const auto colon = line.find(": "); colon != std::string::npos) {
      values[line.substr(0, colon)] = line.substr(colon + 2);
    }
    start = end == std::string::npos ? out.size() : end + 1;
  }
  return values;
}

}  // namespace vistrel::test
