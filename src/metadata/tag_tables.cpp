#include "metadata/tag_tables.h"

#include <array>
#include <vector>

#include "metadata/exif_formatters.h"
#include "metadata/exif_text.h"
#include "platform/text.h"

namespace vistrel::metadata {
namespace {

struct NamedTag {
  std::uint16_t tag;
  const char* name;
};

constexpr NamedTag kMainTags[] = {
    {0x0001, "InteroperabilityIndex"}, {0x0002, "InteroperabilityVersion"}, {0x000B, "ACDComment"},
    {0x00FE, "NewSubfileType"}, {0x00FF, "SubfileType"}, {0x0100, "ImageWidth"}, {0x0101, "ImageLength"},
    {0x0102, "BitsPerSample"}, {0x0103, "Compression"}, {0x0106, "PhotometricInterpretation"},
    {0x010A, "FillOrder"}, {0x010D, "DocumentName"}, {0x010E, "ImageDescription"}, {0x010F, "Make"},
    {0x0110, "Model"}, {0x0111, "StripOffsets"}, {0x0112, "Orientation"}, {0x0115, "SamplesPerPixel"},
    {0x0116, "RowsPerStrip"}, {0x0117, "StripByteCounts"}, {0x0118, "MinSampleValue"},
    {0x0119, "MaxSampleValue"}, {0x011A, "XResolution"}, {0x011B, "YResolution"},
    {0x011C, "PlanarConfiguration"}, {0x011D, "PageName"}, {0x011E, "XPosition"}, {0x011F, "YPosition"},
    {0x0120, "FreeOffsets"}, {0x0121, "FreeByteCounts"}, {0x0122, "GrayReponseUnit"},
    {0x0123, "GrayReponseCurve"}, {0x0124, "T4Options"}, {0x0125, "T6Options"}, {0x0128, "ResolutionUnit"},
    {0x0129, "PageNumber"}, {0x012D, "TransferFunction"}, {0x0131, "Software"}, {0x0132, "DateTime"},
    {0x013B, "Artist"}, {0x013C, "HostComputer"}, {0x013D, "Predictor"}, {0x013E, "WhitePoint"},
    {0x013F, "PrimaryChromaticities"}, {0x0140, "ColorMap"}, {0x0141, "HalfToneHints"}, {0x0142, "TileWidth"},
    {0x0143, "TileLength"}, {0x0144, "TileOffsets"}, {0x0145, "TileByteCounts"}, {0x014A, "SubIFDs"},
    {0x014C, "InkSet"}, {0x014D, "InkNames"}, {0x014E, "NumberOfInks"}, {0x0150, "DotRange"},
    {0x0151, "TargetPrinter"}, {0x0152, "ExtraSample"}, {0x0153, "SampleFormat"}, {0x0154, "SMinSampleValue"},
    {0x0155, "SMaxSampleValue"}, {0x0156, "TransferRange"}, {0x0157, "ClipPath"}, {0x0158, "XClipPathUnits"},
    {0x0159, "YClipPathUnits"}, {0x015A, "Indexed"}, {0x015B, "JPEGTables"}, {0x015F, "OPIProxy"},
    {0x0200, "JPEGProc"}, {0x0201, "JPEGInterchangeFormat"}, {0x0202, "JPEGInterchangeFormatLength"},
    {0x0203, "JPEGRestartInterval"}, {0x0205, "JPEGLosslessPredictors"}, {0x0206, "JPEGPointTransforms"},
    {0x0207, "JPEGQTables"}, {0x0208, "JPEGDCTables"}, {0x0209, "JPEGACTables"},
    {0x0211, "YCbCrCoefficients"}, {0x0212, "YCbCrSubSampling"}, {0x0213, "YCbCrPositioning"},
    {0x0214, "ReferenceBlackWhite"}, {0x02BC, "ExtensibleMetadataPlatform"}, {0x0301, "Gamma"},
    {0x0302, "ICCProfileDescriptor"}, {0x0303, "SRGBRenderingIntent"}, {0x0304, "ImageTitle"},
    {0x1000, "RelatedImageFileFormat"}, {0x1001, "RelatedImageWidth"}, {0x1002, "RelatedImageHeight"},
    {0x5001, "ResolutionXUnit"}, {0x5002, "ResolutionYUnit"}, {0x5003, "ResolutionXLengthUnit"},
    {0x5004, "ResolutionYLengthUnit"}, {0x5005, "PrintFlags"}, {0x5006, "PrintFlagsVersion"},
    {0x5007, "PrintFlagsCrop"}, {0x5008, "PrintFlagsBleedWidth"}, {0x5009, "PrintFlagsBleedWidthScale"},
    {0x500A, "HalftoneLPI"}, {0x500B, "HalftoneLPIUnit"}, {0x500C, "HalftoneDegree"},
    {0x500D, "HalftoneShape"}, {0x500E, "HalftoneMisc"}, {0x500F, "HalftoneScreen"}, {0x5010, "JPEGQuality"},
    {0x5011, "GridSize"}, {0x5012, "ThumbnailFormat"}, {0x5013, "ThumbnailWidth"},
    {0x5014, "ThumbnailHeight"}, {0x5015, "ThumbnailColorDepth"}, {0x5016, "ThumbnailPlanes"},
    {0x5017, "ThumbnailRawBytes"}, {0x5018, "ThumbnailSize"}, {0x5019, "ThumbnailCompressedSize"},
    {0x501A, "ColorTransferFunction"}, {0x501B, "ThumbnailData"}, {0x5020, "ThumbnailImageWidth"},
    {0x5021, "ThumbnailImageHeight"}, {0x5022, "ThumbnailBitsPerSample"}, {0x5023, "ThumbnailCompression"},
    {0x5024, "ThumbnailPhotometricInterp"}, {0x5025, "ThumbnailImageDescription"},
    {0x5026, "ThumbnailEquipMake"}, {0x5027, "ThumbnailEquipModel"}, {0x5028, "ThumbnailStripOffsets"},
    {0x5029, "ThumbnailOrientation"}, {0x502A, "ThumbnailSamplesPerPixel"}, {0x502B, "ThumbnailRowsPerStrip"},
    {0x502C, "ThumbnailStripBytesCount"}, {0x502D, "ThumbnailResolutionX"}, {0x502E, "ThumbnailResolutionY"},
    {0x502F, "ThumbnailPlanarConfig"}, {0x5030, "ThumbnailResolutionUnit"},
    {0x5031, "ThumbnailTransferFunction"}, {0x5032, "ThumbnailSoftwareUsed"}, {0x5033, "ThumbnailDateTime"},
    {0x5034, "ThumbnailArtist"}, {0x5035, "ThumbnailWhitePoint"}, {0x5036, "ThumbnailPrimaryChromaticities"},
    {0x5037, "ThumbnailYCbCrCoefficients"}, {0x5038, "ThumbnailYCbCrSubsampling"},
    {0x5039, "ThumbnailYCbCrPositioning"}, {0x503A, "ThumbnailRefBlackWhite"}, {0x503B, "ThumbnailCopyRight"},
    {0x5090, "LuminanceTable"}, {0x5091, "ChrominanceTable"}, {0x5100, "FrameDelay"}, {0x5101, "LoopCount"},
    {0x5110, "PixelUnit"}, {0x5111, "PixelPerUnitX"}, {0x5112, "PixelPerUnitY"}, {0x5113, "PaletteHistogram"},
    {0x800D, "ImageID"}, {0x80E3, "Matteing"}, {0x80E4, "DataType"}, {0x80E5, "ImageDepth"},
    {0x80E6, "TileDepth"}, {0x828D, "CFARepeatPatternDim"}, {0x828E, "CFAPattern"}, {0x828F, "BatteryLevel"},
    {0x8298, "Copyright"}, {0x829A, "ExposureTime"}, {0x829D, "FNumber"}, {0x83BB, "IPTC/NAA"},
    {0x84E3, "IT8RasterPadding"}, {0x84E5, "IT8ColorTable"}, {0x8649, "ImageResourceInformation"},
    {0x8769, "ExifOffset"}, {0x8773, "InterColorProfile"}, {0x8822, "ExposureProgram"},
    {0x8824, "SpectralSensitivity"}, {0x8825, "GPSInfo"}, {0x8827, "ISOSpeedRatings"}, {0x8828, "OECF"},
    {0x8829, "Interlace"}, {0x882A, "TimeZoneOffset"}, {0x882B, "SelfTimerMode"}, {0x9000, "ExifVersion"},
    {0x9003, "DateTimeOriginal"}, {0x9004, "DateTimeDigitized"}, {0x9101, "ComponentsConfiguration"},
    {0x9102, "CompressedBitsPerPixel"}, {0x9201, "ShutterSpeedValue"}, {0x9202, "ApertureValue"},
    {0x9203, "BrightnessValue"}, {0x9204, "ExposureBiasValue"}, {0x9205, "MaxApertureValue"},
    {0x9206, "SubjectDistance"}, {0x9207, "MeteringMode"}, {0x9208, "LightSource"}, {0x9209, "Flash"},
    {0x920A, "FocalLength"}, {0x920B, "FlashEnergy"}, {0x920C, "SpatialFrequencyResponse"}, {0x920D, "Noise"},
    {0x920E, "FocalPlaneXResolution"}, {0x920F, "FocalPlaneYResolution"},
    {0x9210, "FocalPlaneResolutionUnit"}, {0x9211, "ImageNumber"}, {0x9212, "SecurityClassification"},
    {0x9213, "ImageHistory"}, {0x9214, "SubjectLocation"}, {0x9215, "ExposureIndex"},
    {0x9216, "TIFF/EPStandardID"}, {0x9217, "SensingMethod"}, {0x923F, "StoNits"}, {0x927C, "MakerNote"},
    {0x9286, "UserComment"}, {0x9290, "SubSecTime"}, {0x9291, "SubSecTimeOriginal"},
    {0x9292, "SubSecTimeDigitized"}, {0x953C, "ImageSourceData"}, {0x9C9B, "Title"}, {0x9C9C, "Comments"},
    {0x9C9D, "Author"}, {0x9C9E, "Keywords"}, {0x9C9F, "Subject"}, {0xA000, "FlashPixVersion"},
    {0xA001, "ColorSpace"}, {0xA002, "ExifImageWidth"}, {0xA003, "ExifImageLength"},
    {0xA004, "RelatedSoundFile"}, {0xA005, "InteroperabilityOffset"}, {0xA20B, "FlashEnergy"},
    {0xA20C, "SpatialFrequencyResponse"}, {0xA20E, "FocalPlaneXResolution"},
    {0xA20F, "FocalPlaneYResolution"}, {0xA210, "FocalPlaneResolutionUnit"}, {0xA211, "ImageNumber"},
    {0xA212, "SecurityClassification"}, {0xA213, "ImageHistory"}, {0xA214, "SubjectLocation"},
    {0xA215, "ExposureIndex"}, {0xA216, "TIFF/EPStandardID"}, {0xA217, "SensingMethod"},
    {0xA300, "FileSource"}, {0xA301, "SceneType"}, {0xA302, "CFAPattern"}, {0xA401, "CustomRendered"},
    {0xA402, "ExposureMode"}, {0xA403, "WhiteBalance"}, {0xA404, "DigitalZoomRatio"},
    {0xA405, "FocalLengthin35mmFilm"}, {0xA406, "SceneCaptureType"}, {0xA407, "GainControl"},
    {0xA408, "Contrast"}, {0xA409, "Saturation"}, {0xA40A, "Sharpness"}, {0xA40B, "DeviceSettingDescription"},
    {0xA40C, "SubjectDistanceRange"}, {0xA420, "ImageUniqueID"},
};

constexpr NamedTag kGpsTags[] = {
    {0x0000, "GPSVersionID"}, {0x0001, "GPSLatitudeRef"}, {0x0002, "GPSLatitude"},
    {0x0003, "GPSLongitudeRef"}, {0x0004, "GPSLongitude"}, {0x0005, "GPSAltitudeRef"},
    {0x0006, "GPSAltitude"}, {0x0007, "GPSTimeStamp"}, {0x0008, "GPSSatellites"}, {0x0009, "GPSStatus"},
    {0x000A, "GPSMeasureMode"}, {0x000B, "GPSDOP"}, {0x000C, "GPSSpeedRef"}, {0x000D, "GPSSpeed"},
    {0x000E, "GPSTrackRef"}, {0x000F, "GPSTrack"}, {0x0010, "GPSImageDirectionRef"},
    {0x0011, "GPSImageDirection"}, {0x0012, "GPSMapDatum"}, {0x0013, "GPSDestLatitudeRef"},
    {0x0014, "GPSDestLatitude"}, {0x0015, "GPSDestLongitudeRef"}, {0x0016, "GPSDestLongitude"},
    {0x0017, "GPSDestBearingkRef"}, {0x0018, "GPSDestBearing"}, {0x0019, "GPSDestDistanceRef"},
    {0x001A, "GPSDestDistance"}, {0x001B, "GPSProcessingMode"}, {0x001C, "GPSAreaInformation"},
    {0x001D, "GPSDateStamp"}, {0x001E, "GPSDifferential"},
};

// The columns that only some rows fill.
struct RowDetails {
  bool gps;
  std::uint16_t tag;
  const char* label;
  const char* decodeList;
  const char* formatString;
  TagFormatter formatter;
};

constexpr const char* kResolutionUnits = "1:None Specified,2:Inch,3:Centimeter";
constexpr const char* kNormalSoftHard = "0:Normal,1:Soft,2:Hard";
constexpr const char* kApertureFormat = "f/%0.1f";

const RowDetails kDetails[] = {
    {false, 0x0103, "", "6:Jpeg,3:Uncompressed,1:TIFF", "", nullptr},
    {false, 0x0106, "", "1:Monochrome, 2:RGB, 6:YCbCr", "", nullptr},
    {false, 0x0112, "", "1:Normal,3:Rotated 180\u00b0,6:CounterClockwise 90\u00b0,8:Clockwise 90\u00b0", "", nullptr},
    {false, 0x011A, "", "", "%5.2f", nullptr},
    {false, 0x011B, "", "", "%5.2f", nullptr},
    {false, 0x0128, "", kResolutionUnits, "", nullptr},
    {false, 0x9210, "", kResolutionUnits, "", nullptr},
    {false, 0xA210, "", kResolutionUnits, "", nullptr},
    {false, 0x0213, "", "1:Centered,2:Co-sited", "", nullptr},
    {false, 0x829A, "", "", "%s", nullptr},
    {false, 0x829D, "", "", kApertureFormat, nullptr},
    {false, 0x9202, "", "", kApertureFormat, nullptr},
    {false, 0x9205, "", "", kApertureFormat, nullptr},
    {false, 0x83BB, "IPTC/NAA", "", "", nullptr},
    {false, 0x8822, "",
     "0:Unidentified,1:Manual,2:Normal,3:Aperture priority,4:Shutter priority,5:Creative(slow),"
     "6:Action(high-speed),7:Portrait mode,8:Landscape mode",
     "", nullptr},
    {false, 0x9101, "", "", "", ComponentLettersText},
    {false, 0x9201, "", "", "", ShutterSpeedText},
    {false, 0x9207, "", "0:Unknown,1:Average,2:Center,3:Spot,4:MultiSpot,5:MultiSegment,6:Partial", "", nullptr},
    {false, 0x9208, "", "0:Unidentified,1:Daylight,2:Fluorescent,3:Tungsten,10:Flash,17:Std A,18:Std B,19:Std C",
     "", nullptr},
    {false, 0x9209, "", "", "", FlashText},
    {false, 0x920A, "", "", "%5.2f", nullptr},
    {false, 0x9286, "", "", "", WithoutCharacterCodeText},
    {false, 0x9C9B, "", "", "", EveryOtherCharacterText},
    {false, 0x9C9C, "", "", "", EveryOtherCharacterText},
    {false, 0x9C9D, "", "", "", EveryOtherCharacterText},
    {false, 0x9C9E, "", "", "", EveryOtherCharacterText},
    {false, 0x9C9F, "", "", "", EveryOtherCharacterText},
    {false, 0xA001, "", "0:sBW,1:sRGB", "", nullptr},
    {false, 0xA216, "TIFF/EPStandardID", "", "", nullptr},
    {false, 0xA217, "",
     "0:Unknown,1:MonochromeArea,2:OneChipColorArea,3:TwoChipColorArea,4:ThreeChipColorArea,"
     "5:ColorSequentialArea,6:MonochromeLinear,7:TriLinear,8:ColorSequentialLinear",
     "", nullptr},
    {false, 0xA300, "", "1:Unknown,3:Digital Still Camera", "", nullptr},
    {false, 0xA301, "", "0:Unknown,1:Directly Photographed", "", nullptr},
    {false, 0xA401, "", "0:Normal process,1:Custom process", "", nullptr},
    {false, 0xA402, "", "0:Auto,1:Manual,2:Auto bracket", "", nullptr},
    {false, 0xA403, "", "0:Auto,1:Manual", "", nullptr},
    {false, 0xA405, "Focal Length in 35mm Film", "", "%5.2f", nullptr},
    {false, 0xA406, "", "0:Standard,1:Landscape,2:Portrait,3:Night scene", "", nullptr},
    {false, 0xA407, "", "0:None,1:Low gain up,2:High gain up,3:Low gain down,4:High gain down", "", nullptr},
    {false, 0xA408, "", kNormalSoftHard, "", nullptr},
    {false, 0xA40A, "", kNormalSoftHard, "", nullptr},
    {false, 0xA409, "", "0:Normal,1:Low,2:High", "", nullptr},
    {false, 0xA40C, "", "0:Unknown,1:Macro,2:Close view,3:Distant view", "", nullptr},
    {false, 0xA420, "", "0:Close view,1:Distant view", "", nullptr},
    {true, 0x0002, "", "", "", DegreesText},
    {true, 0x0004, "", "", "", DegreesText},
    {true, 0x0014, "", "", "", DegreesText},
    {true, 0x0016, "", "", "", DegreesText},
    {true, 0x0005, "", "0:Sealevel", "", nullptr},
    {true, 0x0007, "", "", "", TimeText},
};

template <std::size_t N>
std::vector<TTagEntry> buildTable(const NamedTag (&rows)[N], bool gps) {
  std::vector<TTagEntry> table;
  table.reserve(N);
  for (const NamedTag& row : rows) {
    TTagEntry entry;
    entry.Tag = row.tag;
    entry.Name = row.name;
    for (const RowDetails& details : kDetails) {
      if (details.gps != gps || details.tag != row.tag) continue;
      entry.Label = details.label;
      entry.DecodeList = details.decodeList;
      entry.FormatString = details.formatString;
      entry.Formatter = details.formatter;
    }
    if (entry.Label.empty()) entry.Label = SpacedName(entry.Name);
    table.push_back(std::move(entry));
  }
  return table;
}

}  // namespace

int ComponentSize(std::uint32_t format) {
  static constexpr std::array<int, 13> sizes = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
  return format < sizes.size() ? sizes[format] : 0;
}

std::span<const TTagEntry> MainTagTable() {
  static const std::vector<TTagEntry> table = buildTable(kMainTags, false);
  return table;
}

std::span<const TTagEntry> GpsTagTable() {
  static const std::vector<TTagEntry> table = buildTable(kGpsTags, true);
  return table;
}

const TTagEntry& UnknownTagRow() {
  static const TTagEntry row = [] {
    TTagEntry unknown;
    unknown.Name = unknown.Label = "Unknown";
    return unknown;
  }();
  return row;
}

const TTagEntry& FindTagRow(std::span<const TTagEntry> table, std::uint16_t tag) {
  for (const TTagEntry& row : table) {
    if (row.Tag == tag) return row;
  }
  return UnknownTagRow();
}

const TTagEntry& FindTagRowByName(std::string_view name) {
  for (const TTagEntry& row : MainTagTable()) {
    if (platform::equalsIgnoreCase(row.Name, name)) return row;
  }
  return UnknownTagRow();
}

}  // namespace vistrel::metadata
