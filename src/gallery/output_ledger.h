#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/output_manifest.h"

namespace vistrel::gallery {

// The outputs of one run in its target folder: what earlier runs left there,
// as the output manifest tells it at the start, and what this run writes or
// keeps, noted in the manifest at its end. Reading is safe from any thread
// while the run's own thread notes files.
class OutputLedger {
 public:
  // `onlyChanged`: the run keeps the outputs that would come out the same.
  OutputLedger(std::filesystem::path target, bool onlyChanged);

  bool onlyChanged() const { return onlyChanged_; }
  // Whether an earlier run wrote the file.
  bool madeEarlier(const std::filesystem::path& file) const;
  // Whether the file is as an earlier run made it from the source with the
  // same stamp and digest: nobody has changed, replaced or cut it since.
  bool upToDate(const std::filesystem::path& file, const std::filesystem::path& source,
                const platform::FileStamp& sourceStamp, const std::string& digest) const;

  // Notes a file the run wrote or kept; with a source, the photo it belongs to.
  void wrote(const std::filesystem::path& file);
  void wrote(const std::filesystem::path& file, const std::filesystem::path& source,
             const std::optional<platform::FileStamp>& sourceStamp = {}, const std::string& digest = {});
  bool wroteAny() const { return !written_.empty(); }

  // The files earlier runs made that are still there, which this run did
  // not write or keep and which are not among `gallery`.
  std::vector<std::filesystem::path> filesLeftOver(const std::vector<std::filesystem::path>& gallery) const;

  // Notes the run's files in the manifest. Throws Error.
  void save() const;

 private:
  std::filesystem::path target_;
  bool onlyChanged_;
  std::set<std::string> earlier_;
  std::map<std::string, platform::OutputRecord> records_;  // by manifest entry
  std::vector<std::filesystem::path> written_;
  std::map<std::filesystem::path, platform::OutputRecord> made_;
};

}  // namespace vistrel::gallery
