#include "metadata/maker_formatters.h"

#include <array>
#include <span>
#include <string_view>

#include "metadata/exif_text.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

std::vector<std::string_view> items(std::string_view components) {
  std::vector<std::string_view> result;
  for (std::size_t start = 0;;) {
    const auto comma = components.find(',', start);
    result.push_back(platform::trimBlanks(components.substr(start, comma - start)));
    if (comma == std::string_view::npos) return result;
    start = comma + 1;
  }
}

// A number shown as it is, or through its decode list; empty means no line.
std::string shownValue(std::string_view decodeList, std::string_view number) {
  const std::string text = decodeList.empty() ? std::string(number) : DecodeValue(decodeList, number);
  return std::string(platform::trimBlanks(text));
}

void addLine(std::vector<MakerLine>& lines, const char* label, std::string value) {
  if (!value.empty()) lines.push_back({label, std::move(value)});
}

// A value of the packed list: the number at `position` (the first number,
// position 0, is the record's length).
struct PackedField {
  std::size_t position;
  const char* label;
  const char* decodeList;
};

std::vector<MakerLine> packedLines(std::span<const PackedField> fields, const std::string& components) {
  const auto numbers = items(components);
  std::vector<MakerLine> lines;
  for (const PackedField& field : fields) {
    if (field.position < numbers.size()) addLine(lines, field.label, shownValue(field.decodeList, numbers[field.position]));
  }
  return lines;
}

constexpr const char* kLowNormalHigh = "65535:Low,0:Normal,1:High";

// The camera settings record. Cameras write the longest and shortest focal
// length and their unit at 23, 24 and 25; the maximum aperture follows at 26.
constexpr PackedField kSettings1[] = {
    {1, "Macro mode", "1:Macro,2:Normal"},
    {2, "Self Timer", ""},
    {3, "Compression Rate", "0:SuperFine,1:Fine,2:Normal,3:Basic,5:SuperFine"},
    {4, "Flash Mode", "0:Not fired,1:Auto,2:On,3:Red-eye,4:Slow sync,5:Auto+red-eye,6:On+red eye,16:External flash"},
    {5, "Drive Mode", "0:Single,1:Continuous"},
    {7, "Focus Mode", "0:One-Shot,1:AI Servo,2:AI Focus,3:MF,4:Single,5:Continuous,6:MF"},
    {10, "Image Size", "0:Large,1:Medium,2:Small,4:5MPixel,5:2 MPixel,6:1.5 MPixel"},
    {11, "Easy Shoot",
     "0:Full Auto,1:Manual,2:Landscape,3:Fast Shutter,4:Slow Shutter,5:Night,6:B&W,7:Sepia,8:Portrait,9:Sports,"
     "10:Macro/Close-Up,11:Pan Focus"},
    {13, "Contrast", kLowNormalHigh},
    {14, "Saturation", kLowNormalHigh},
    {15, "Sharpness", kLowNormalHigh},
    {16, "CCD ISO", "0:Not used,15:auto,16:50,17:100,18:200,19:400"},
    {17, "Metering Mode", kLowNormalHigh},
    {19, "AF Point", kLowNormalHigh},
    {20, "Exposure Mode", kLowNormalHigh},
    {23, "Long focal", ""},
    {24, "Short focal", ""},
    {25, "Focal Units", ""},
    {29, "Flash Details", ""},
    {32, "Focus Mode", kLowNormalHigh},
};

// The shot information record.
constexpr PackedField kSettings2[] = {
    {7, "White balance", "0:Auto,1:Sunny,2:Cloudy,3:Tungsten,4:Flourescent,5:Flash,6:Custom"},
    {9, "Sequence Number", ""},
    {11, "OpticalZoom Step", ""},
    {14, "AF point", ""},
    {15, "Flash bias",
     "65472:-2 EV,65484:-1.67 EV,65488:-1.50 EV,65492:-1.33 EV,65504:-1 EV,65516:-0.67 EV,65520:-0.50 EV,"
     "65524:-0.33 EV,0:0 EV,12:0.33 EV,16:0.50 EV,20:0.67 EV,32:1 EV,44:1.33 EV,48:1.50 EV,52:1.67 EV,64:2 EV"},
    {19, "Distance", ""},
};

