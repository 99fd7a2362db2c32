#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vistrel::zip {

struct ZipOptions {
  int level = 5;            // 0 stores, 1 to 9 deflate
  bool storePaths = false;  // entries named by their whole path, not only the file's name
  std::string password;     // not empty: every entry added is encrypted with AES-256
};

// What a zip run reports; every callback may be empty.
struct ZipEvents {
  // Before file `number` (from 1) of `total` is read into the archive.
  std::function<void(std::size_t number, std::size_t total, const std::filesystem::path& file)> adding;
  // A file left out before anything was written: it cannot be read.
  std::function<void(const std::filesystem::path& file, const std::string& reason)> skipped;
  // Asked between pieces of the files: true ends the run, and the archive stays as it was.
  std::function<bool()> cancelled;
};

struct ZipResult {
  std::size_t added = 0;
  std::size_t skipped = 0;
  bool cancelled = false;
};

// Adds the files to the archive, making it when it is missing; an entry of
// the same name that the archive holds already is replaced. Files listed twice
// are added once, and a name that two files would share is numbered for the
// later one ("img_1.jpg"). The archive is written beside the old one and
// replaces it only when complete, so a failure or Cancel leaves it as it was
// (or leaves none). Throws Error saying why the archive cannot be written.
ZipResult ZipFiles(const std::filesystem::path& archive, const std::vector<std::filesystem::path>& files,
                   const ZipOptions& options, const ZipEvents& events);

}  // namespace vistrel::zip
