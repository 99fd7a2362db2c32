#include "platform/output_manifest.h"

#include <sys/stat.h>

#include <charconv>

#include "platform/file_lock.h"
#include "platform/files.h"

namespace vistrel::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHeader = "# Files written here by Vistrel; they are not taken as photos.\n";
// Records are comment lines to the entry lines, so that a program that knows
// only the list keeps reading it.
constexpr std::string_view kRecordMark = "#=\t";

struct Manifest {
  std::string text;  // as read
  std::set<std::string> entries;
  std::map<std::string, OutputRecord> records;
};

// Tabs and line breaks separate the fields and lines of a record.
std::string escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string unescaped(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

template <typename Number>
bool parseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    out.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return out;
    start = tab + 1;
  }
}

// entry, source, source size and time, digest, output size and time.
void readRecord(std::string_view line, Manifest& manifest) {
  const auto f = fields(line.substr(kRecordMark.size()));
  OutputRecord r;
  if (f.size() != 7 || !parseNumber(f[2], r.sourceStamp.size) || !parseNumber(f[3], r.sourceStamp.modified) ||
      !parseNumber(f[5], r.outputStamp.size) || !parseNumber(f[6], r.outputStamp.modified)) {
    return;  // written by a later version, or damaged: the file is made again
  }
  r.source = unescaped(f[1]);
  r.digest = unescaped(f[4]);
  manifest.records[unescaped(f[0])] = std::move(r);
}

std::string recordLine(const std::string& entry, const OutputRecord& r) {
  return std::string(kRecordMark) + escaped(entry) + "\t" + escaped(r.source) + "\t" +
         std::to_string(r.sourceStamp.size) + "\t" + std::to_string(r.sourceStamp.modified) + "\t" + escaped(r.digest) +
         "\t" + std::to_string(r.outputStamp.size) + "\t" + std::to_string(r.outputStamp.modified) + "\n";
}

Manifest readManifest(const fs::path& folder) {
  const fs::path file = folder / kOutputManifestName;
  Manifest manifest;
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return manifest;
  try {
    manifest.text = readFile(file);
  } catch (const std::exception&) {
    return manifest;
  }
  const std::string& text = manifest.text;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line = std::string_view(text).substr(start, end - start);
    if (line.starts_with(kRecordMark)) {
      readRecord(line, manifest);
    } else if (!line.empty() && !line.starts_with('#')) {
      manifest.entries.emplace(line);
    }
    start = end + 1;
  }
  std::erase_if(manifest.records, [&](const auto& record) { return !manifest.entries.contains(record.first); });
  return manifest;
}

}  // namespace

std::optional<FileStamp> fileStamp(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return std::nullopt;
  return FileStamp{static_cast<std::uintmax_t>(st.st_size),
                   std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

std::string manifestEntry(const fs::path& folder, const fs::path& file) {
  const std::string entry = file.lexically_relative(folder).generic_string();
  // A line per file: a name that holds a line break cannot be listed.
  if (entry.empty() || entry.starts_with("..") || entry.find_first_of("\r\n") != std::string::npos) return {};
  return entry;
}

std::set<std::string> readOutputManifest(const fs::path& folder) { return readManifest(folder).entries; }

std::map<std::string, OutputRecord> readOutputRecords(const fs::path& folder) { return readManifest(folder).records; }

void recordOutputs(const fs::path& folder, const std::vector<fs::path>& files,
                   const std::map<fs::path, OutputRecord>& records) {
  if (files.empty() && records.empty()) return;
  const FileLock lock(folder);
  Manifest manifest = readManifest(folder);
  std::error_code ec;
  std::erase_if(manifest.entries, [&](const std::string& entry) { return !fs::exists(folder / entry, ec); });
  for (const fs::path& file : files) {
    if (std::string entry = manifestEntry(folder, file); !entry.empty()) manifest.entries.insert(std::move(entry));
  }
  for (const auto& [file, record] : records) {
    if (std::string entry = manifestEntry(folder, file); manifest.entries.contains(entry)) {
      manifest.records[entry] = record;
    }
  }
  std::string text(kHeader);
  for (const std::string& entry : manifest.entries) text += entry + "\n";
  for (const auto& [entry, record] : manifest.records) {
    if (manifest.entries.contains(entry)) text += recordLine(entry, record);
  }
  // Left alone when it stays the same, like the gallery's files.
  if (text == manifest.text) return;
  writeFileAtomically(folder / kOutputManifestName, text);
}

}  // namespace vistrel::platform
