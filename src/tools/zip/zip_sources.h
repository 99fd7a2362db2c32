#pragma once

#include <zip.h>

#include <filesystem>
#include <functional>
#include <string>

// The two kinds of libzip source the archive is written through. libzip
// reads and writes only through them, so the files it touches, the errors it
// meets and the moment each file is read are ours to see.

namespace vistrel::zip {

// The archive file: the existing one (or none, which makes a new archive) is
// read, and the new one is written as an AtomicFile beside it that replaces it
// only once it is complete and on disk; a failed or cancelled write leaves the
// old archive as it was and no partial file. A failure of ours (a full disk)
// is described in `failure`, which must outlive the source.
zip_source_t* archiveFileSource(const std::filesystem::path& archive, std::string& failure);

// What happens while a file to add is read.
struct EntryWatch {
  std::function<void()> opening;     // before its first byte
  std::function<bool()> cancelled;   // between pieces: true ends the whole write
};

// A file to add, read when libzip writes the archive. A file that cannot be
// read is described in `failure`, which must outlive the source.
zip_source_t* entryFileSource(const std::filesystem::path& file, EntryWatch watch, std::string& failure);

}  // namespace vistrel::zip
