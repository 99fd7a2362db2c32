#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vistrel::metadata {

// The image resources ("8BIM" blocks) of an APP13 "Photoshop 3.0" payload.
// Besides IPTC they hold things other programs care about (clipping paths,
// print settings), which a metadata write must carry over.
inline constexpr std::string_view kPhotoshopSignature{"Photoshop 3.0\0", 14};
constexpr std::uint16_t kIptcResource = 0x0404;

struct PhotoshopResource {
  std::uint16_t id = 0;
  // Views into the payload: the whole resource (signature to padding) and its data.
  std::string_view bytes;
  std::string_view data;
};

bool IsPhotoshopPayload(std::string_view payload);
// The resources as far as they are sound; a damaged one ends the list.
std::vector<PhotoshopResource> PhotoshopResourcesOf(std::string_view payload);

}  // namespace vistrel::metadata
