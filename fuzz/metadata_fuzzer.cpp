// Image files come from anywhere; the metadata reader must turn any bytes
// into entries or an error text without crashing, hanging or running away
// with memory. The first byte picks the JPEG or the TIFF path.
#include <cstdint>
#include <string_view>

#include "metadata/img_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  vistrel::metadata::TimgData metadata;
  metadata.ReadMetadataFromMemory(bytes, data[0] & 1 ? ".tif" : ".jpg");
  if (metadata.Exif) {
    metadata.Exif->ShiftAllDates(1, 2, 3, 4);
    (void)metadata.Exif->ValueOfName("ExposureTime");
  }
  return 0;
}
