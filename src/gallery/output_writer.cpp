#include "gallery/output_writer.h"

#include "platform/error.h"
#include "platform/log.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;

bool holds(const fs::path& file, std::string_view bytes) {
  const auto stamp = platform::fileStamp(file);
  if (!stamp || stamp->size != bytes.size()) return false;
  try {
    return platform::readFile(file) == bytes;
  } catch (const Error&) {
    return false;
  }
}

// Whether the copy there is current: a copy of a photo keeps the photo's
// time stamp, other files are compared byte for byte.
bool currentCopy(const fs::path& from, const fs::path& to, platform::IfExists ifExists) {
  const auto stamp = platform::fileStamp(to);
  if (!stamp) return false;
  if (ifExists == platform::IfExists::Keep) return stamp == platform::fileStamp(from);
  try {
    return platform::sameContent(from, to);
  } catch (const Error&) {
    return false;
  }
}

}  // namespace

bool writeOutput(const RunContext& run, const fs::path& file, std::string_view bytes, Existing existing) {
  if (run.outputs.onlyChanged()) {
    if (holds(file, bytes)) return true;
    if (run.outputs.madeEarlier(file)) existing = Existing::Replace;
  }
  if (existing == Existing::Ask && !run.overwrite.mayWrite(file)) return false;
  platform::writeFileAtomically(file, bytes, platform::Durability::WhenReplacing);
  return true;
}

void copyOutput(const RunContext& run, const fs::path& from, const fs::path& to, platform::IfExists ifExists,
                const fs::path& photo) {
  const auto note = [&] { photo.empty() ? run.outputs.wrote(to) : run.outputs.wrote(to, photo); };
  try {
    if (run.outputs.onlyChanged()) {
      if (currentCopy(from, to, ifExists)) return note();
      if (run.outputs.madeEarlier(to)) ifExists = platform::IfExists::Replace;
    }
    if (platform::copyFile(from, to, ifExists)) note();
  } catch (const Error& e) {
    log::warning(e.what());
  }
}

}  // namespace vistrel::gallery
