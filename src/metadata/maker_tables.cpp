#include "metadata/maker_tables.h"

#include "metadata/maker_formatters.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

// The decode lists are kept exactly as the listing has always shown them,
// slips included: changing one would change what users see for their files.

const MakerTagRow kNikonType1[] = {
    {0x0002, "FamilyID"},
    {0x0003, "Quality",
     "1:Vga Basic,2:Vga Normal,3:Vga Fine,4:SXGA Basic,5:SXGA Normal,6:SXGA Fine10:2 Mpixel Basic,"
     "11:2 Mpixel Normal,12:2 Mpixel Fine"},
    {0x0004, "ColorMode", "1:Color,2:Monochrome"},
    {0x0005, "ImageAdjustment", "0:Normal,1:Bright+,2:Bright-,3:Contrast+,4:Contrast-"},
    {0x0006, "ISOSpeed", "0:ISO80,2:ISO160,4:ISO320,5:ISO100"},
    {0x0007, "WhiteBalance", "0:Auto,1:Preset,2:Daylight,3:Incandescense,4:Fluorescence,5:Cloudy,6:SpeedLight"},
    {0x0008, "Focus"},
    {0x0009, "Skip"},
    {0x000A, "DigitalZoom"},
    {0x000B, "Converter", "0:Not used,1:Used"},
    {0x0F00, "Skip"},
};

const MakerTagRow kNikonType2[] = {
    {0x0001, "Family ID"},
    {0x0002, "ISO Speed"},
    {0x0003, "Color Mode"},
    {0x0004, "Quality"},
    {0x0005, "White Balance"},
    {0x0006, "Image Sharpening"},
    {0x0007, "Focus Mode"},
    {0x0008, "Flash Setting"},
    {0x0009, "Auto Flash Mode"},
    {0x000A, "Skip"},
    {0x000B, "White Bias Value"},
    {0x000F, "Digital Zoom"},
    {0x0010, "Skip"},
    {0x0011, "Skip"},
    {0x0080, "Image Adjustment"},
    {0x0081, "Image Adjustment"},
    {0x0082, "Adapter"},
    {0x0084, "Lens information", "", NikonLensRangeText},
    {0x0085, "Manual Focus Distance"},
    {0x0086, "Digital Zoom"},
    {0x0088, "Focus Area"},
    {0x0089, "Mode"},
    {0x008D, "Color Mode", "", NikonColourModeText},
    {0x008F, "Scene Mode"},
    {0x0092, "Hue Adjustment"},
    {0x0094, "Saturation"},
    {0x0095, "Noise Reduction"},
    {0x0F00, "Skip"},
};

const MakerTagRow kOlympus[] = {
    {0x0200, "SpecialMode"},
    {0x0201, "JpegQual", "1:SQ,2:HQ,3:SHQ,4:Raw"},
    {0x0202, "Macro", "0=Normal,1:Macro;"},
    {0x0203, "Skip"},
    {0x0204, "Digital Zoom Ratio"},
    {0x0205, "Skip"},
    {0x0206, "Skip"},
    {0x0207, "Firmware"},
    {0x0208, "Picture Info"},
    {0x0209, "Camera ID"},
    {0x0F00, "Skip"},
    {0x1004, "Flash Mode"},
    {0x1006, "Bracket"},
    {0x100B, "Focus Mode"},
    {0x100C, "Focus Distance"},
    {0x100D, "Zoom"},
    {0x100E, "Macro Focus"},
    {0x100F, "Sharpness"},
    {0x1011, "Color Matrix"},
    {0x1012, "Black Level"},
    {0x1015, "White Balance"},
    {0x1017, "Red Bias"},
    {0x1018, "Blue Bias"},
    {0x101A, "SerialNumber"},
    {0x1023, "Flash Bias"},
    {0x1029, "Contrast"},
    {0x102A, "Sharpness Factor"},
    {0x102B, "Color Control"},
    {0x102C, "Valid Bits"},
    {0x102D, "Coring Filter"},
    {0x102E, "Final Width"},
    {0x102F, "Final Height"},
    {0x1034, "Compression Ratio"},
};

constexpr const char* kCasioNormalLowHigh = "0:Normal,1:Low,2:High";

const MakerTagRow kCasio[] = {
    {0x0001, "RecordingMode", "1:Single Shutter,2:Panorama,3:Night Scene,4:Portrait,5:Landscape"},
    {0x0002, "Quality", "1:Economy,2:Normal,3:Fine"},
    {0x0003, "FocusingMode", "2:Macro,3:Auto Focus,4:Manual Focus,5:Infinity"},
    {0x0004, "FlashMode", "1:Auto,2:On,3:Off,4:Red Eye Reduction"},
    {0x0005, "FlashIntensity", "11:Weak,13:Normal,15:Strong"},
    {0x0006, "ObjectDistance"},
    {0x0007, "WhiteBalance", "1:Auto,2:Tungsten,3:Daylight,4:Fluorescent,5:Shade,129:Manual"},
    {0x0008, "Skip"},
    {0x0009, "Skip"},
    {0x000A, "DigitalZoom", "65536:Off,65537:2X Digital Zoom"},
    {0x000B, "Sharpness", "0:Normal,1:Soft,2:Hard"},
    {0x000C, "Contrast", kCasioNormalLowHigh},
    {0x000D, "Saturation", kCasioNormalLowHigh},
    {0x000E, "Skip"},
    {0x000F, "Skip"},
    {0x0010, "Skip"},
    {0x0011, "Skip"},
    {0x0012, "Skip"},
    {0x0013, "Skip"},
    {0x0014, "CCDSensitivity", "64:Normal,125:+1.0,250:+2.0,244:+3.0,80:Normal,100:High"},
    {0x0015, "Skip"},
    {0x0016, "Skip"},
    {0x0017, "Skip"},
    {0x0018, "Skip"},
    {0x0019, "Skip"},
    {0x001A, "Skip"},
};

