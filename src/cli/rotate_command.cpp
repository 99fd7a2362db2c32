#include "cli/rotate_command.h"

#include <unistd.h>

#include <iostream>
#include <optional>
#include <set>

#include "browser/file_commands.h"
#include "browser/thumbnail_cache.h"
#include "cli/jobs_option.h"
#include "cli/stored_options.h"
#include "cli/terminal_prompter.h"
#include "imaging/jpeg_rotation.h"
#include "platform/heap_tuning.h"
#include "platform/text.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;
using imaging::JpegTransform;
using imaging::RotatedFile;

constexpr OptionSpec kOptions[] = {
    {"--no-trim", "",
     "Keep the partial 8- or 16-pixel blocks along an edge the turn would have to mirror; that "
     "strip is then turned but not mirrored. By default it is cut off (the program option "
     "\"Trim edges\")."},
    {"--copy", "",
     "Write the turned photo as rot90_NAME (rot180_, rot270_; for auto the turn's own word) beside "
     "the original and leave the original alone. Without it the program option \"Replace original "
     "file when rotating JPEG images\" decides, which is on unless changed."},
    {"--keep-orientation", "",
     "Leave the EXIF Orientation tag as it is. By default a turned photo gets Orientation "
     "1 (upright), so that viewers which honour the tag do not turn it a second time "
     "(the program option \"Reset EXIF orientation after rotating\")."},
    {"--jobs", "N",
     "Turn N photos at once (1 to 256; default: one per processor core). The files are the same "
     "for every N."},
};

std::optional<JpegTransform> turnOf(const std::string& word) {
  if (word == "90") return JpegTransform::Rotate90;
  if (word == "180") return JpegTransform::Rotate180;
  if (word == "270") return JpegTransform::Rotate270;
  if (word == "auto") return std::nullopt;
  throw UsageError("the turn is 90, 180, 270 or auto, not '" + word + "'");
}

class RotateCommand : public Command {
 public:
  explicit RotateCommand(const ParsedArguments& args)
      : args_(args), jobs_(args.has("--jobs") ? parseJobs(*args.last("--jobs")) : defaultJobs()) {
    if (args.operands.empty()) throw UsageError("no turn given");
    turn_ = turnOf(args.operands.front());
    // A file named twice is turned once: the workers read ahead of the
    // writing, so a second turn would start from the unturned photo.
    std::set<fs::path> seen;
    for (auto operand = args.operands.begin() + 1; operand != args.operands.end(); ++operand) {
      if (seen.insert(fs::absolute(*operand).lexically_normal()).second) files_.emplace_back(*operand);
    }
    if (files_.empty()) throw UsageError("no file given");
  }

  int run() override {
    const options::ProgramOptions stored = storedProgramOptions();
    imaging::RotationOptions options;
    options.replace = stored.replaceJpegRot && !args_.has("--copy");
    options.keepTimeStamp = stored.changeTimeStamp;
    options.trim = stored.trimEdges && !args_.has("--no-trim");
    options.resetOrientation = stored.resetOrientation && !args_.has("--keep-orientation");
    // A turn that keeps the time stamp would leave the browser's cached
    // thumbnail looking current.
    browser::ThumbnailCache cache(browser::cacheSettingsOf(stored));
    TerminalPrompter prompter(::isatty(STDIN_FILENO) != 0 ? AnswerMode::Ask : AnswerMode::No);
    platform::reuseLargeBuffers();
    bool failed = false;
    imaging::RotateJpegFiles(files_, turn_, options, prompter, jobs_,
                             {nullptr, [&](const RotatedFile& file) {
                                failed |= !report(file);
                                if (file.status == RotatedFile::Status::Rotated)
                                  cache.forget(fs::absolute(file.output));
                                return true;
                              }});
    return failed ? 1 : 0;
  }

 private:
  // Prints the file's outcome; false when it counts as a failure.
  static bool report(const RotatedFile& file) {
    using Status = RotatedFile::Status;
    switch (file.status) {
      case Status::Rotated: std::cout << platform::displayName(file.output) << "\n"; return true;
      case Status::Upright:
        std::cerr << platform::displayName(file.source) << ": already upright, left as it is\n";
        return true;
      case Status::Declined:
        std::cerr << "vistrel rotate: " << platform::displayName(file.output) << " exists; stopped\n";
        return false;
      case Status::NotSaved:
      case Status::Failed:
        std::cerr << "vistrel rotate: " << platform::displayName(file.source) << ": "
                  << platform::textFromFile(file.message) << "\n";
        return false;
    }
    return false;
  }

  ParsedArguments args_;
  unsigned jobs_;
  std::optional<JpegTransform> turn_;
  std::vector<fs::path> files_;
};

}  // namespace

const CommandInfo& rotateCommand() {
  static const CommandInfo info{
      "rotate",
      "rotate 90|180|270|auto [--no-trim] [--copy] [--keep-orientation] [--jobs N] FILE...",
      "Turn JPEG photos without recompressing them, as \"JPEG rotate\" in the browser does; auto turns each "
      "photo upright by its EXIF Orientation.",
      kOptions,
      "90 turns clockwise, 270 counter-clockwise. The picture's compressed blocks are rearranged, never decoded "
      "and encoded again, so nothing of the photo is lost; comments, EXIF, IPTC, colour profiles and XMP are "
      "kept, and the EXIF pixel size is set to the new size. auto turns (or mirrors) each photo the way its "
      "camera recorded in the Orientation tag and leaves photos without one, or with 1, as they are.\n\n"
      "A replaced photo is written beside the original and renamed over it when complete, so a crash or a full "
      "disk never costs the photo; it keeps its permissions and, unless the program option \"Retain original "
      "time stamp when rotating files\" is off, its time stamp. The path of each turned photo is printed on "
      "standard output.\n\n"
      "When a rot90_NAME copy exists already, the command asks on a terminal whether to replace it; without a "
      "terminal, or with the answer no, it stops there.",
      "",
      "  # turn the portrait photos of a shoot clockwise\n"
      "  vistrel rotate 90 IMG_0412.jpg IMG_0415.jpg\n"
      "  # clean a card before publishing: every photo upright, whatever the camera recorded\n"
      "  vistrel rotate auto --jobs 2 ~/Photos/2026-12-Lofoten/*.jpg",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<RotateCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
