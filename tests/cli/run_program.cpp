#include "run_program.h"

#include <sys/wait.h>
#include <unistd.h>

#include "platform/files.h"
#include "support/processes.h"
#include "support/temp_folder.h"

namespace vistrel::test {

ProgramResult runVistrel(const std::vector<std::string>& args) {
  TempFolder folder;
  const auto outFile = folder / "out", errFile = folder / "err";
  std::vector<std::string> command{VISTREL_BINARY};
  command.insert(command.end(), args.begin(), args.end());
  const pid_t child = startWithoutDisplay(command, {}, outFile, errFile);
  int status = 0;
  ::waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), platform::readFile(outFile),
          platform::readFile(errFile)};
}

}  // namespace vistrel::test
