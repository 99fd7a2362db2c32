#include "metadata/photoshop_resources.h"

#include "metadata/end_ind.h"

namespace vistrel::metadata {

bool IsPhotoshopPayload(std::string_view payload) { return payload.starts_with(kPhotoshopSignature); }

std::vector<PhotoshopResource> PhotoshopResourcesOf(std::string_view payload) {
  std::vector<PhotoshopResource> resources;
  if (!IsPhotoshopPayload(payload)) return resources;
  std::size_t at = kPhotoshopSignature.size();
  // Signature, id, a padded Pascal name, a 32-bit size and the padded data.
  while (at + 8 <= payload.size() && payload.substr(at, 4) == "8BIM") {
    const auto id = static_cast<std::uint16_t>(unsignedOf(payload.substr(at + 4, 2), true));
    const std::size_t nameLength = static_cast<unsigned char>(payload[at + 6]);
    const std::size_t sizeAt = at + 6 + ((nameLength + 2) & ~std::size_t{1});
    if (sizeAt + 4 > payload.size()) break;
    const std::size_t size = unsignedOf(payload.substr(sizeAt, 4), true);
    const std::size_t dataAt = sizeAt + 4;
    if (size > payload.size() - dataAt) break;
    const std::size_t end = std::min(payload.size(), dataAt + size + (size & 1));
    resources.push_back({id, payload.substr(at, end - at), payload.substr(dataAt, size)});
    at = end;
  }
  return resources;
}

}  // namespace vistrel::metadata
