#include "browser/drag_list_file.h"

#include "browser/image_types.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::browser {
namespace {

// A line is a path, whose bytes must stay as they are on disk; only a line
// that is neither UTF-8 nor an existing path is text from an older program.
std::string pathOfLine(std::string_view line) {
  std::error_code ec;
  if (platform::isValidUtf8(line) || std::filesystem::exists(std::string(line), ec)) return std::string(line);
  return platform::textFromFile(line);
}

}  // namespace

std::vector<std::string> readDragList(const std::filesystem::path& file) {
  const std::string text = platform::readFile(file);
  std::vector<std::string> entries;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      entries.push_back(pathOfLine(std::string_view(text).substr(start)));
      break;
    }
    entries.push_back(pathOfLine(std::string_view(text).substr(start, end - start)));
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return entries;
}

void writeDragList(const std::filesystem::path& file, const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += entry + "\r\n";
  platform::writeFileAtomically(file, text);
}

std::filesystem::path withDragListExtension(const std::filesystem::path& file) {
  if (platform::lowerExtension(file) == ".vfl") return file;
  return file.string() + ".vfl";
}

}  // namespace vistrel::browser
