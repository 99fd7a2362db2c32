#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace vistrel::options {

// A colour as the settings keep it: 0x00BBGGRR.
using Colour = std::uint32_t;
constexpr Colour rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Colour(r) | (Colour(g) << 8) | (Colour(b) << 16);
}

// The colours of the desktop that some defaults follow. The GUI passes its
// palette's; headless runs keep the classic ones.
struct SystemColours {
  Colour buttonFace = rgb(192, 192, 192);
  Colour window = rgb(255, 255, 255);
  Colour inactiveCaptionText = rgb(192, 192, 192);
};

enum class FullScreenSize { ShrinkToFit = 0, StretchToFit = 1, FullSize = 2 };

// The program-wide options that the options dialog edits and the engines read
// (the gallery run reads replaceExisting and fixFilenames, the thumbnail cache
// its cache settings, and so on).
struct ProgramOptions {
  // General
  bool replaceJpegRot = true;     // replace the original file when rotating JPEG images
  bool changeTimeStamp = true;    // retain the original time stamp when rotating files
  bool confirmDelete = true;
  bool replaceExisting = false;   // always overwrite existing files when creating thumbnails
  int slideshowDelay = 3;         // seconds, 1-60
  bool hideSlideShowInfo = false;
  bool hideCursor = false;
  bool fixFilenames = true;       // replace illegal characters when creating thumbnails
  bool keepDateIptcEdit = true;   // not stored: on at every start
  bool trimEdges = true;          // not shown to the user
  bool resetOrientation = true;   // set the EXIF Orientation to 1 after rotating a JPEG file
  // Display
  FullScreenSize fullScrSize = FullScreenSize::ShrinkToFit;
  bool hiddenFiles = false;
  bool fullScreenInfo = false;
  bool fullScreenDesc = false;
  bool includeEncrypted = false;
  Colour imgBackCol = rgb(192, 192, 192);
  Colour imageColor = rgb(0, 0, 128);  // navy
  Colour fileListCol = rgb(255, 255, 255);
  Colour descriptionCol = rgb(192, 192, 192);
  bool colEncrypted = false;
  bool rawExif = false;
  // Preview thumbnails and the thumbnail cache
  bool previewGrayBack = true;
  bool useCache = true;
  int cacheResampleFilter = 1;  // 0 Box … 6 Mitchell
  int cacheQuality = 80;        // 10-100
  int cacheMinFileSize = 100;   // kilobytes, 1-4096
  bool cacheSharpen = false;
  std::filesystem::path cacheFolder;
  bool autoClean = true;
  // E-mail
  std::string smtpServer = "smtp.example.com";
  int smtpPort = 25;
  std::string smtpLoginName, smtpRealName, smtpReturnAddress, smtpSignature;
  std::vector<std::string> addresses;  // the address book, kept in email.idx

  // The defaults for a program whose data lives in `programData`.
  static ProgramOptions defaults(const std::filesystem::path& programData,
                                 const SystemColours& colours = {});
  bool operator==(const ProgramOptions&) const = default;
};

// The captions of the resample filters, by index.
inline constexpr const char* kResampleFilterNames[] = {"Box",    "Triangle", "Hermite", "Bell",
                                                       "Spline", "Lanczos3", "Mitchell"};

// The address book beside the program data: one address per line.
std::filesystem::path addressFile(const std::filesystem::path& programData);

// Reads the stored options over `options` in their fixed order; the first value
// that is missing or of another type (the address file counts as one, between
// the e-mail and the cache values) ends the reading, and the rest keep what
// they held. A missing settings key reads nothing.
void readProgramOptions(platform::SettingsStore& store, const std::filesystem::path& addressBook,
                        ProgramOptions& options);

// Writes every stored value and the address file (replaced atomically).
void writeProgramOptions(platform::SettingsStore& store, const std::filesystem::path& addressBook,
                         const ProgramOptions& options);

}  // namespace vistrel::options
