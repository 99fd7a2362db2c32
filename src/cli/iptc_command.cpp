#include "cli/iptc_command.h"

#include <cstdio>
#include <iostream>
#include <optional>

#include "cli/date_text.h"
#include "cli/file_edits.h"
#include "metadata/iptc_fields.h"
#include "metadata/iptc_template.h"
#include "platform/program_data.h"
#include "platform/text.h"

namespace vistrel::cli {
namespace {

namespace fs = std::filesystem;
using metadata::IptcFields;

constexpr OptionSpec kOptions[] = {
    {"--keywords", "LIST",
     "With set: the keywords, separated by commas, in place of the photo's own (--keywords sea,sun). An empty list "
     "removes them."},
    {"--categories", "LIST",
     "With set: the supplemental categories, separated by commas, in place of the photo's own (--categories "
     "NAT,TRA)."},
    {"--template", "NAME.vit",
     "With set: start from this IPTC template instead of the photo's fields (all but the date); FIELD=VALUE and the "
     "lists given here still win. A name without a folder is looked for in the program data's IPTCTemplates first "
     "(--template agency.vit)."},
};

constexpr const char* kDateField = "DateCreated";
constexpr const char* kUrgencyField = "Urgency";

std::vector<std::string> listOf(std::string_view text) {
  std::vector<std::string> items;
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view item = platform::trimBlanks(text.substr(0, comma));
    if (!item.empty()) items.emplace_back(item);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  return items;
}

std::optional<platform::DateTime> dateOf(const std::string& text) {
  if (text.empty()) return std::nullopt;
  const auto date = parseDateText(text, '-', false);
  if (!date) throw UsageError("DateCreated must be a date YYYY-MM-DD, not \"" + text + "\"");
  return date;
}

std::string dateText(const platform::DateTime& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

// One FIELD=VALUE operand applied to the fields.
using Assignment = std::function<void(IptcFields&)>;

std::optional<Assignment> assignmentOf(const std::string& operand) {
  const auto equals = operand.find('=');
  if (equals == std::string::npos) return std::nullopt;
  const std::string key = operand.substr(0, equals);
  const std::string value = operand.substr(equals + 1);
  if (const metadata::IptcTextField* field = metadata::IptcTextFieldOf(key)) {
    if (value.size() > field->maxBytes) {
      throw UsageError(std::string(field->key) + " holds at most " + std::to_string(field->maxBytes) + " bytes");
    }
    return [member = field->member, value](IptcFields& fields) { fields.*member = value; };
  }
  if (platform::equalsIgnoreCase(key, kDateField)) {
    return [date = dateOf(value)](IptcFields& fields) { fields.dateCreated = date; };
  }
  if (platform::equalsIgnoreCase(key, kUrgencyField)) {
    const auto urgency = metadata::UrgencyIndexOf(value);
    if (!urgency) throw UsageError("Urgency is one of High, 2, 3, 4, Normal, 6, 7, Low, None");
    return [urgency = *urgency](IptcFields& fields) { fields.urgency = urgency; };
  }
  // A file name may hold "=" too, but never without a dot or a slash.
  if (key.find_first_of("./") == std::string::npos) throw UsageError("unknown field " + key);
  return std::nullopt;
}

fs::path templatePath(const std::string& name) {
  const fs::path given(name);
  std::error_code error;
  if (!given.has_parent_path()) {
    const fs::path stored = platform::programDataFolder() / metadata::kIptcTemplateFolder / given;
    if (fs::is_regular_file(stored, error)) return stored;
  }
  if (!fs::is_regular_file(given, error)) throw UsageError("no such template: " + name);
  return given;
}

void printFields(const IptcFields& fields) {
  const auto line = [](const std::string& key, const std::string& value) {
    if (!value.empty()) std::cout << "  " << key << ": " << value << "\n";
  };
  const auto joined = [](const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : ",") + item;
    return text;
  };
  for (const metadata::IptcTextField& field : metadata::IptcTextFields()) line(field.key, fields.*field.member);
  line("Keywords", joined(fields.keywords));
  line("Categories", joined(fields.suppCategories));
  if (fields.dateCreated) line(kDateField, dateText(*fields.dateCreated));
  if (fields.urgency != metadata::kNoUrgency) line(kUrgencyField, metadata::UrgencyTexts()[fields.urgency]);
}

class IptcCommand : public Command {
 public:
  explicit IptcCommand(const ParsedArguments& args) {
    if (args.operands.empty()) throw UsageError("give set or show");
    show_ = args.operands[0] == "show";
    if (!show_ && args.operands[0] != "set")
      throw UsageError("unknown action " + args.operands[0] + ": give set or show");
    if (show_ && !args.options.empty()) throw UsageError("show takes no options");
    auto operand = args.operands.begin() + 1;
    for (; !show_ && operand != args.operands.end(); ++operand) {
      const auto assignment = assignmentOf(*operand);
      if (!assignment) break;
      assignments_.push_back(*assignment);
    }
    files_.assign(operand, args.operands.end());
    if (files_.empty()) throw UsageError("no file given");
    if (const auto name = args.last("--template")) template_ = templatePath(*name);
    if (const auto keywords = args.last("--keywords")) {
      assignments_.push_back([items = listOf(*keywords)](IptcFields& fields) { fields.keywords = items; });
    }
    if (const auto categories = args.last("--categories")) {
      assignments_.push_back([items = listOf(*categories)](IptcFields& fields) { fields.suppCategories = items; });
    }
    if (!show_ && assignments_.empty() && template_.empty()) throw UsageError("nothing to set");
  }

