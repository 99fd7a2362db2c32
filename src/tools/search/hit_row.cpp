#include "tools/search/hit_row.h"

#include "platform/text.h"

namespace vistrel::search {

browser::ListedFile hitRow(const FoundFile& file) {
  return {file.path, platform::displayName(file.path.filename()), file.size, file.lastWrite,
          std::to_string((file.size + 1023) / 1024) + " KB"};
}

}  // namespace vistrel::search
