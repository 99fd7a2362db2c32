#include "cli/resize_command.h"

#include <iostream>

#include "cli/jobs_option.h"
#include "imaging/bitmap_filters.h"
#include "imaging/quick_resize.h"
#include "platform/heap_tuning.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kOptions[] = {
    {"--size", "N",
     "The longer side of each copy in pixels, 50 to 4000; smaller pictures are enlarged. Default: "
     "the size last chosen in the quick resize window (400 at first)."},
    {"--prefix", "P",
     "Write each copy beside its picture, named P followed by the picture's name, for example "
     "--prefix mail_ turns beach.png into mail_beach.jpg."},
    {"--out", "DIR",
     "Write the copies into DIR under the pictures' names (made when missing), for example "
     "--out ~/forum."},
    {"--filter", "NAME",
     "The resampling filter: Box, Triangle, Hermite, Bell, Spline, Lanczos3 or Mitchell. "
     "Default: the window's choice (Triangle at first)."},
    {"--quality", "Q", "JPEG quality from 10 to 100 (default: the window's, 80 at first)."},
    {"--progressive", "", "Write progressive JPEG files."},
    {"--sharpen", "", "Sharpen the copies after scaling."},
    {"--jobs", "N",
     "Work on N pictures at once (1 to 256; default: one per processor core). The copies are the "
     "same for every N."},
};

int filterIndex(const std::string& name) {
  for (std::size_t i = 0; i < imaging::kResampleFilterNames.size(); ++i) {
    if (platform::equalsIgnoreCase(name, imaging::kResampleFilterNames[i])) return static_cast<int>(i);
  }
  throw UsageError("--filter takes Box, Triangle, Hermite, Bell, Spline, Lanczos3 or Mitchell");
}

class ResizeCommand : public Command {
 public:
  explicit ResizeCommand(const ParsedArguments& args)
      : args_(args), jobs_(args.has("--jobs") ? parseJobs(*args.last("--jobs")) : defaultJobs()) {
    if (args.has("--prefix") && args.has("--out")) throw UsageError("give --prefix or --out, not both");
    if (args.operands.empty()) throw UsageError("no file given");
  }

  int run() override {
    const imaging::ResizeSettings settings = this->settings();
    const std::vector<fs::path> files(args_.operands.begin(), args_.operands.end());
    platform::reuseLargeBuffers();
    bool skipped = false;
    imaging::ResizeImageFiles(files, settings, jobs_, {nullptr, [&](const imaging::ResizedFile& file) {
                                                         if (file.skipped.empty()) {
                                                           std::cout << platform::displayName(file.output) << "\n";
                                                           return;
                                                         }
                                                         skipped = true;
                                                         std::cerr
                                                             << "vistrel resize: " << platform::displayName(file.source)
                                                             << ": skipped: " << platform::textFromFile(file.skipped)
                                                             << "\n";
                                                       }});
    return skipped ? 1 : 0;
  }

 private:
  // The window's stored settings, changed by the options given.
  imaging::ResizeSettings settings() const {
    imaging::ResizeSettings s;
    platform::SettingsStore store;
    imaging::readResizeSettings(store, s);
    if (const auto size = args_.last("--size")) s.newSize = parseNumberOption("--size", *size, 50, 4000);
    if (const auto quality = args_.last("--quality")) s.quality = parseNumberOption("--quality", *quality, 10, 100);
    if (const auto filter = args_.last("--filter")) s.filter = filterIndex(*filter);
    if (const auto prefix = args_.last("--prefix")) {
      s.usePrefix = true;
      s.prefix = *prefix;
    }
    if (const auto folder = args_.last("--out")) {
      s.usePrefix = false;
      s.outputFolder = *folder;
    }
    if (!s.usePrefix && s.outputFolder.empty()) {
      throw UsageError("give --out DIR or --prefix P: the quick resize window has no output folder yet");
    }
    s.progressive |= args_.has("--progressive");
    s.sharpen |= args_.has("--sharpen");
    return s;
  }

  ParsedArguments args_;
  unsigned jobs_;
};

}  // namespace

const CommandInfo& resizeCommand() {
  static const CommandInfo info{
      "resize",
      "resize --size N [--prefix P | --out DIR] [--filter NAME] [--quality Q] [--progressive] [--sharpen]\n"
      "               [--jobs N] FILE...",
      "Make small JPEG copies of pictures for a mail or a forum, as \"Quick resize\" in the browser does.",
      kOptions,
      "Every option left out takes the value last chosen in the quick resize window, copies going into its "
      "output folder or beside the pictures with its prefix. FILE may be any picture the browser shows (JPEG, "
      "PNG, TIFF, GIF, BMP, camera raw …); each copy is a JPEG file named after its picture with \".jpg\".\n\n"
      "Nothing is ever replaced: when a copy's name is taken, the copy is numbered after the first part of its "
      "name (photo_1.jpg, photo_2.jpg; scan.old.tif gives scan.old.jpg, then scan_1.jpg). The path of each copy "
      "is printed on standard output; a picture that cannot be read is skipped and named, with the reason, on "
      "standard error.",
      "0 when every picture was copied, 1 when any was skipped or a copy could not be written (each named on "
      "standard error), 2 for a mistake on the command line.",
      "  # copies of at most 800 pixels for a forum post, into one folder\n"
      "  vistrel resize --size 800 --out ~/forum ~/Photos/2026-12-Lofoten/*.jpg",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<ResizeCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
