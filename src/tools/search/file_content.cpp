#include "tools/search/file_content.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/error.h"

namespace vistrel::search {
namespace {

constexpr std::size_t kBlock = 1 << 17;

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

[[noreturn]] void fail(const char* what, const std::filesystem::path& file) {
  throw Error(std::string(what) + " " + file.string() + ": " + std::strerror(errno));
}

}  // namespace

bool fileContains(const std::filesystem::path& file, const TTISearch& phrase, const std::atomic<bool>& cancel) {
  const Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) fail("Cannot open", file);
  ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
  // The windows a block leaves undecided move to the front, ahead of the next block.
  std::vector<char> buffer(phrase.length() + kBlock);
  std::size_t kept = 0;
  while (!cancel.load(std::memory_order_relaxed)) {
    const ssize_t got = ::read(fd.get(), buffer.data() + kept, kBlock);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) fail("Cannot read", file);
    if (got == 0) return false;
    const std::size_t size = kept + static_cast<std::size_t>(got);
    const TTISearch::Scan scan = phrase.Find(std::string_view(buffer.data(), size));
    if (scan.found) return true;
    kept = size - scan.position;
    std::memmove(buffer.data(), buffer.data() + scan.position, kept);
  }
  return false;
}

}  // namespace vistrel::search
