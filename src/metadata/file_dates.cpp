#include "metadata/file_dates.h"

#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::metadata {

void SetFileDate(const std::filesystem::path& file, const platform::DateTime& local, FileTimeChoice which) {
  enforce(local.isValid(), "The date does not exist");
  const platform::SystemTime time = platform::fromLocal(local);
  if (which.modified) platform::setLastWriteTime(file, time);
  if (which.accessed) platform::setLastAccessTime(file, time);
}

}  // namespace vistrel::metadata
