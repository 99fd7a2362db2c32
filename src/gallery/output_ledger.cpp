#include "gallery/output_ledger.h"

#include "platform/files.h"

namespace vistrel::gallery {

namespace fs = std::filesystem;

OutputLedger::OutputLedger(fs::path target, bool onlyChanged)
    : target_(std::move(target)),
      onlyChanged_(onlyChanged),
      earlier_(platform::readOutputManifest(target_)),
      records_(platform::readOutputRecords(target_)) {}

bool OutputLedger::madeEarlier(const fs::path& file) const {
  return earlier_.contains(platform::manifestEntry(target_, file));
}

bool OutputLedger::upToDate(const fs::path& file, const fs::path& source, const platform::FileStamp& sourceStamp,
                            const std::string& digest) const {
  const auto record = records_.find(platform::manifestEntry(target_, file));
  if (record == records_.end()) return false;
  const platform::OutputRecord& r = record->second;
  return !r.digest.empty() && r.digest == digest && r.source == source.string() && r.sourceStamp == sourceStamp &&
         platform::fileStamp(file) == r.outputStamp;
}

void OutputLedger::wrote(const fs::path& file) { written_.push_back(file); }

void OutputLedger::wrote(const fs::path& file, const fs::path& source,
                         const std::optional<platform::FileStamp>& sourceStamp, const std::string& digest) {
  written_.push_back(file);
  const auto stamp = platform::fileStamp(file);
  if (!stamp) return;
  made_[file] = {source.string(), sourceStamp.value_or(platform::FileStamp{}), sourceStamp ? digest : std::string(),
                 *stamp};
}

std::vector<fs::path> OutputLedger::filesLeftOver(const std::vector<fs::path>& gallery) const {
  std::set<std::string> kept;
  for (const auto* files : {&gallery, &written_}) {
    for (const fs::path& file : *files) kept.insert(platform::manifestEntry(target_, file));
  }
  // The list may come with a gallery from elsewhere: a file it names outside
  // the target, also by way of a link, is never removed.
  const fs::path target = platform::resolvedPath(target_);
  std::vector<fs::path> files;
  for (const std::string& entry : earlier_) {
    const fs::path file = target_ / entry;
    std::error_code ec;
    if (!kept.contains(entry) && fs::symlink_status(file, ec).type() == fs::file_type::regular &&
        platform::liesInside(platform::resolvedPath(file.parent_path()) / file.filename(), target)) {
      files.push_back(file);
    }
  }
  return files;
}

void OutputLedger::save() const { platform::recordOutputs(target_, written_, made_); }

}  // namespace vistrel::gallery
