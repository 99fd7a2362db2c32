#include "maker_note_samples.h"

namespace vistrel::test {
namespace {

const std::string kNulls(10, '\0');

std::string jpegOfBlock(const std::string& block) { return jpegOf({exifSegment(block)}); }

MakerNoteSample canon(bool bigEndian) {
  TiffWriter w(bigEndian);
  // Camera settings: the record's length in bytes, then one number per place.
  std::vector<std::uint16_t> settings(34, 0);
  settings[0] = 68;
  for (const auto& [place, value] : std::vector<std::pair<int, std::uint16_t>>{
           {1, 1}, {3, 1}, {4, 2}, {5, 1}, {10, 2}, {11, 5}, {14, 65535}, {15, 1}, {16, 17}, {17, 3}, {20, 1},
           {23, 55}, {24, 18}, {25, 1}}) {
    settings[place] = value;
  }
  std::vector<std::uint16_t> shot(20, 0);
  shot[0] = 40;
  shot[7] = 3;
  shot[9] = 4;
  shot[15] = 65524;
  shot[19] = 300;
  const auto note = [&](std::uint32_t at) {
    return w.directory({w.shorts(0x0001, settings), w.shorts(0x0003, {1, 2, 3, 4}), w.shorts(0x0004, shot),
                        w.ascii(0x0006, "IMG:PowerShot S40 JPEG"), w.longValue(0x0008, 1234567),
                        w.shorts(0x000F, {8, 0x0101, 0x0301, 0x1001}), w.shortValue(0x0077, 5)},
                       at);
  };
  return {"Canon",
          jpegOfBlock(cameraBlock(w, "Canon", "Canon PowerShot S40", "0220", note)),
          bigEndian,
          "\r\nMacro mode = Macro\r\nSelf Timer = 0\r\nCompression Rate = Fine\r\nFlash Mode = On"
          "\r\nDrive Mode = Continuous\r\nFocus Mode = One-Shot\r\nImage Size = Small\r\nEasy Shoot = Night"
          "\r\nContrast = Normal\r\nSaturation = Low\r\nSharpness = High\r\nCCD ISO = 100\r\nAF Point = Normal"
          "\r\nExposure Mode = High\r\nLong focal = 55\r\nShort focal = 18\r\nFocal Units = 1\r\nFlash Details = 0"
          "\r\nFocus Mode = Normal\r\nExposureInfo1 = 68, 1, 0, 1, 2, 1, 0, 0"
          "\r\nWhite balance = Tungsten\r\nSequence Number = 4\r\nOpticalZoom Step = 0\r\nAF point = 0"
          "\r\nFlash bias = -0.33 EV\r\nDistance = 300\r\nExposureInfo2 = 40, 0, 0, 0, 0, 0, 0, 3"
          "\r\nImageType = IMG:PowerShot S40 JPEG.\r\nImageNumber = 1234567"
          "\r\nNoise Reduction = On\r\nMirror Lockup = Enable\r\nCustomFunctions = 8, 257, 769, 4097"
          "\r\nUnknown = 5",
          {{"ExposureInfo1[1]", "MacroMode"},
           {"ExposureInfo1[4]", "CanonFlashMode"},
           {"ExposureInfo1[11]", "EasyMode"},
           {"Long focal", "MaxFocalLength"},
           {"Short focal", "MinFocalLength"},
           {"Focal Units", "FocalUnits"},
           {"ExposureInfo2[7]", "WhiteBalance"},
           {"Sequence Number", "SequenceNumber"},
           {"ImageType", "CanonImageType"},
           {"ImageNumber", "FileNumber"}}};
}

// Newer Nikons put a TIFF header of their own into the note, in Motorola
// order whatever the EXIF block uses.
MakerNoteSample nikonWithTiffHeader(bool bigEndian) {
  TiffWriter w(bigEndian), m(true);
  const auto note = [&](std::uint32_t) {
    return std::string("Nikon\0\x02\x10\0\0MM\0\x2A\0\0\0\x08", 18) +
           m.directory({m.undefined(0x0001, "0210"), m.shorts(0x0002, {0, 200}), m.ascii(0x0004, "FINE  "),
                        m.longValue(0x0011, 0), m.rationals(0x0084, {180, 10, 550, 10, 35, 10, 56, 10}),
                        m.ascii(0x008D, "MODE2")},
                       8);
  };
  return {"NikonType3",
          jpegOfBlock(cameraBlock(w, "NIKON CORPORATION", "NIKON D70", "0221", note)),
          true,
          "\r\nFamily ID = 0210\r\nISO Speed = 0, 200\r\nQuality = FINE  .\r\nLens information = 18.0-55.0(mm)  F3.5-F5.6"
          "\r\nColor Mode = Mode 2 (Adobe RGB)",
          {{"FamilyID", "MakerNoteVersion"},
           {"ISOSpeed", "ISO"},
           {"Quality", "Quality"},
           {"Lensinformation", "Lens"},
           {"ColorMode", "ColorHue"}}};
}

MakerNoteSample nikonPlain(bool bigEndian) {
  TiffWriter w(bigEndian);
  const auto note = [&](std::uint32_t at) {
    return w.directory({w.ascii(0x0003, "COLOR"), w.ascii(0x0005, "AUTO  "), w.shortValue(0x0089, 17),
                        w.undefined(0x0F00, std::string(20, 'x'))},
                       at);
  };
  return {"NikonType2",
          jpegOfBlock(cameraBlock(w, "NIKON", "E990", "0210", note)),
          bigEndian,
          "\r\nColor Mode = COLOR.\r\nWhite Balance = AUTO  .\r\nMode = 17",
          {{"ColorMode", "ColorMode"}, {"WhiteBalance", "WhiteBalance"}, {"Mode", "ShootingMode"}}};
}

// The oldest Nikon notes: "Nikon" and a version, then the directory.
MakerNoteSample nikonWithName(bool bigEndian) {
  TiffWriter w(bigEndian);
  const auto note = [&](std::uint32_t at) {
    return std::string("Nikon\0\x01\0", 8) +
           w.directory({w.shortValue(0x0003, 5), w.shortValue(0x0004, 1), w.shortValue(0x0006, 2),
                        w.shortValue(0x0007, 4), w.rational(0x000A, 2, 1), w.shortValue(0x000B, 1),
                        w.undefined(0x0F00, "\x01\x02\x03\x04\x05\x06")},
                       at + 8);
  };
  MakerNoteSample sample{"NikonType1",
                         jpegOfBlock(cameraBlock(w, "NIKON", "E800", "0210", note)),
                         bigEndian,
                         "\r\nQuality = SXGA Normal\r\nColorMode = Color\r\nISOSpeed = ISO160\r\nWhiteBalance = Fluorescence"
                         "\r\nDigitalZoom = 2/1\r\nConverter = Used",
                         {}};
  // These cameras wrote Intel order only, and exiftool reads their notes so.
  if (!bigEndian) {
    sample.exiftool = {{"Quality", "Quality"},           {"ColorMode", "ColorMode"},     {"ISOSpeed", "CCDSensitivity"},
                       {"WhiteBalance", "WhiteBalance"}, {"DigitalZoom", "DigitalZoom"}, {"Converter", "Converter"}};
  }
  return sample;
}

MakerNoteSample olympus(bool bigEndian) {
  TiffWriter w(bigEndian);
  const auto note = [&](std::uint32_t at) {
    return std::string("OLYMP\0\x01\0", 8) +
           w.directory({w.longs(0x0200, {0, 1, 2}), w.shortValue(0x0201, 2), w.shortValue(0x0202, 1),
                        w.rational(0x0204, 200, 100), w.ascii(0x0207, "SR83"),
                        w.undefined(0x0209, "OLYMPUS DIGITAL CAMERA" + kNulls), w.undefined(0x0F00, "12345678"),
                        w.shortValue(0x1004, 2)},
                       at + 8);
  };
  return {"Olympus",
          jpegOfBlock(cameraBlock(w, "OLYMPUS OPTICAL CO.,LTD", "C2500L", "0210", note)),
          bigEndian,
          "\r\nSpecialMode = 0, 1, 2\r\nJpegQual = HQ\r\nMacro = Macro;\r\nDigital Zoom Ratio = 200/100"
          "\r\nFirmware = SR83.\r\nCamera ID = OLYMPUS DIGITAL CAMERA..........\r\nFlash Mode = 2",
          {{"SpecialMode", "SpecialMode"},
           {"JpegQual", "Quality"},
           {"Macro", "Macro"},
           {"DigitalZoomRatio", "DigitalZoom"},
           {"Firmware", "CameraType"},
           {"CameraID", "CameraID"},
           {"FlashMode", "FlashMode"}}};
}

MakerNoteSample casio(bool bigEndian) {
  TiffWriter w(bigEndian);
  const auto note = [&](std::uint32_t at) {
    return w.directory({w.shortValue(0x0001, 1), w.shortValue(0x0003, 2), w.shortValue(0x0007, 129),
                        w.shortValue(0x0008, 1), w.longValue(0x000A, 65537), w.shortValue(0x000C, 1),
                        w.shortValue(0x0014, 100)},
                       at);
  };
  return {"Casio",
          jpegOfBlock(cameraBlock(w, "CASIO", "QV-3000EX", "0210", note)),
          bigEndian,
          "\r\nRecordingMode = Single Shutter\r\nFocusingMode = Macro\r\nWhiteBalance = Manual"
          "\r\nDigitalZoom = 2X Digital Zoom\r\nContrast = Low\r\nCCDSensitivity = High",
          {{"RecordingMode", "RecordingMode"},
           {"FocusingMode", "FocusMode"},
           {"WhiteBalance", "WhiteBalance"},
           {"DigitalZoom", "DigitalZoom"},
           {"Contrast", "Contrast"},
           {"CCDSensitivity", "ISO"}}};
}

// Fujifilm notes are Intel order and count their offsets from the note's own
// start, whatever the EXIF block does.
MakerNoteSample fujifilm(bool bigEndian) {
  TiffWriter w(bigEndian), i(false);
  const auto note = [&](std::uint32_t) {
    return "FUJIFILM" + i.u32(12) +
           i.directory({i.undefined(0x0000, "0130"), i.ascii(0x1000, "NORMAL "), i.shortValue(0x1001, 3),
                        i.shortValue(0x1002, 256), i.rationals(0x1011, {0xFFFFFFFF, 3}, 10),
                        i.shortValue(0x1031, 512), i.shortValue(0x1032, 1), i.shortValue(0x1300, 1)},
                       12);
  };
  return {"Fujifilm",
          jpegOfBlock(cameraBlock(w, "FUJIFILM", "FinePix4900ZOOM", "0210", note)),
          false,
          "\r\nVersion = 0130\r\nQuality = NORMAL .\r\nSharpness = Normal\r\nWhiteBalance = Daylight"
          "\r\nFlashStrength = -1/3\r\nPictureMode = Shutter prior AE\r\nBlurWarning = Blur warning",
          {{"Version", "Version"},
           {"Quality", "Quality"},
           {"Sharpness", "Sharpness"},
           {"WhiteBalance", "WhiteBalance"},
           {"FlashStrength", "FlashExposureComp"},
           {"PictureMode", "PictureMode"},
           {"BlurWarning", "BlurWarning"}}};
}

MakerNoteSample seikoEpson(bool bigEndian) {
  TiffWriter w(bigEndian);
  const auto note = [&](std::uint32_t at) {
    return std::string("EPSON\0\x01\0", 8) +
           w.directory({w.longs(0x0200, {0, 0, 0}), w.shortValue(0x0201, 2), w.shortValue(0x0203, 0),
                        w.undefined(0x0209, "EPSON DIGITAL CAMERA"), w.shortValue(0x020B, 640),
                        w.shortValue(0x020C, 480), w.undefined(0x0F00, "12345678")},
                       at + 8);
  };
  return {"SeikoEpson",
          jpegOfBlock(cameraBlock(w, "SEIKO EPSON CORP.", "PhotoPC 3000Z", "0210", note)),
          bigEndian,
          "\r\nSpecial Mode = 0, 0, 0\r\nJpegQuality = 2\r\nCameraID = EPSON DIGITAL CAMERA\r\nWidth = 640"
          "\r\nHeight = 480",
          {{"SpecialMode", "SpecialMode"},
           {"JpegQuality", "Quality"},
           {"CameraID", "CameraID"},
           {"Width", "EpsonImageWidth"},
           {"Height", "EpsonImageHeight"}}};
}

MakerNoteSample sanyo(bool bigEndian) {
  TiffWriter w(bigEndian);
  const auto note = [&](std::uint32_t at) {
    return std::string("SANYO\0\x01\0", 8) +
           w.directory({w.longs(0x0200, {0, 0, 0}), w.shortValue(0x0201, 0x0102), w.shortValue(0x0202, 1),
                        w.rational(0x0204, 150, 100), w.undefined(0x0F00, "DATA\x01\x02")},
                       at + 8);
  };
  return {"Sanyo",
          jpegOfBlock(cameraBlock(w, "SANYO Electric Co.,Ltd.", "SR6", "0210", note)),
          bigEndian,
          "\r\nSpecial Mode = 0, 0, 0\r\nJpegQuality = 258\r\nMacro = 1\r\nDigiZoom = 150/100\r\nDataDump = DATA..",
          {{"SpecialMode", "SpecialMode"}, {"JpegQuality", "SanyoQuality"}, {"Macro", "Macro"}, {"DigiZoom", "DigitalZoom"}}};
}

MakerNoteSample minolta(bool bigEndian) {
  TiffWriter w(bigEndian);
  const auto note = [&](std::uint32_t at) {
    return w.directory({w.undefined(0x0000, "MLT0"), w.undefined(0x0E00, std::string("PrintIM\0" "0300\0\0\0\0", 16))},
                       at);
  };
  return {"Minolta",
          jpegOfBlock(cameraBlock(w, "Minolta Co., Ltd.", "DiMAGE 7", "0210", note)),
          bigEndian,
          "\r\nModelID = MLT0\r\nPIMdata = PrintIM.0300....",
          {{"ModelID", "MakerNoteVersion"}}};
}

}  // namespace

std::string cameraBlock(TiffWriter& w, const std::string& make, const std::string& model,
                        const std::string& exifVersion, const std::function<std::string(std::uint32_t)>& note) {
  const std::uint32_t at = w.nextOffset();
  const std::string bytes = note(at);
  w.addBytes(bytes);
  std::vector<TiffWriter::Entry> exif;
  if (!exifVersion.empty()) exif.push_back(w.undefined(0x9000, exifVersion));
  // The note is already in place: its offset goes into the entry as it is.
  exif.push_back({0x927C, 7, static_cast<std::uint32_t>(bytes.size()), w.u32(at)});
  const std::uint32_t exifDirectory = w.addDirectory(exif);
  return w.block(w.addDirectory({w.ascii(0x010F, make), w.ascii(0x0110, model), w.longValue(0x8769, exifDirectory)}));
}

std::vector<MakerNoteSample> makerNoteSamples(bool bigEndian) {
  return {canon(bigEndian),   nikonWithTiffHeader(bigEndian), nikonPlain(bigEndian), nikonWithName(bigEndian),
          olympus(bigEndian), casio(bigEndian),               fujifilm(bigEndian),   seikoEpson(bigEndian),
          sanyo(bigEndian),   minolta(bigEndian)};
}

}  // namespace vistrel::test
