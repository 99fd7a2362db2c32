#include "imaging/exif_block.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <vector>

namespace vistrel::imaging {
namespace {

constexpr std::size_t kTiffStart = 6;  // after "Exif\0\0"
constexpr std::size_t kEntrySize = 12;
constexpr std::uint16_t kOrientation = 0x0112, kExifDirectory = 34665, kPixelWidth = 40962, kPixelHeight = 40963;
constexpr std::uint16_t kGpsDirectory = 0x8825, kMakerNote = 0x927C, kBodySerial = 0xA431, kLensSerial = 0xA435,
                        kCameraSerial = 0xC62F;
constexpr std::uint16_t kShort = 3, kLong = 4;

// The TIFF structure of the payload with its byte order.
struct Tiff {
  std::span<const std::uint8_t> bytes;
  bool bigEndian = false;

  bool contains(std::size_t at, std::size_t size) const { return at <= bytes.size() && size <= bytes.size() - at; }

  std::uint32_t number(std::size_t at, int size) const {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
      const std::uint32_t byte = bytes[at + static_cast<std::size_t>(i)];
      value |= byte << (8 * (bigEndian ? size - 1 - i : i));
    }
    return value;
  }

  // The positions of the directory's entries that lie inside the block.
  std::vector<std::size_t> entries(std::uint32_t directory) const {
    std::vector<std::size_t> positions;
    if (!contains(directory, 2)) return positions;
    const std::uint32_t count = number(directory, 2);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t at = directory + 2 + kEntrySize * i;
      if (!contains(at, kEntrySize)) break;
      positions.push_back(at);
    }
    return positions;
  }

  std::optional<std::size_t> entry(std::uint32_t directory, std::uint16_t tag) const {
    for (const std::size_t at : entries(directory)) {
      if (number(at, 2) == tag) return at;
    }
    return std::nullopt;
  }

  std::uint32_t firstDirectory() const { return number(4, 4); }
};

std::optional<Tiff> tiffOf(std::span<const std::uint8_t> payload) {
  if (!isExifPayload(payload)) return std::nullopt;
  Tiff tiff{payload.subspan(kTiffStart)};
  if (!tiff.contains(0, 8)) return std::nullopt;
  const bool little = tiff.bytes[0] == 'I' && tiff.bytes[1] == 'I';
  const bool big = tiff.bytes[0] == 'M' && tiff.bytes[1] == 'M';
  tiff.bigEndian = big;
  if ((!little && !big) || tiff.number(2, 2) != 42) return std::nullopt;
  return tiff;
}

void putNumber(std::span<std::uint8_t> payload, const Tiff& tiff, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) {
    const int shift = 8 * (tiff.bigEndian ? size - 1 - i : i);
    payload[kTiffStart + at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> shift);
  }
}

// A SHORT entry with one value keeps it in the first two bytes of the value field.
std::optional<std::size_t> orientationEntry(const Tiff& tiff) {
  const auto at = tiff.entry(tiff.firstDirectory(), kOrientation);
  if (!at || tiff.number(*at + 2, 2) != kShort || tiff.number(*at + 4, 4) != 1) return std::nullopt;
  return at;
}

// The bytes an entry's values take: inside the entry up to four, else at the
// offset it holds (an unknown type counts as one byte a value).
std::size_t valueSize(const Tiff& tiff, std::size_t entry) {
  static constexpr std::uint8_t kTypeSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
  const std::uint32_t type = tiff.number(entry + 2, 2);
  const std::uint64_t size = std::uint64_t{type < std::size(kTypeSizes) ? kTypeSizes[type] : 1u} * tiff.number(entry + 4, 4);
  return static_cast<std::size_t>(std::min<std::uint64_t>(size, tiff.bytes.size()));
}

void blank(std::span<std::uint8_t> payload, const Tiff& tiff, std::size_t at, std::size_t size) {
  if (tiff.contains(at, size)) std::fill_n(payload.begin() + static_cast<std::ptrdiff_t>(kTiffStart + at), size, 0);
}

void blankValues(std::span<std::uint8_t> payload, const Tiff& tiff, std::size_t entry) {
  const std::size_t size = valueSize(tiff, entry);
  if (size > 4) blank(payload, tiff, tiff.number(entry + 8, 4), size);
}

