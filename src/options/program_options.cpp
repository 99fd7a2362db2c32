#include "options/program_options.h"

#include <algorithm>
#include <variant>

#include "platform/files.h"
#include "platform/overloaded.h"
#include "platform/text.h"

namespace vistrel::options {
namespace {

using platform::SettingsKey;

struct IntRange {
  int ProgramOptions::*member;
  int low, high;
};

// One stored value: its name and the field it fills. Integers carry their
// range, so that a hand-edited settings file cannot hand the engines a
// quality of 0 or a delay of minus one second.
struct Field {
  const char* name;
  std::variant<bool ProgramOptions::*, IntRange, Colour ProgramOptions::*, FullScreenSize ProgramOptions::*,
               std::string ProgramOptions::*, std::filesystem::path ProgramOptions::*>
      member;
};

using P = ProgramOptions;
constexpr const char* kAddressBook = nullptr;  // marks where the address file is read

const Field kFields[] = {
    {"FullScreenInfo", &P::fullScreenInfo},
    {"HideCursor", &P::hideCursor},
    {"HideSlideShowInfo", &P::hideSlideShowInfo},
    {"ChangeTimeStamp", &P::changeTimeStamp},
    {"TrimEdges", &P::trimEdges},
    {"ReplaceJpegRot", &P::replaceJpegRot},
    {"IncludeEncrypted", &P::includeEncrypted},
    {"RawExif", &P::rawExif},
    {"ReplaceExistingFiles", &P::replaceExisting},
    {"ConfirmDelete", &P::confirmDelete},
    {"ImageColor", &P::imageColor},
    {"ColEncrypted", &P::colEncrypted},
    {"ImgBackCol", &P::imgBackCol},
    {"FileListCol", &P::fileListCol},
    {"DescriptionCol", &P::descriptionCol},
    {"SlideshowDelay", IntRange{&P::slideshowDelay, 1, 60}},
    {"FixFilenames", &P::fixFilenames},
    {"FullScrSize", &P::fullScrSize},
    {"HiddenFiles", &P::hiddenFiles},
    {"FullScreenDesc", &P::fullScreenDesc},
    {"PreviewGrayBack", &P::previewGrayBack},
    {"AutoClean", &P::autoClean},
    {"SmtpServer", &P::smtpServer},
    {"SmtpPort", IntRange{&P::smtpPort, 1, 65535}},
    {"SmtpLoginName", &P::smtpLoginName},
    {"SmtpRealName", &P::smtpRealName},
    {"SmtpReturnAddress", &P::smtpReturnAddress},
    {"SmtpSignature", &P::smtpSignature},
    {kAddressBook, {}},
    {"UseCache", &P::useCache},
    {"CacheResampleFilter", IntRange{&P::cacheResampleFilter, 0, 6}},
    {"CacheQuality", IntRange{&P::cacheQuality, 10, 100}},
    {"CacheMinFileSize", IntRange{&P::cacheMinFileSize, 1, 4096}},
    {"CacheSharpen", &P::cacheSharpen},
    {"CacheFolder", &P::cacheFolder},
    // Added later than the rest: stores written before it end just above.
    {"ResetExifOrientation", &P::resetOrientation},
};

void readField(const SettingsKey& key, const Field& field, ProgramOptions& options) {
  std::visit(Overloaded{
                 [&](bool P::*m) { options.*m = key.readBool(field.name); },
                 [&](IntRange r) { options.*r.member = std::clamp(key.readInteger(field.name), r.low, r.high); },
                 [&](Colour P::*m) { options.*m = key.readDword(field.name) & 0xFFFFFFu; },
                 [&](FullScreenSize P::*m) {
                   options.*m = FullScreenSize(std::clamp(key.readInteger(field.name), 0, 2));
                 },
                 [&](std::string P::*m) { options.*m = key.readString(field.name); },
                 [&](std::filesystem::path P::*m) { options.*m = key.readString(field.name); },
             },
             field.member);
}

void writeField(SettingsKey& key, const Field& field, const ProgramOptions& options) {
  std::visit(Overloaded{
                 [&](bool P::*m) { key.writeBool(field.name, options.*m); },
                 [&](IntRange r) { key.writeInteger(field.name, options.*r.member); },
                 [&](Colour P::*m) { key.writeDword(field.name, options.*m); },
                 [&](FullScreenSize P::*m) { key.writeInteger(field.name, int(options.*m)); },
                 [&](std::string P::*m) { key.writeString(field.name, options.*m); },
                 [&](std::filesystem::path P::*m) { key.writeString(field.name, (options.*m).string()); },
             },
             field.member);
}

// Lines may end in CR LF or LF; blank lines hold no address. Older programs
// wrote Latin-1, which textFromFile turns into UTF-8.
std::vector<std::string> readAddressBook(const std::filesystem::path& file) {
  std::vector<std::string> addresses;
  const std::string text = platform::readFile(file);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line = std::string_view(text).substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!line.empty()) addresses.push_back(platform::textFromFile(line));
    start = end + 1;
  }
  return addresses;
}

void writeAddressBook(const std::filesystem::path& file, const std::vector<std::string>& addresses) {
  std::string text;
  for (const std::string& address : addresses) text += address + "\r\n";
  platform::writeFileAtomically(file, text);
}

}  // namespace

ProgramOptions ProgramOptions::defaults(const std::filesystem::path& programData,
                                        const SystemColours& colours) {
  ProgramOptions options;
  options.cacheFolder = programData / "cache";
  options.imgBackCol = colours.buttonFace;
  options.fileListCol = colours.window;
  options.descriptionCol = colours.inactiveCaptionText;
  return options;
}

std::filesystem::path addressFile(const std::filesystem::path& programData) {
  return programData / "email.idx";
}

void readProgramOptions(platform::SettingsStore& store, const std::filesystem::path& addressBook,
                        ProgramOptions& options) {
  const auto key = store.openKey(platform::kProgramKey, false);
  if (!key) return;
  try {
    for (const Field& field : kFields) {
      if (field.name == kAddressBook) {
        options.addresses = readAddressBook(addressBook);
      } else {
        readField(*key, field, options);
      }
    }
  } catch (const Error&) {
    // Stop quietly at the first missing value (or a missing address file);
    // what was read so far stays.
  }
}

void writeProgramOptions(platform::SettingsStore& store, const std::filesystem::path& addressBook,
                         const ProgramOptions& options) {
  auto key = store.openKey(platform::kProgramKey, true);
  for (const Field& field : kFields) {
    if (field.name != kAddressBook) writeField(*key, field, options);
  }
  writeAddressBook(addressBook, options.addresses);
}

}  // namespace vistrel::options