constexpr const char* kFujiNormalHighLow = "0:Normal,256:High,512:Low";
constexpr const char* kFujiOffOn = "0:Off,1:On";

const MakerTagRow kFujifilm[] = {
    {0x0000, "Version"},
    {0x1000, "Quality"},
    {0x1001, "Sharpness", "1:Soft,2:Soft,3:Normal,4:Hard,5:Hard"},
    {0x1002, "WhiteBalance",
     "0:Auto,256:Daylight,512:Cloudy,768:DaylightColor-fluorescence,769:DaywhiteColor-fluorescence,"
     "770:White-fluorescence,1024:Incandenscense,3840:Custom white balance."},
    {0x1003, "Color", kFujiNormalHighLow},
    {0x1004, "Tone", kFujiNormalHighLow},
    {0x1010, "FlashMode", "0:Auto,1:On,2:Off,3:Red-eye reduction"},
    {0x1011, "FlashStrength"},
    {0x1020, "Macro", kFujiOffOn},
    {0x1021, "Focusmode", "0:Auto Focus,1:Manual Focus"},
    {0x1030, "SlowSync", kFujiOffOn},
    {0x1031, "PictureMode",
     "0:Auto,1:Portrait scene,2:Landscape scene,4:Sports scene,5:Night scene,6:Program AE,"
     "256:Aperture prior AE,512:Shutter prior AE,768:Manual exposure"},
    {0x1032, "Skip"},
    {0x1100, "ContTake/Bracket", kFujiOffOn},
    {0x1200, "Skip"},
    {0x1300, "BlurWarning", "0:No blur warning,1:Blur warning"},
    {0x1301, "FocusWarning", "0:Auto Focus good,1:Out of focus"},
    {0x1302, "AEWarning", "0:AE good,1:Over exposure"},
};

const MakerTagRow kCanon[] = {
    {0x0000, "Skip"},
    {0x0001, "ExposureInfo1", "", nullptr, CanonSettings1Lines},
    {0x0002, "Skip"},
    {0x0003, "Skip"},
    {0x0004, "ExposureInfo2", "", nullptr, CanonSettings2Lines},
    {0x0006, "ImageType"},
    {0x0007, "FirmwareVersion"},
    {0x0008, "ImageNumber"},
    {0x0009, "OwnerName"},
    {0x000A, "Skip"},
    {0x000B, "Skip"},
    {0x000C, "CameraSerialNumber"},
    {0x000D, "Skip"},
    {0x000E, "Skip"},
    {0x000F, "CustomFunctions", "", nullptr, CanonCustomFunctionLines},
    {0x0010, "Skip"},
};

const MakerTagRow kSeikoEpson[] = {
    {0x0200, "Special Mode"},
    {0x0201, "JpegQuality"},
    {0x0202, "Macro"},
    {0x0203, "Skip"},
    {0x0204, "DigiZoom"},
    {0x0209, "CameraID"},
    {0x020A, "Comments"},
    {0x020B, "Width"},
    {0x020C, "Height"},
    {0x020D, "SoftRelease"},
    {0x0300, "??"},
    {0x0F00, "skip"},
};

const MakerTagRow kSanyo[] = {
    {0x0200, "Special Mode"}, {0x0201, "JpegQuality"}, {0x0202, "Macro"},
    {0x0203, "Skip"},         {0x0204, "DigiZoom"},    {0x0F00, "DataDump"},
};

const MakerTagRow kMinolta[] = {
    {0x0000, "ModelID"},
    {0x0E00, "PIMdata"},
};

}  // namespace

std::span<const MakerTagRow> MakerTagTable(MakerTable table) {
  switch (table) {
    case MakerTable::NikonType1: return kNikonType1;
    case MakerTable::NikonType2: return kNikonType2;
    case MakerTable::Olympus: return kOlympus;
    case MakerTable::Casio: return kCasio;
    case MakerTable::Fujifilm: return kFujifilm;
    case MakerTable::Canon: return kCanon;
    case MakerTable::SeikoEpson: return kSeikoEpson;
    case MakerTable::Sanyo: return kSanyo;
    case MakerTable::Minolta: return kMinolta;
  }
  return {};
}

const MakerTagRow* FindMakerRow(std::span<const MakerTagRow> table, std::uint16_t tag) {
  for (const MakerTagRow& row : table) {
    if (row.tag == tag) return &row;
  }
  return nullptr;
}

bool IsSkipRow(const MakerTagRow& row) { return platform::equalsIgnoreCase(row.label, "Skip"); }

}  // namespace vistrel::metadata
