#include "imaging/ui/view_decoder.h"

#include <filesystem>

#include "imaging/image_file.h"
#include "platform/error.h"

namespace vistrel::imaging {
namespace {

// The imaging layer counts reductions as 0-3 for 1/1 … 1/8.
int reductionCode(int reduction) {
  int code = 0;
  while ((1 << code) < reduction) ++code;
  return code;
}

QImage toQImage(const TBitmap& bitmap) {
  const QImage view(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(), QImage::Format_BGR888);
  return view.convertToFormat(QImage::Format_RGB32);  // a copy that owns its pixels
}

}  // namespace

int reductionFor(QSize fullSize, QSize needed) {
  if (needed.isEmpty()) return 1;
  int reduction = 1;
  while (reduction < 8 && fullSize.width() / (reduction * 2) >= needed.width() &&
         fullSize.height() / (reduction * 2) >= needed.height()) {
    reduction *= 2;
  }
  return reduction;
}

ViewPicture decodeForView(const QString& file, int page, QSize needed) {
  const std::filesystem::path path = file.toStdString();
  try {
    const ImageHeader header = ReadImageHeader(path);
    ViewPicture picture;
    picture.fullSize = QSize(header.width, header.height);
    picture.reduction = reductionFor(picture.fullSize, needed);
    const DecodedImage decoded = DecodeImageFile(path, reductionCode(picture.reduction), page);
    if (decoded.bitmap.Empty()) return {};
    picture.pixels = toQImage(decoded.bitmap);
    picture.bitsPerPixel = decoded.bitsPerPixel;
    picture.colours = decoded.colours;
    return picture;
  } catch (const Error&) {
    return {};  // no picture: the view stays empty
  }
}

}  // namespace vistrel::imaging
