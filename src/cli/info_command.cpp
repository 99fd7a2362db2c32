#include "cli/info_command.h"

#include <iostream>

#include "metadata/img_data.h"
#include "metadata/info_panel.h"
#include "platform/text.h"

namespace vistrel::cli {
namespace {

// The engine's texts use CR LF between lines; a terminal wants LF.
std::string withLineFeeds(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    result += text[i];
  }
  return result;
}

// The info panel's texts with the raw EXIF listing, then every IPTC dataset.
std::string infoText(const std::string& file) {
  const metadata::InfoPanelTexts panel = metadata::InfoPanelTextsOf(file, true);
  std::string text = panel.exif + "\r\n";
  metadata::TimgData data;
  if (data.ReadMetadata(file) && data.Iptc) {
    data.Iptc->ParseIptcSection();
    for (const metadata::TTagEntry& entry : data.Iptc->Entries) text += entry.Label + ": " + entry.DisplayText + "\r\n";
  }
  return text + "Description: " + panel.description;
}

class InfoCommand : public Command {
 public:
  explicit InfoCommand(std::vector<std::string> files) : files_(std::move(files)) {
    if (files_.empty()) throw UsageError("no file given");
  }

  int run() override {
    int status = 0;
    for (const std::string& file : files_) {
      std::error_code error;
      if (!std::filesystem::is_regular_file(file, error)) {
        std::cerr << "vistrel info: " << platform::textFromFile(file) << ": no such file\n";
        status = 1;
        continue;
      }
      std::cout << platform::textFromFile(file) << "\n" << withLineFeeds(infoText(file)) << "\n\n";
    }
    return status;
  }

 private:
  std::vector<std::string> files_;
};

}  // namespace

const CommandInfo& infoCommand() {
  static const CommandInfo info{
      "info",
      "info FILE...",
      "Print the EXIF, IPTC and description of each file, as the info panel shows them.",
      {},
      "Each file's block starts with its path and ends with a blank line: first the EXIF overview and the "
      "whole EXIF listing, then the camera maker's own data (\"Maker Specific Data:\") when the maker is one "
      "the reader knows, then every IPTC dataset, then the file's line of the folder's descript.ion.",
      "",
      "  # what the camera and the captions say about two photos\n"
      "  vistrel info ~/Photos/IMG_0001.jpg ~/Photos/IMG_0002.jpg",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> {
        return std::make_unique<InfoCommand>(args.operands);
      }};
  return info;
}

}  // namespace vistrel::cli
