#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/terminal_prompter.h"
#include "ftp/uploader.h"

namespace vistrel::cli {

// Uploads a folder to a server of the site list.
const CommandInfo& ftpCommand();

// Uploads the files of the folder to the site with the log on standard error
// and the password asked on the terminal; 0 when every file was sent, else 1.
int uploadFromTerminal(const std::string& site, const std::filesystem::path& folder, TerminalPrompter& prompter,
                       const ftp::UploadOverrides& overrides = {});

}  // namespace vistrel::cli
