#include "picture_tools.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "imaging/image_file.h"

namespace vistrel::imaging::test {

std::string run(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) throw std::runtime_error("cannot run " + command);
  std::string output;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) output.append(buffer, n);
  const int status = pclose(pipe.release());
  if (status != 0) throw std::runtime_error("command failed: " + command);
  return output;
}

bool haveTool(const std::string& name) { return std::system(("command -v " + name + " >/dev/null").c_str()) == 0; }

void makeImage(const std::string& arguments, const std::filesystem::path& path, const std::string& writer,
               const std::string& tool) {
  run(tool + " " + arguments + " '" + writer + path.string() + "'");
}

TBitmap referencePixels(const std::filesystem::path& path, int width, int height, const std::string& frame,
                        const std::string& tool) {
  const std::string rgb = run(tool + " '" + path.string() + frame + "' -depth 8 rgb:-");
  if (rgb.size() != static_cast<std::size_t>(width) * height * 3) {
    ADD_FAILURE() << "ImageMagick gave " << rgb.size() << " bytes for " << path;
    return {};
  }
  return bitmapOf(width, height, std::vector<std::uint8_t>(rgb.begin(), rgb.end()));
}

int maxDifference(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
  int worst = 0;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width() * 3; ++x) worst = std::max(worst, std::abs(a.ScanLine(y)[x] - b.ScanLine(y)[x]));
  }
  return worst;
}

TBitmap bitmapOf(int width, int height, const std::vector<std::uint8_t>& rgb) {
  TBitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
      bitmap.ScanLine(y)[3 * x] = rgb[i + 2];
      bitmap.ScanLine(y)[3 * x + 1] = rgb[i + 1];
      bitmap.ScanLine(y)[3 * x + 2] = rgb[i];
    }
  }
  return bitmap;
}

TFastDIB greyDib(int width, int height, const std::vector<std::uint8_t>& values) {
  TFastDIB dib;
  dib.SetSize(width, height, 8);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) dib.Rows[y][x] = values[static_cast<std::size_t>(y) * width + x];
  }
  return dib;
}

std::vector<std::uint8_t> greyValues(const TFastDIB& dib) {
  std::vector<std::uint8_t> values;
  for (int y = 0; y < dib.AbsHeight; ++y) values.insert(values.end(), dib.Rows[y], dib.Rows[y] + dib.Width);
  return values;
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TBitmap screenPixels(const std::filesystem::path& file, int reduction) {
  std::vector<std::uint8_t> rows;
  std::size_t rowBytes = 0;
  TBitmap bitmap;
  const DecodedImage facts = DecodeImageFileBgra(file, reduction, 0, [&](int width, int height, std::size_t& stride) {
    bitmap.SetSize(width, height);
    rowBytes = stride = std::size_t(width) * 4 + 8;  // padded, as screen rows may be
    rows.assign(stride * std::size_t(height), 0);
    return rows.data();
  });
  if (!facts.bitmap.Empty()) return {};
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint8_t* in = rows.data() + y * rowBytes + x * 4;
      if (in[3] != 255) return {};
      std::copy(in, in + 3, bitmap.ScanLine(y) + x * 3);
    }
  }
  return bitmap;
}

}  // namespace vistrel::imaging::test