struct CustomFunction {
  const char* name;
  const char* settings;
};

// Custom functions 1 … 15.
constexpr std::array<CustomFunction, 15> kCustomFunctions = {{
    {"Noise Reduction", "0: Off,1: On"},
    {"Shutter AE Lock Button", "0:AF/AE lock,1:AE lock/AF,2:AF/AF lock,3:AE+release/AE+AF"},
    {"Mirror Lockup", "0:Disable,1:Enable"},
    {"Exposure Level", "0:1/2 stop,1:1/3 stop"},
    {"AF Assist", "0:On (auto),1:Off"},
    {"AV Shutter Speed", "0:Automatic,1: 1/200 (fixed)"},
    {"AEB Sequence", "0:0, -, + / Enabled1: 0, -, + / Disabled,2: -, 0, + / Enabled,3: -, 0, + / Disabled"},
    {"Shutter Sync", "0:1st-curtain sync,1: 2nd-curtain sync"},
    {"Lens AF Button", "0:AF stop,1:Operate AF,2:Lock AE and start timer"},
    {"Fill Flash Reduction", "0:Enable,1:Disable"},
    {"Menu Return", "0:Top,1:Previous (volatile),2:Previous"},
    {"Set Button", "0:Not assigned,1:Change quality,2:Change ISO speed,3:Select parameters"},
    {"Sensor Cleaning", "0:Disable,1:Enable"},
    {"Superimposed Display", "0: On,1: Off"},
    {"Shutter Release w/o CF Card", "0:Enable,1:Disable"},
}};

}  // namespace

std::string NikonColourModeText(const std::string& text) {
  // Cameras write the mode at the start of the value; a blank or quote in
  // front of it is passed over.
  const std::string_view value(text);
  const std::string mode = PrintableText(value.substr(std::min(value.find_first_not_of(" \""), value.size()), 5));
  if (mode == "MODE1") return "Mode1 (sRGB)";
  if (mode == "MODE2") return "Mode 2 (Adobe RGB)";
  if (mode == "MODE3") return "Mode 3 (sRGB): higher saturation";
  return mode;
}

std::string NikonLensRangeText(const std::string& text) {
  std::array<double, 4> values{};
  const auto parts = items(text);
  for (std::size_t i = 0; i < values.size() && i < parts.size(); ++i) values[i] = FractionValue(parts[i]);
  return FormatReal("%0.1f-", values[0]) + FormatReal("%0.1f(mm)  ", values[1]) + FormatReal("F%0.1f-", values[2]) +
         FormatReal("F%0.1f", values[3]);
}

std::vector<MakerLine> CanonSettings1Lines(const std::string& components) { return packedLines(kSettings1, components); }

std::vector<MakerLine> CanonSettings2Lines(const std::string& components) { return packedLines(kSettings2, components); }

std::vector<MakerLine> CanonCustomFunctionLines(const std::string& components) {
  const auto values = items(components);
  std::vector<MakerLine> lines;
  // The first number is the record's length, not a function.
  for (std::size_t i = 1; i < values.size(); ++i) {
    const auto value = platform::parseInteger(values[i]);
    if (!value || *value > 4095) continue;
    const long long function = *value / 256;
    if (function < 1 || function > static_cast<long long>(kCustomFunctions.size())) continue;
    const CustomFunction& named = kCustomFunctions[static_cast<std::size_t>(function - 1)];
    addLine(lines, named.name, shownValue(named.settings, std::to_string(*value % 256)));
  }
  return lines;
}

}  // namespace vistrel::metadata
