#include "browser/image_types.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "metadata/img_data.h"
#include "platform/files.h"

namespace vistrel::browser {
namespace {

constexpr std::string_view kImageExtensions =
    "*.tiff;*.tif;*.jpeg;*.jpg;*.gif;*.bmp;*.png;*.wmf;*.dib;*.emf;*.tga;*.pcx;*.psd;*.nef";

template <std::size_t N>
bool isOneOf(const std::string& extension, const std::array<std::string_view, N>& list) {
  return std::find(list.begin(), list.end(), extension) != list.end();
}

}  // namespace

bool isImageFile(const std::filesystem::path& file) {
  const std::string extension = platform::lowerExtension(file);
  return !extension.empty() && kImageExtensions.find(extension) != std::string_view::npos;
}

bool isEncryptedFile(const std::filesystem::path& file) { return platform::lowerExtension(file) == ".vxx"; }

bool hasImageColour(const std::filesystem::path& file) {
  static constexpr std::array<std::string_view, 13> coloured{
      ".jpg", ".jpeg", ".tif", ".tiff", ".gif", ".bmp", ".emf", ".pcx", ".png", ".dib", ".tga", ".wmf", ".psd"};
  return isOneOf(platform::lowerExtension(file), coloured);
}

bool isDroppableImage(const std::filesystem::path& file) {
  static constexpr std::array<std::string_view, 6> droppable{".jpg", ".jpeg", ".gif", ".tif", ".bmp", ".psd"};
  return isOneOf(platform::lowerExtension(file), droppable);
}

bool isJpegFile(const std::filesystem::path& file) { return metadata::IsJpegName(file); }

}  // namespace vistrel::browser
