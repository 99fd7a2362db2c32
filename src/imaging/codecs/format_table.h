#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

#include "imaging/codecs/codec.h"

namespace vistrel::imaging::codecs {

// One row per file format: its extensions (lower case, with the dot), a sniff
// of the first bytes, and the factory of its reader. A format whose sniff is
// too weak to name it alone (TGA, camera raw) is taken only by extension.
struct ImageFormat {
  std::string_view name;
  std::span<const std::string_view> extensions;
  bool (*sniff)(std::span<const std::uint8_t> bytes);
  bool sniffAlone;
  std::unique_ptr<ImageDecoder> (*factory)();
};

std::span<const ImageFormat> imageFormats();

// The format whose extension matches and whose sniff accepts the bytes, else
// the first that a sniff alone names; nullptr when none does.
const ImageFormat* findImageFormat(const std::filesystem::path& name, std::span<const std::uint8_t> bytes);

}  // namespace vistrel::imaging::codecs