// Takes the entry out of its directory: the values are blanked, the later
// entries and the link to the next directory move up, the count goes down.
// The directory is measured before the blanking, which a damaged value offset
// may aim at the directory itself.
void dropEntry(std::span<std::uint8_t> payload, const Tiff& tiff, std::uint32_t directory, std::size_t entry) {
  const std::uint32_t count = tiff.number(directory, 2);
  const std::size_t end = directory + 2 + kEntrySize * count + 4;  // after the link
  if (!tiff.contains(directory, end - directory) || entry < directory + 2 || entry + kEntrySize + 4 > end) return;
  blankValues(payload, tiff, entry);
  std::uint8_t* base = payload.data() + kTiffStart;
  std::memmove(base + entry, base + entry + kEntrySize, end - entry - kEntrySize);
  blank(payload, tiff, end - kEntrySize, kEntrySize);
  putNumber(payload, tiff, directory, count - 1, 2);
}

void dropTags(std::span<std::uint8_t> payload, const Tiff& tiff, std::uint32_t directory,
              std::initializer_list<std::uint16_t> tags) {
  for (const std::uint16_t tag : tags) {
    if (const auto at = tiff.entry(directory, tag)) dropEntry(payload, tiff, directory, *at);
  }
}

std::optional<std::uint32_t> subDirectory(const Tiff& tiff, std::uint16_t pointerTag) {
  const auto pointer = tiff.entry(tiff.firstDirectory(), pointerTag);
  if (!pointer) return std::nullopt;
  return tiff.number(*pointer + 8, 4);
}

void removeGpsDirectory(std::span<std::uint8_t> payload, const Tiff& tiff) {
  const auto gps = subDirectory(tiff, kGpsDirectory);
  if (!gps) return;
  const std::vector<std::size_t> entries = tiff.entries(*gps);
  for (const std::size_t at : entries) blankValues(payload, tiff, at);
  blank(payload, tiff, *gps, 2 + kEntrySize * entries.size() + 4);
  dropTags(payload, tiff, tiff.firstDirectory(), {kGpsDirectory});
}

}  // namespace

std::span<std::uint8_t> leadingExifPayload(std::string& jpeg) {
  if (jpeg.size() < 6 || jpeg.compare(0, 4, "\xFF\xD8\xFF\xE1") != 0) return {};
  const std::size_t length = static_cast<std::uint8_t>(jpeg[4]) << 8 | static_cast<std::uint8_t>(jpeg[5]);
  if (length < 2 || 4 + length > jpeg.size()) return {};
  const std::span<std::uint8_t> payload(reinterpret_cast<std::uint8_t*>(jpeg.data()) + 6, length - 2);
  return isExifPayload(payload) ? payload : std::span<std::uint8_t>();
}

void removePrivateExif(std::span<std::uint8_t> payload) {
  const auto tiff = tiffOf(payload);
  if (!tiff) return;
  removeGpsDirectory(payload, *tiff);
  dropTags(payload, *tiff, tiff->firstDirectory(), {kCameraSerial});
  if (const auto exif = subDirectory(*tiff, kExifDirectory)) {
    dropTags(payload, *tiff, *exif, {kBodySerial, kLensSerial, kMakerNote});
  }
}

bool isExifPayload(std::span<const std::uint8_t> payload) {
  return payload.size() >= kTiffStart && std::memcmp(payload.data(), "Exif\0\0", kTiffStart) == 0;
}

int exifOrientation(std::span<const std::uint8_t> payload) {
  const auto tiff = tiffOf(payload);
  const auto at = tiff ? orientationEntry(*tiff) : std::nullopt;
  if (!at) return 0;
  const std::uint32_t value = tiff->number(*at + 8, 2);
  return value >= 1 && value <= 8 ? static_cast<int>(value) : 0;
}

bool resetExifOrientation(std::span<std::uint8_t> payload) {
  const auto tiff = tiffOf(payload);
  const auto at = tiff ? orientationEntry(*tiff) : std::nullopt;
  if (!at) return false;
  putNumber(payload, *tiff, *at + 8, 1, 2);
  return true;
}

void patchExifDimensions(std::span<std::uint8_t> payload, int width, int height) {
  const auto tiff = tiffOf(payload);
  if (!tiff) return;
  const auto pointer = tiff->entry(tiff->firstDirectory(), kExifDirectory);
  if (!pointer) return;
  const std::uint32_t directory = tiff->number(*pointer + 8, 4);
  const std::vector<std::size_t> entries = tiff->entries(directory);
  if (entries.size() < 2) return;
  for (const std::size_t at : entries) {
    const std::uint32_t tag = tiff->number(at, 2);
    if (tag != kPixelWidth && tag != kPixelHeight) continue;
    // The whole value field is written: a SHORT value left in its other half
    // would otherwise read as part of the new LONG.
    putNumber(payload, *tiff, at + 2, kLong, 2);
    putNumber(payload, *tiff, at + 4, 1, 4);
    putNumber(payload, *tiff, at + 8, static_cast<std::uint32_t>(tag == kPixelWidth ? width : height), 4);
  }
}

}  // namespace vistrel::imaging
