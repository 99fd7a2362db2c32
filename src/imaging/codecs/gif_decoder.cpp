// GIF through giflib: the first frame on the logical screen, transparent and
// uncovered parts on white.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/byte_reader.h"
#include "imaging/codecs/codec.h"
#include "imaging/pixel_limits.h"

namespace vistrel::imaging::codecs {
namespace {

struct MemorySource {
  std::span<const std::uint8_t> bytes;
  std::size_t position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int count) {
  auto* source = static_cast<MemorySource*>(gif->UserData);
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)),
                                              source->bytes.size() - source->position);
  if (n > 0) std::memcpy(out, source->bytes.data() + source->position, n);
  source->position += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int ignored = 0;
    DGifCloseFile(gif, &ignored);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void fail(int code) {
  const char* text = GifErrorString(code);
  throw Error(std::string("Cannot read the GIF file: ") + (text ? text : "damaged data"));
}

GifHandle open(MemorySource& source) {
  int error = 0;
  GifFileType* gif = DGifOpen(&source, readFromMemory, &error);
  if (!gif) fail(error);
  return GifHandle(gif);
}

// Skips extensions up to the first image, noting the transparent colour of a
// graphic control block; returns false when the file ends without an image.
bool seekFirstImage(GifFileType* gif, int& transparent) {
  for (;;) {
    GifRecordType record;
    if (DGifGetRecordType(gif, &record) == GIF_ERROR) fail(gif->Error);
    if (record == IMAGE_DESC_RECORD_TYPE) return true;
    if (record == TERMINATE_RECORD_TYPE) return false;
    if (record != EXTENSION_RECORD_TYPE) continue;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) fail(gif->Error);
    while (block) {
      if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4 && (block[1] & 1)) transparent = block[4];
      if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) fail(gif->Error);
    }
  }
}

class GifDecoder final : public ImageDecoder {
 public:
  ImageHeader readHeader(std::span<const std::uint8_t> bytes) const override {
    const ByteReader in(bytes, "The GIF file is damaged.");
    const int depth = (in.u8(10) & 7) + 1;
    return {in.le16(6), in.le16(8), depth};
  }

  DecodedImage decode(std::span<const std::uint8_t> bytes, const DecodeRequest&) const override {
    MemorySource source{bytes, 0};
    GifHandle gif = open(source);
    int transparent = -1;
    if (!seekFirstImage(gif.get(), transparent)) throw Error("The GIF file holds no picture.");
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) fail(gif->Error);
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!map) throw Error("The GIF file has no colour table.");
    enforce(frame.Width > 0 && frame.Height > 0 && frame.Left >= 0 && frame.Top >= 0, "The GIF file is damaged.");
    // The canvas is the logical screen, grown to hold the frame when a file
    // declares a smaller one.
    const int width = std::max(gif->SWidth, frame.Left + frame.Width);
    const int height = std::max(gif->SHeight, frame.Top + frame.Height);
    checkPixelMemory(width, height, 3);
    checkPixelMemory(frame.Width, 1, 1);
    DecodedImage image;
    image.bitmap.SetSize(width, height);
    image.bitmap.Fill(255, 255, 255);
    image.bitsPerPixel = map->BitsPerPixel;
    image.colours = map->ColorCount;

    std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
    for (int row : frameRowOrder(frame.Height, frame.Interlace)) {
      if (DGifGetLine(gif.get(), line.data(), frame.Width) == GIF_ERROR) fail(gif->Error);
      std::uint8_t* out = image.bitmap.ScanLine(frame.Top + row) + 3 * frame.Left;
      for (int x = 0; x < frame.Width; ++x, out += 3) {
        const int index = line[static_cast<std::size_t>(x)];
        if (index == transparent || index >= map->ColorCount) continue;
        const GifColorType& colour = map->Colors[index];
        out[0] = colour.Blue;
        out[1] = colour.Green;
        out[2] = colour.Red;
      }
    }
    return image;
  }

 private:
  // Rows in the order the file stores them.
  static std::vector<int> frameRowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
      for (int y = 0; y < height; ++y) order.push_back(y);
      return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
    }
    return order;
  }
};

}  // namespace

std::unique_ptr<ImageDecoder> makeGifDecoder() { return std::make_unique<GifDecoder>(); }

}  // namespace vistrel::imaging::codecs
