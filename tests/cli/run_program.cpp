#include "run_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/files.h"
#include "support/temp_folder.h"

namespace vistrel::test {

namespace {

// Starts build/vistrel without a display, with standard input closed and its
// output into the two files.
pid_t spawnVistrel(const std::vector<std::string>& args, const std::filesystem::path& outFile,
                   const std::filesystem::path& errFile) {
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QT_QPA_PLATFORM");
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    std::vector<char*> argv{const_cast<char*>(VISTREL_BINARY)};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return child;
}

}  // namespace

ProgramResult runVistrel(const std::vector<std::string>& args) {
  TempFolder folder;
  const auto outFile = folder / "out", errFile = folder / "err";
  const pid_t child = spawnVistrel(args, outFile, errFile);
  int status = 0;
  ::waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), platform::readFile(outFile),
          platform::readFile(errFile)};
}

pid_t startVistrel(const std::vector<std::string>& args) { return spawnVistrel(args, "/dev/null", "/dev/null"); }

}  // namespace vistrel::test
