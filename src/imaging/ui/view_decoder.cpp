#include "imaging/ui/view_decoder.h"

#include <algorithm>
#include <filesystem>

#include "imaging/image_file.h"
#include "imaging/orientation.h"
#include "metadata/summaries.h"
#include "platform/error.h"
#include "platform/text.h"

namespace vistrel::imaging {
namespace {

// The imaging layer counts reductions as 0-3 for 1/1 … 1/8.
int reductionCode(int reduction) {
  int code = 0;
  while ((1 << code) < reduction) ++code;
  return code;
}

QSize fitInto(QSize picture, QSize box) { return picture.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)); }

// The TIFF reader already turns pictures by the file's own orientation tag.
bool readerLeavesOrientation(const std::filesystem::path& file) {
  const std::string extension = platform::asciiLower(file.extension().string());
  return extension != ".tif" && extension != ".tiff";
}

QImage uprightImage(const QImage& stored, int orientation) {
  if (orientation <= 1 || orientation > 8) return stored;
  const bool swaps = OrientationSwapsSides(orientation);
  QImage upright(swaps ? stored.height() : stored.width(), swaps ? stored.width() : stored.height(), stored.format());
  OrientPixels(stored.constBits(), stored.width(), stored.height(), int(stored.bytesPerLine()), 4, orientation,
               upright.bits(), int(upright.bytesPerLine()));
  return upright;
}

}  // namespace

QSize displaySizeFor(QSize picture, const ViewGeometry& view) {
  if (picture.isEmpty()) return {};
  const QSize room = view.viewport.expandedTo(QSize(1, 1));
  switch (view.scale) {
    case kShrinkToFit:
      return picture.width() <= room.width() && picture.height() <= room.height() ? picture : fitInto(picture, room);
    case kGrowToFit:
      return fitInto(picture, room);
    case kStretchToFit:
      return room;
    case kGrowToWidth:
      return QSize(room.width(), std::max(1, int(qint64(picture.height()) * room.width() / picture.width())));
    case kGrowToHeight:
      return QSize(std::max(1, int(qint64(picture.width()) * room.height() / picture.height())), room.height());
    default:
      return QSize(std::max(1, int(qint64(picture.width()) * view.scale / 100)),
                   std::max(1, int(qint64(picture.height()) * view.scale / 100)));
  }
}

QSize idealPixelsFor(QSize picture, const ViewGeometry& view) {
  return displaySizeFor(picture, view).boundedTo(picture);
}

int reductionFor(QSize fullSize, QSize needed) {
  if (needed.isEmpty()) return 1;
  int reduction = 1;
  while (reduction < 8 && fullSize.width() / (reduction * 2) >= needed.width() &&
         fullSize.height() / (reduction * 2) >= needed.height()) {
    reduction *= 2;
  }
  return reduction;
}

ViewPicture decodeForView(const ViewRequest& request) {
  const std::filesystem::path path = request.file.toStdString();
  try {
    const ImageHeader header = ReadImageHeader(path);
    const int orientation =
        request.upright && readerLeavesOrientation(path) ? metadata::ExifOrientationOfFile(path) : 1;
    const bool swaps = OrientationSwapsSides(orientation);
    const auto uprightSize = [swaps](QSize stored) { return swaps ? stored.transposed() : stored; };
    const auto idealFor = [&](QSize full) {
      return uprightSize(request.view.viewport.isEmpty() ? full : idealPixelsFor(full, request.view));
    };
    QSize fullSize = uprightSize(QSize(header.width, header.height));
    // Later pages may have sizes of their own, which only the decode tells.
    const int reduction = request.page > 0 ? 1 : reductionFor(uprightSize(fullSize), idealFor(fullSize));
    QImage pixels;
    const DecodedImage decoded = DecodeImageFileBgra(
        path, reductionCode(reduction), request.page, [&pixels](int width, int height, std::size_t& stride) {
          pixels = QImage(width, height, QImage::Format_RGB32);  // blue, green, red, 255 in memory
          stride = std::size_t(pixels.bytesPerLine());
          return pixels.isNull() ? nullptr : pixels.bits();
        });
    if (pixels.isNull()) return {};
    const QSize decodedSize = pixels.size();
    if (reduction == 1) fullSize = uprightSize(decodedSize);
    const QSize stored = idealFor(fullSize).boundedTo(decodedSize);
    if (pixels.size() != stored) pixels = pixels.scaled(stored, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    ViewPicture picture;
    picture.fullSize = fullSize;
    picture.pixels = uprightImage(pixels, orientation);
    picture.bitsPerPixel = decoded.bitsPerPixel;
    picture.colours = decoded.colours;
    return picture;
  } catch (const Error&) {
    return {};  // no picture: the view stays empty
  } catch (const std::bad_alloc&) {
    return {};
  }
}

ViewPicture scaledPicture(const ViewPicture& picture, QSize size) {
  ViewPicture scaled = picture;
  if (!picture.pixels.isNull() && picture.pixels.size() != size) {
    scaled.pixels = picture.pixels.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return scaled;
}

}  // namespace vistrel::imaging
