#include "run_program.h"

#include <sys/wait.h>
#include <unistd.h>

#include "platform/files.h"
#include "support/processes.h"
#include "support/temp_folder.h"

namespace vistrel::test {

namespace {

std::vector<std::string> vistrelCommand(const std::vector<std::string>& args) {
  std::vector<std::string> command{VISTREL_BINARY};
  command.insert(command.end(), args.begin(), args.end());
  return command;
}

}  // namespace

ProgramResult runVistrel(const std::vector<std::string>& args) {
  TempFolder folder;
  const auto outFile = folder / "out", errFile = folder / "err";
  const pid_t child = startWithoutDisplay(vistrelCommand(args), {}, outFile, errFile);
  int status = 0;
  ::waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), platform::readFile(outFile),
          platform::readFile(errFile)};
}

pid_t startVistrel(const std::vector<std::string>& args) {
  return startWithoutDisplay(vistrelCommand(args), {}, "/dev/null", "/dev/null");
}

}  // namespace vistrel::test
