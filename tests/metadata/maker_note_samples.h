#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "exif_builder.h"

namespace vistrel::test {

// Writes the TIFF block of a camera: a first directory with make and model,
// and an Exif directory with the version (left out when empty) and a maker
// note. The note lies first in the block; `note` makes its bytes for the TIFF
// offset it gets.
std::string cameraBlock(TiffWriter& w, const std::string& make, const std::string& model,
                        const std::string& exifVersion, const std::function<std::string(std::uint32_t)>& note);

// A photo of one camera maker, its maker note built byte for byte as that
// maker's cameras write it.
struct MakerNoteSample {
  std::string name;  // "Canon", "NikonType3" …
  std::string jpeg;  // the whole file
  bool noteBigEndian;
  // MakerNoteListing as the reader must give it.
  std::string listing;
  // Our value (an entry name, "Name[p]" for its p-th component, or a label of
  // the listing) and the exiftool tag that reads the same value.
  std::vector<std::pair<std::string, std::string>> exiftool;
};

// One sample per maker and kind of note, their EXIF blocks in the byte order.
std::vector<MakerNoteSample> makerNoteSamples(bool bigEndian);

}  // namespace vistrel::test
