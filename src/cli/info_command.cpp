#include "cli/info_command.h"

#include <iostream>

#include "metadata/img_data.h"

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

std::string exifText(const metadata::TimgData& data) {
  std::string text = "EXIF Data:\r\n-------------------------\r\nErrStr = " + data.ErrorText + "\r\n";
  text += data.BigEndian ? "Motorola Byte Order" : "Intel Byte Order";
  if (data.Exif) text += data.Exif->ListingText;
  return text;
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
        std::cerr << "vistrel info: " << file << ": no such file\n";
        status = 1;
        continue;
      }
      metadata::TimgData data;
      data.ReadMetadata(file);
      std::cout << file << "\n" << withLineFeeds(exifText(data)) << "\n\n";
    }
    return status;
  }

 private:
  std::vector<std::string> files_;
};

}  // namespace

std::unique_ptr<Command> makeInfoCommand(std::vector<std::string> args) {
  return std::make_unique<InfoCommand>(std::move(args));
}

}  // namespace vistrel::cli
