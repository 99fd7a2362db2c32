#include "platform/commands.h"

#include <QProcess>
#include <QStringList>

namespace vistrel::platform {
namespace {

constexpr int kTimeoutMs = 10000;

class ProcessRunner final : public CommandRunner {
 public:
  CommandResult run(const CommandLine& command) override {
    QStringList arguments;
    for (const std::string& argument : command.arguments) arguments << QString::fromStdString(argument);
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QString::fromStdString(command.program), arguments);
    if (!process.waitForStarted(kTimeoutMs)) return {};
    if (!process.waitForFinished(kTimeoutMs)) {
      process.kill();
      process.waitForFinished();
      return {};
    }
    const int exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {exitCode, process.readAllStandardOutput().toStdString()};
  }
};

}  // namespace

CommandRunner& systemCommands() {
  static ProcessRunner runner;
  return runner;
}

}  // namespace vistrel::platform
