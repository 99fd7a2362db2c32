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
  std::optional<std::string> files[2];  // by OutputKind; nothing for one that is kept
  ImageOrigin origins[2];
  bool kept[2] = {false, false};
  std::string failure;  // why no picture came out
};

std::size_t at(OutputKind kind) { return kind == OutputKind::Thumbnail ? 0 : 1; }

}  // namespace

ImagesMade makeImages(const RunContext& run, ImageCodec& codec, const std::vector<GalleryPhoto>& photos,
                      unsigned jobs) {
  const bool medium = run.settings.linkMode == LinkMode::MediumFormat;
  const std::vector<OutputKind> kinds =
      medium ? std::vector{OutputKind::Thumbnail, OutputKind::Medium} : std::vector{OutputKind::Thumbnail};
  platform::MemoryBudget budget(imaging::pixelMemoryLimit());
  platform::OrderedPool<PhotoFiles> pool(jobs, photos.size(), [&](std::size_t i) {
    PhotoFiles made;
    if (run.cancelled()) return made;
    const GallerySettings& s = run.settings;
    const GalleryPhoto& photo = photos[i];
    try {
      bool allKept = true;
      for (const OutputKind kind : kinds) {
        made.origins[at(kind)] = imageOrigin(run, photo, kind);
        made.kept[at(kind)] = keepsImage(run, photo, kind, made.origins[at(kind)]);
        allKept = allKept && made.kept[at(kind)];
      }
      if (allKept) return made;
      // Decoded for both sizes even when one is kept, so that the other
      // comes out as in a run that makes both.
      SharedDecode decode(codec, photo.source,
                          medium ? std::vector{s.Maxsize, s.MediumSize} : std::vector{s.Maxsize});
      const auto share = budget.take(decode.memoryNeeded());
      for (const OutputKind kind : kinds) {
        if (!made.kept[at(kind)]) made.files[at(kind)] = renderImage(run, decode, photo, kind);
      }
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
    for (const OutputKind kind : kinds) {
      const ImageOrigin& origin = made.origins[at(kind)];
      if (made.kept[at(kind)]) {
        noteImage(run, photos[i], kind, origin);
      } else {
        commitImage(run, photos[i], kind, made.files[at(kind)], origin);
      }
    }
    // A cancel while the user was asked leaves the rest of the photo unwritten.
    if (run.cancelled()) break;
    ++result.made;
  }
  result.cancelled = run.cancelled();
  return result;
}

}  // namespace vistrel::gallery