  int run() override {
    if (show_) {
      return editEachFile("iptc", files_, [](const fs::path& file) {
        const IptcFields fields = metadata::ReadIptcFields(file);
        std::cout << platform::displayName(file) << "\n";
        printFields(fields);
      });
    }
    IptcFields fromTemplate;
    if (!template_.empty()) metadata::LoadIptcTemplate(template_, fromTemplate);
    return editEachFile("iptc", files_, [&](const fs::path& file) {
      IptcFields fields = metadata::ReadIptcFields(file);
      if (!template_.empty()) {
        const auto date = fields.dateCreated;
        fields = fromTemplate;
        fields.dateCreated = date;
      }
      for (const Assignment& assign : assignments_) assign(fields);
      metadata::WriteIptcFields(file, fields, true);
    });
  }

 private:
  bool show_ = false;
  std::vector<Assignment> assignments_;
  fs::path template_;
  std::vector<std::string> files_;
};

}  // namespace

const CommandInfo& iptcCommand() {
  static const CommandInfo info{
      "iptc",
      "iptc (set FIELD=VALUE... [--keywords LIST] [--categories LIST] [--template NAME.vit] | show) FILE...",
      "Write or print the IPTC caption, credits, keywords and dates of JPEG photos.",
      kOptions,
      "set reads each photo's IPTC fields as the IPTC editor shows them, changes the ones named and writes the IPTC "
      "block anew from the editor's fields; IPTC datasets the editor has no field for are dropped, and everything "
      "else in the file (EXIF, colour profile, XMP, the image data) stays as it is. The file keeps its modification "
      "time. FIELD is one of Caption, CaptionWriter, Headline, ObjectName, Byline, BylineTitle, CopyrightNotice, "
      "Category, Credit, Source, City, State, Country, SpecialInstructions, TransRef (the keys of template files), "
      "DateCreated (YYYY-MM-DD, empty to remove it) or Urgency (High, 2, 3, 4, Normal, 6, 7, Low, None). An empty "
      "VALUE empties the field. Text is written as UTF-8 and marked so.\n"
      "\n"
      "show prints each photo's name and its fields that are not empty, one per line.",
      "",
      "  # caption and credit for two photos, and their keywords\n"
      "  vistrel iptc set \"Caption=Boats at dawn\" Credit=Kim --keywords sea,sun IMG_0001.jpg IMG_0002.jpg\n"
      "  # the fields of a template, then the caption of one photo\n"
      "  vistrel iptc set --template agency.vit Caption=Harbour IMG_0003.jpg\n"
      "  # what a photo says\n"
      "  vistrel iptc show IMG_0001.jpg",
      [](const ParsedArguments& args) -> std::unique_ptr<Command> { return std::make_unique<IptcCommand>(args); }};
  return info;
}

}  // namespace vistrel::cli
