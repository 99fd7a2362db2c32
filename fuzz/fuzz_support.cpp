#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/log.h"

namespace vistrel::fuzz {

namespace fs = std::filesystem;

// In memory where the system offers it: a disk file system starts writing
// back a file cut to nothing and written again, which made each input wait
// milliseconds for the disk.
const fs::path& scratchFolder() {
  static const fs::path made = [] {
    std::error_code ec;
    const fs::path parent = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path path = parent / ("vistrel-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(path);
    return path;
  }();
  return made;
}

fs::path written(const fs::path& name, std::string_view bytes) {
  const fs::path file = scratchFolder() / name;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return file;
}

}  // namespace vistrel::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace vistrel;
  log::setSink([](log::Level, std::string_view) {});
  fuzz::scratchFolder();  // made before the handler is registered, so it is still there when the handler runs
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(fuzz::scratchFolder(), ec);
  });
  return 0;
}
