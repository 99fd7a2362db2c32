#include "support/tmpfs_mount.h"

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vistrel::test {

TmpfsMount::TmpfsMount() {
  if (::geteuid() != 0) {
    reason_ = "mounting a tmpfs needs root; the test runs as another user";
  } else if (::mount("tmpfs", folder_.path().c_str(), "tmpfs", 0, "size=16m") != 0) {
    reason_ = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
  } else {
    mounted_ = true;
  }
}

TmpfsMount::~TmpfsMount() {
  if (mounted_) ::umount2(folder_.path().c_str(), MNT_DETACH);
}

}  // namespace vistrel::test
