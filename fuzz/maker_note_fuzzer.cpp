// Camera maker notes are directories in each maker's own layout, checked by
// no standard. The input is one maker note; its first byte picks the camera
// (and so the layout the note is read with), the EXIF byte order and whether
// the note sits in a JPEG or a raw TIFF file. The block around it is made by
// the tests' own writer, as the tests make their maker-note photos, so their
// notes are the seeds.
#include <array>
#include <cstdint>
#include <string>

#include "exif_builder.h"
#include "maker_note_samples.h"
#include "metadata/img_data.h"
#include "metadata/info_panel.h"

namespace {

struct Camera {
  const char* make;
  const char* model;
  const char* exifVersion;  // left out in raw files
};

constexpr std::array<Camera, 9> kCameras = {{
    {"NIKON CORPORATION", "NIKON D70", "0221"},  // a note with its own TIFF header
    {"NIKON", "E990", "0210"},                   // a plain note, or one that starts with "Nikon"
    {"OLYMPUS OPTICAL CO.,LTD", "C2500L", "0210"},
    {"CASIO", "QV-3000EX", "0210"},
    {"FUJIFILM", "FinePix4900ZOOM", "0210"},
    {"Canon", "Canon PowerShot S40", "0220"},
    {"SEIKO EPSON CORP.", "PhotoPC 3000Z", "0210"},
    {"SANYO Electric Co.,Ltd.", "SR6", "0210"},
    {"Minolta Co., Ltd.", "DiMAGE 7", "0210"},
}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Larger notes would not fit a JPEG segment.
  if (size == 0 || size > 60000) return 0;
  const Camera& camera = kCameras[(data[0] & 0x0F) % kCameras.size()];
  const bool bigEndian = data[0] & 0x10;
  const bool raw = data[0] & 0x20;
  const std::string note(reinterpret_cast<const char*>(data) + 1, size - 1);

  vistrel::test::TiffWriter writer(bigEndian);
  const std::string block = vistrel::test::cameraBlock(writer, camera.make, camera.model, raw ? "" : camera.exifVersion,
                                                       [&](std::uint32_t) { return note; });
  vistrel::metadata::TimgData metadata;
  if (raw) {
    metadata.ReadMetadataFromMemory(block, ".nef");
  } else {
    metadata.ReadMetadataFromMemory(vistrel::test::jpegOf({vistrel::test::exifSegment(block)}), ".jpg");
  }
  (void)vistrel::metadata::ExifTabText(metadata, true);
  return 0;
}
