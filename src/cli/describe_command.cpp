#include "cli/describe_command.h"

#include "cli/file_edits.h"
#include "metadata/descriptions.h"
#include "metadata/jpeg_comment.h"
#include "platform/error.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;

constexpr OptionSpec kOptions[] = {
    {"--text", "TEXT", "The description; line breaks become blanks (--text \"Harbour at dawn\")."},
    {"--clear", "", "Remove the description (describe --clear IMG_0003.jpg)."},
    {"--comment", "TEXT",
     "Also put TEXT into the comment of each JPEG file, at most 65533 bytes; an empty TEXT leaves an empty comment "
     "(--comment \"Harbour at dawn\")."},
};

class DescribeCommand : public Command {
 public:
  explicit DescribeCommand(const ParsedArguments& args)
      : text_(args.last("--text").value_or("")), comment_(args.last("--comment")), files_(args.operands) {
    if (args.has("--text") == args.has("--clear")) throw UsageError("give either --text or --clear");
    if (comment_ && comment_->size() > metadata::kMaxJpegCommentBytes) {
      throw UsageError("a JPEG comment holds at most " + std::to_string(metadata::kMaxJpegCommentBytes) + " bytes");
    }
    if (files_.empty()) throw UsageError("no file given");
  }

  int run() override {
    return editEachFile("describe", files_, [this](const fs::path& file) {
      metadata::SetDescription(file, text_);
      if (!comment_) return;
      switch (metadata::WriteJpegComment(file, *comment_)) {
        case metadata::CommentOutcome::Written: break;
        case metadata::CommentOutcome::ReadOnly: throw Error("read-only: the description is set, the comment is not");
        case metadata::CommentOutcome::NotJpeg: throw Error("no JPEG file: the description is set, the comment is not");
      }
    });
  }

 private:
  std::string text_;
  std::optional<std::string> comment_;
  std::vector<std::string> files_;
};

}  // namespace

const CommandInfo& describeCommand() {
  static const CommandInfo info{
      "describe",
      "describe (--text TEXT | --clear) [--comment TEXT] FILE...",
      "Set or remove the description of files, and with --comment the comment inside JPEG files.",
      kOptions,
      "Descriptions are kept per folder in its descript.ion, one line per file, and show in the file list's "
      "Description column and in galleries. Read-only photos get their description but not the comment; they are "
      "named on standard error.",
      "",
      "  # one description for a day's photos, also as their JPEG comment\n"
      "  vistrel describe --text \"Harbour at dawn\" --comment \"Harbour at dawn\" IMG_0001.jpg IMG_0002.jpg\n"
      "  # forget a description\n"
      "  vistrel describe --clear IMG_0003.jpg",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<DescribeCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
