// Writing IPTC and EXIF into a JPEG, and the gallery's copy of a photo's EXIF
// block into its pictures, take the segments of any file: the rewrite of the
// file itself, the copy into a program-made picture and the edits of the
// copied block must stay inside their bytes and end in a picture or an Error.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "imaging/exif_block.h"
#include "metadata/img_data.h"
#include "metadata/iptc_data.h"

using namespace vistrel;

namespace {

// A picture as the gallery's encoder starts one: SOI, frame header and scan.
const std::string kProgramPicture(
    "\xFF\xD8\xFF\xC0\x00\x0B\x08\x00\x10\x00\x18\x01\x01\x11\x00\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00\x00\xFF\xD9",
    28);

void editCopiedBlock(std::string jpeg) {
  const auto exif = imaging::leadingExifPayload(jpeg);
  const std::size_t size = exif.size();
  if (imaging::resetExifOrientation(exif) && imaging::exifOrientation(exif) != 1) std::abort();
  imaging::removePrivateExif(exif);
  imaging::patchExifDimensions(exif, 24, 16);
  if (exif.size() != size) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  editCopiedBlock(std::string(bytes));
  metadata::TimgData photo;
  photo.ReadMetadataFromMemory(bytes, ".jpg");
  fuzz::tryReading([&] {
    auto& iptc = photo.EnsureIptc();
    if (photo.IptcSection) iptc.ParseIptcSection();
    iptc.SetValue("ImageCaption", "A caption");
    photo.SetIptcBlock(iptc.BuildBlock());
    (void)photo.JpegWithMetadata(bytes, false);
  });
  fuzz::tryReading([&] { editCopiedBlock(photo.JpegWithMetadata(kProgramPicture, true)); });
  return 0;
}
