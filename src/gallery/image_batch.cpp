#include "gallery/image_batch.h"

#include "gallery/image_pipeline.h"
#include "platform/ordered_pool.h"
#include "gallery/shared_decode.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;

struct PhotoFiles {
  std::optional<std::string> thumbnail;
  std::optional<std::string> medium;
};

}  // namespace

bool makeImages(const RunContext& run, ImageCodec& codec, const std::vector<fs::path>& files, unsigned jobs) {
  const bool medium = run.settings.linkMode == LinkMode::MediumFormat;
  platform::OrderedPool<PhotoFiles> pool(jobs, files.size(), [&](std::size_t i) {
    PhotoFiles made;
    if (run.cancelled()) return made;
    const GallerySettings& s = run.settings;
    SharedDecode photo(codec, files[i], medium ? std::vector{s.Maxsize, s.MediumSize} : std::vector{s.Maxsize});
    made.thumbnail = renderImage(run, photo, files[i], OutputKind::Thumbnail);
    if (medium) made.medium = renderImage(run, photo, files[i], OutputKind::Medium);
    return made;
  });
  const std::size_t n = files.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (run.cancelled()) {
      run.observer.closeProgress();
      return false;
    }
    run.observer.progress(static_cast<int>(i + 1), static_cast<int>(n), files[i]);
    const PhotoFiles made = pool.take(i);
    commitImage(run, files[i], OutputKind::Thumbnail, made.thumbnail);
    if (medium) commitImage(run, files[i], OutputKind::Medium, made.medium);
  }
  return true;
}

}  // namespace vistrel::gallery
