#include "ftp/upload_manifest.h"

#include <botan/hash.h>
#include <botan/hex.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <fstream>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/program_data.h"
#include "platform/text.h"

namespace vistrel::ftp {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "vistrel upload manifest 1";

std::string contentDigest(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Error("Cannot read " + platform::displayName(file));
  auto hash = Botan::HashFunction::create_or_throw("SHA-256");
  std::vector<char> buffer(1 << 16);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
    hash->update(reinterpret_cast<const std::uint8_t*>(buffer.data()), static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) throw Error("Cannot read " + platform::displayName(file));
  return Botan::hex_encode(hash->final(), false);
}

std::int64_t timeStamp(const fs::path& file) {
  std::error_code ec;
  const auto time = fs::last_write_time(file, ec);
  if (ec) throw Error("Cannot read " + platform::displayName(file) + ": " + ec.message());
  return static_cast<std::int64_t>(time.time_since_epoch().count());
}

// A stable name for the manifest of one folder on one server: FNV-1a of the
// server's address, port, user and folder.
std::string manifestName(const Site& site, const std::string& remoteFolder) {
  const std::string key = site.user + "@" + site.address + ":" + site.port + "/" + remoteFolder;
  std::uint64_t hash = 14695981039346656037ULL;
  for (const unsigned char c : key) hash = (hash ^ c) * 1099511628211ULL;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string(hex) + ".txt";
}

template <typename Number>
bool parseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// "size TAB time TAB digest TAB name"; the name comes last as it may hold tabs.
std::optional<std::pair<std::string, FileState>> parseLine(std::string_view line) {
  FileState state;
  std::string_view fields[3];
  for (auto& field : fields) {
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    field = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  if (line.empty() || !parseNumber(fields[0], state.size) || !parseNumber(fields[1], state.modified)) {
    return std::nullopt;
  }
  state.digest = fields[2];
  return std::make_pair(std::string(line), state);
}

}  // namespace

FileState fileState(const fs::path& file) {
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  if (ec) throw Error("Cannot read " + platform::displayName(file) + ": " + ec.message());
  return {size, timeStamp(file), contentDigest(file)};
}

bool sameContent(const FileState& recorded, const fs::path& file) {
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  if (ec || size != recorded.size) return false;
  try {
    return timeStamp(file) == recorded.modified || contentDigest(file) == recorded.digest;
  } catch (const Error&) {
    return false;  // the upload reports the file it cannot read
  }
}

UploadManifest::UploadManifest(const Site& site, const std::string& remoteFolder)
    : UploadManifest(platform::configFolder() / "uploads" / manifestName(site, remoteFolder)) {}

UploadManifest::UploadManifest(fs::path file) : file_(std::move(file)) { load(); }

// A damaged line only costs the upload of its file again.
void UploadManifest::load() {
  std::error_code ec;
  if (!fs::exists(file_, ec)) return;
  const std::string text = platform::readFile(file_);
  std::string_view rest = text;
  while (!rest.empty()) {
    const auto end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (auto entry = parseLine(line)) files_.insert_or_assign(std::move(entry->first), std::move(entry->second));
  }
}

void UploadManifest::save() const {
  std::string text = std::string(kHeader) + "\n";
  for (const auto& [name, state] : files_) {
    // A name with a line break cannot be kept: its file is simply sent each time.
    if (name.find_first_of("\r\n") != std::string::npos) continue;
    text += std::to_string(state.size) + "\t" + std::to_string(state.modified) + "\t" + state.digest + "\t" + name +
            "\n";
  }
  std::error_code ec;
  fs::create_directories(file_.parent_path(), ec);
  if (ec) throw Error("Cannot create " + platform::displayName(file_.parent_path()) + ": " + ec.message());
  platform::AtomicFile out(file_);
  out.write(text);
  out.commit();
}

void UploadManifest::record(const std::string& remoteName, const FileState& state) {
  files_.insert_or_assign(remoteName, state);
  save();
}

void UploadManifest::forget(const std::string& remoteName) {
  if (files_.erase(remoteName) > 0) save();
}

}  // namespace vistrel::ftp
