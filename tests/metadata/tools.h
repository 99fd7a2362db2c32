#pragma once

#include <map>
#include <string>
#include <vector>

namespace vistrel::test {

// Whether the program is on PATH; tests that need an independent tool skip without it.
bool haveTool(const std::string& name);
// Runs the program with the arguments (quoted for the shell) and returns what
// it printed on standard output; fails the test on a non-zero exit.
std::string runTool(const std::vector<std::string>& argv);
// exiftool -n values of the tags ("Make" -> "Canon") as exiftool reports them.
std::map<std::string, std::string> exiftoolValues(const std::string& file, const std::vector<std::string>& tags);

}  // namespace vistrel::test
