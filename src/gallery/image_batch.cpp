#include "gallery/image_batch.h"

#include <new>

#include "gallery/image_pipeline.h"
#include "gallery/shared_decode.h"
#include "imaging/pixel_limits.h"
#include "platform/error.h"
#include "platform/memory_budget.h"
#include "platform/ordered_pool.h"

namespace vistrel::gallery {
namespace {

struct PhotoFiles {
  std::optional<std::string> thumbnail;
  std::optional<std::string> medium;
  std::string failure;  // why no picture came out
};

}  // namespace

ImagesMade makeImages(const RunContext& run, ImageCodec& codec, const std::vector<GalleryPhoto>& photos,
                      unsigned jobs) {
  const bool medium = run.settings.linkMode == LinkMode::MediumFormat;
  platform::MemoryBudget budget(imaging::pixelMemoryLimit());
  platform::OrderedPool<PhotoFiles> pool(jobs, photos.size(), [&](std::size_t i) {
    PhotoFiles made;
    if (run.cancelled()) return made;
    const GallerySettings& s = run.settings;
    const GalleryPhoto& photo = photos[i];
    try {
      SharedDecode decode(codec, photo.source,
                          medium ? std::vector{s.Maxsize, s.MediumSize} : std::vector{s.Maxsize});
      const auto share = budget.take(decode.memoryNeeded());
      made.thumbnail = renderImage(run, decode, photo, OutputKind::Thumbnail);
      if (medium) made.medium = renderImage(run, decode, photo, OutputKind::Medium);
    } catch (const Error& e) {
      made.failure = e.what();
    } catch (const std::bad_alloc&) {
      made.failure = "There is not enough memory for the picture.";
    }
    return made;
  });
  ImagesMade result;
  const std::size_t n = photos.size();
  for (std::size_t i = 0; i < n && !run.cancelled(); ++i) {
    run.observer.progress(static_cast<int>(i + 1), static_cast<int>(n), photos[i].source);
    const PhotoFiles made = pool.take(i);
    if (run.cancelled()) break;
    if (!made.failure.empty()) {
      result.failed.push_back({photos[i].source, made.failure});
      run.observer.photoFailed(result.failed.back());
      continue;
    }
    commitImage(run, photos[i], OutputKind::Thumbnail, made.thumbnail);
    if (medium) commitImage(run, photos[i], OutputKind::Medium, made.medium);
    // A cancel while the user was asked leaves the rest of the photo unwritten.
    if (run.cancelled()) break;
    ++result.made;
  }
  result.cancelled = run.cancelled();
  return result;
}

}  // namespace vistrel::gallery
