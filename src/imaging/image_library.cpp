#include "imaging/image_library.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <sstream>

#include "imaging/codecs/format_table.h"
#include "imaging/dib_filters.h"
#include "imaging/dib_transfer.h"
#include "imaging/image_file.h"
#include "imaging/jpeg_encoder.h"
#include "platform/error.h"
#include "platform/files.h"

namespace vistrel::imaging::library {
namespace {

struct Buffer {
  std::filesystem::path name;
  ImageHeader header;
  DecodedImage image;
  bool valid = false;
  std::string error;
  int aspectX = 1;
  int aspectY = 1;
};

std::mutex mutex;
std::map<int, Buffer> buffers;
std::atomic<int> nextBuffer{1};
std::atomic<int> processReduction{0};

void store(int buffer, Buffer contents) {
  const std::lock_guard lock(mutex);
  buffers[buffer] = std::move(contents);
}

template <typename Result, typename Read>
Result read(int buffer, Read reader) {
  const std::lock_guard lock(mutex);
  const auto it = buffers.find(buffer);
  return it == buffers.end() ? Result{} : reader(it->second);
}

// Runs a decode into a fresh buffer record; failures become an empty buffer
// with its reason.
template <typename Decode>
bool loadInto(int buffer, const std::filesystem::path& name, Decode decode) {
  Buffer contents;
  contents.name = name;
  if (!name.empty()) {
    try {
      contents.image = decode();
      contents.header = {contents.image.bitmap.Width(), contents.image.bitmap.Height(), contents.image.bitsPerPixel};
      contents.valid = !contents.image.bitmap.Empty();
    } catch (const Error& e) {
      contents.error = e.what();
    } catch (const std::bad_alloc&) {
      contents.error = "Not enough memory to load " + name.string() + ".";
    }
  }
  const bool valid = contents.valid;
  store(buffer, std::move(contents));
  return valid;
}

// The part of the picture inside the source rectangle.
TBitmap crop(const TBitmap& picture, const Rect& source) {
  const int left = std::clamp(source.left, 0, picture.Width());
  const int top = std::clamp(source.top, 0, picture.Height());
  const int width = std::clamp(source.width, 0, picture.Width() - left);
  const int height = std::clamp(source.height, 0, picture.Height() - top);
  TBitmap part(width, height);
  for (int y = 0; y < height; ++y) {
    std::copy_n(picture.ScanLine(top + y) + 3 * left, 3 * width, part.ScanLine(y));
  }
  return part;
}

// The picture at the given size, through the bilinear resampler.
TFastDIB scaled(const TBitmap& picture, int width, int height) {
  TFastDIB source;
  BitmapToDib(picture, source);
  if (picture.Width() == width && picture.Height() == height) return source;
  TFastDIB result;
  result.SetSize(width, height, 24);
  ResampleBilinear(source, result);
  return result;
}

TBitmap pictureOf(int buffer) {
  return read<TBitmap>(buffer, [](const Buffer& b) { return b.image.bitmap; });
}

}  // namespace

int NewBuffer() { return nextBuffer.fetch_add(1); }

void SetLoadReduction(int reduction) { processReduction.store(std::clamp(reduction, 0, 3)); }
int LoadReduction() { return processReduction.load(); }

bool LoadFile(int buffer, const std::filesystem::path& name) { return LoadFile(buffer, name, LoadReduction()); }

bool LoadFile(int buffer, const std::filesystem::path& name, int reduction) {
  return loadInto(buffer, name, [&] { return DecodeImageFile(name, reduction); });
}

bool LoadPage(int buffer, const std::filesystem::path& name, int page) {
  const int reduction = LoadReduction();
  return loadInto(buffer, name, [&] { return DecodeImageFile(name, reduction, page); });
}

bool LoadFromMemory(int buffer, std::span<const std::uint8_t> bmp) {
  return loadInto(buffer, "memory.bmp", [&] { return DecodeImage(bmp, "memory.bmp", 0); });
}

bool ReadHeader(int buffer, const std::filesystem::path& name) {
  Buffer contents;
  contents.name = name;
  if (!name.empty()) {
    try {
      contents.header = ReadImageHeader(name);
    } catch (const Error& e) {
      contents.error = e.what();
    }
  }
  const bool known = contents.header.width > 0;
  store(buffer, std::move(contents));
  return known;
}

void CloseBuffer(int buffer) {
  const std::lock_guard lock(mutex);
  buffers.erase(buffer);
}

std::filesystem::path FileName(int buffer) {
  return read<std::filesystem::path>(buffer, [](const Buffer& b) { return b.name; });
}
int Width(int buffer) {
  return read<int>(buffer, [](const Buffer& b) { return b.header.width; });
}
int Height(int buffer) {
  return read<int>(buffer, [](const Buffer& b) { return b.header.height; });
}
int BitsPerPixel(int buffer) {
  return read<int>(buffer, [](const Buffer& b) { return b.header.bitsPerPixel; });
}
int ColourCount(int buffer) {
  return read<int>(buffer, [](const Buffer& b) {
    if (!b.valid) return 0;
    return b.image.colours != 0 ? b.image.colours : 1 << 24;
  });
}
bool IsValid(int buffer) {
  return read<bool>(buffer, [](const Buffer& b) { return b.valid; });
}
std::string LastError(int buffer) {
  return read<std::string>(buffer, [](const Buffer& b) { return b.error; });
}

int AspectX(int buffer) {
  return read<int>(buffer, [](const Buffer& b) { return b.aspectX; });
}
int AspectY(int buffer) {
  return read<int>(buffer, [](const Buffer& b) { return b.aspectY; });
}
void SetAspect(int buffer, int x, int y) {
  const std::lock_guard lock(mutex);
  Buffer& b = buffers[buffer];
  b.aspectX = x;
  b.aspectY = y;
}

void Paint(int buffer, const Rect& source, TBitmap& target, const Rect& destination) {
  const TBitmap part = crop(pictureOf(buffer), source);
  const int left = std::clamp(destination.left, 0, target.Width());
  const int top = std::clamp(destination.top, 0, target.Height());
  const int width = std::clamp(destination.width, 0, target.Width() - left);
  const int height = std::clamp(destination.height, 0, target.Height() - top);
  if (part.Empty() || width == 0 || height == 0) return;
  TBitmap painted;
  DibToBitmap(scaled(part, destination.width, destination.height), painted);
  for (int y = 0; y < height; ++y) {
    std::copy_n(painted.ScanLine(y), 3 * width, target.ScanLine(top + y) + 3 * left);
  }
}

TFastDIB Render24(int buffer, int width, int height, const Rect& source) {
  const TBitmap part = crop(pictureOf(buffer), source);
  if (part.Empty() || width <= 0 || height <= 0) {
    TFastDIB blank;
    blank.SetSize(std::max(width, 0), std::max(height, 0), 24);
    return blank;
  }
  return scaled(part, width, height);
}

void Save(int buffer, const std::filesystem::path& name) {
  const TBitmap picture = pictureOf(buffer);
  if (picture.Empty()) throw Error("There is no picture to save.");
  const std::string extension = platform::lowerExtension(name);
  if (extension == ".jpg" || extension == ".jpeg") return SaveBitmapAsJpeg(name, picture);
  if (extension != ".bmp") throw Error("Pictures cannot be saved as " + extension + " files.");
  SaveBitmapAsBmp(name, picture);
}

}  // namespace vistrel::imaging::library

namespace vistrel::imaging {

TBitmap LoadImageBitmap(const std::filesystem::path& fileName, int buffer, int reduction) {
  if (platform::lowerExtension(fileName) == ".psd") {
    TFastDIB dib;
    try {
      BitmapToDib(DecodeImageFile(fileName, 0).bitmap, dib);
    } catch (const Error&) {
      library::LoadFile(buffer, "");
      return {};
    }
    std::ostringstream stream;
    dib.SaveToStream(stream);
    const std::string bytes = stream.str();
    library::LoadFromMemory(buffer, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
  } else {
    library::LoadFile(buffer, fileName, reduction);
  }
  TBitmap bitmap(library::Width(buffer), library::Height(buffer));
  library::Paint(buffer, {0, 0, bitmap.Width(), bitmap.Height()}, bitmap, {0, 0, bitmap.Width(), bitmap.Height()});
  library::LoadFile(buffer, "");
  return bitmap;
}

}  // namespace vistrel::imaging
