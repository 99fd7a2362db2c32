#include "page_fixture.h"

#include "platform/files.h"

namespace vistrel::gallery {

std::vector<std::string> PageFixture::lines(const std::string& name) const {
  const std::string text = platform::readFile(folder / "web" / name);
  std::vector<std::string> result;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << name << " has a line without CR LF";
    if (end == std::string::npos) break;
    result.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return result;
}

bool PageFixture::exists(const std::string& name) const {
  return std::filesystem::exists(folder / "web" / name);
}

}  // namespace vistrel::gallery
