#include "imaging/ui/picture_cache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

namespace vistrel::imaging {

PictureSource PictureSource::of(const QString& file, int page, bool upright) {
  const QFileInfo info(file);
  PictureSource source{file, page, upright};
  if (info.exists()) {
    source.size = info.size();
    // The change time, not the modification time: a lossless rotation puts the
    // photo's modification time back, but the replaced file's change time is new.
    source.modified = info.metadataChangeTime().toMSecsSinceEpoch();
  }
  return source;
}

PictureCache::PictureCache(QObject* parent, qsizetype budget, int threads) : QObject(parent), budget_(budget) {
  pool_.setMaxThreadCount(threads > 0 ? threads : std::max(1, QThread::idealThreadCount()));
}

// The workers touch nothing of ours but the job they were given; their results
// arrive as queued calls, which die with this object once the workers are done.
PictureCache::~PictureCache() { pool_.waitForDone(); }

std::optional<PictureCache::Found> PictureCache::find(const PictureSource& source, const ViewGeometry& view) {
  Entry* best = nullptr;
  bool exact = false;
  for (Entry& entry : entries_) {
    if (!(entry.source == source)) continue;
    const QSize ideal = view.viewport.isEmpty() ? entry.picture.fullSize : idealPixelsFor(entry.picture.fullSize, view);
    const QSize size = entry.picture.pixels.size();
    if (size == ideal) {
      best = &entry;
      exact = true;
      break;
    }
    // A larger picture scales down well; of those the smallest, else the largest.
    const bool covers = size.width() >= ideal.width() && size.height() >= ideal.height();
    if (!best) {
      best = &entry;
      continue;
    }
    const QSize bestSize = best->picture.pixels.size();
    const bool bestCovers = bestSize.width() >= ideal.width() && bestSize.height() >= ideal.height();
    const qint64 area = qint64(size.width()) * size.height(), bestArea = qint64(bestSize.width()) * bestSize.height();
    if (covers != bestCovers ? covers : covers ? area < bestArea : area > bestArea) best = &entry;
  }
  if (!best) return std::nullopt;
  best->lastUse = ++clock_;
  return Found{best->picture, exact};
}

PictureCache::JobPtr PictureCache::jobFor(const PictureSource& source, const ViewGeometry& view) {
  for (const JobPtr& job : jobs_) {
    if (job->source == source && job->view == view) return job;
  }
  auto job = std::make_shared<Job>();
  job->source = source;
  job->view = view;
  if (const auto found = find(source, view)) {
    const QSize ideal = idealPixelsFor(found->picture.fullSize, view);
    const QSize size = found->picture.pixels.size();
    if (!view.viewport.isEmpty() && size.width() >= ideal.width() && size.height() >= ideal.height()) {
      job->from = found->picture;
    }
  }
  jobs_.push_back(job);
  return job;
}

void PictureCache::request(const PictureSource& source, const ViewGeometry& view, QObject* requester, Ready ready) {
  cancel(requester);
  const JobPtr job = jobFor(source, view);
  job->waiters.push_back({requester, std::move(ready)});
  job->asked = ++clock_;
  dispatch();
}

void PictureCache::cancel(QObject* requester) {
  for (const JobPtr& job : jobs_) {
    std::erase_if(job->waiters, [requester](const Waiter& w) { return !w.requester || w.requester == requester; });
  }
  dropUnwanted();
}

void PictureCache::prefetch(const std::vector<std::pair<PictureSource, ViewGeometry>>& wanted, QObject* requester) {
  for (const JobPtr& job : jobs_) std::erase(job->prefetchers, requester);
  for (const auto& [source, view] : wanted) {
    const auto found = find(source, view);
    if (found && found->exact) continue;
    const JobPtr job = jobFor(source, view);
    if (std::find(job->prefetchers.begin(), job->prefetchers.end(), requester) == job->prefetchers.end()) {
      job->prefetchers.push_back(requester);
    }
  }
  dropUnwanted();
  dispatch();
}

void PictureCache::dropUnwanted() {
  std::erase_if(jobs_, [](const JobPtr& job) {
    std::erase_if(job->waiters, [](const Waiter& w) { return !w.requester; });
    return !job->running && job->waiters.empty() && job->prefetchers.empty();
  });
}

void PictureCache::dispatch() {
  while (running_ < pool_.maxThreadCount()) {
    JobPtr next;
    for (const JobPtr& job : jobs_) {
      if (job->running) continue;
      if (!job->waiters.empty() ? !next || next->waiters.empty() || job->asked > next->asked : !next) next = job;
    }
    if (!next) return;
    start(next);
  }
}

void PictureCache::start(const JobPtr& job) {
  job->running = true;
  ++running_;
  const ViewRequest request{job->source.file, job->source.page, job->source.upright, job->view};
  const std::optional<ViewPicture> from = job->from;
  pool_.start([this, job, request, from] {
    ViewPicture picture = from ? scaledPicture(*from, idealPixelsFor(from->fullSize, request.view)) : decodeForView(request);
    QMetaObject::invokeMethod(
        this, [this, job, picture = std::move(picture)]() mutable { finished(job, std::move(picture)); },
        Qt::QueuedConnection);
  });
}

void PictureCache::finished(const JobPtr& job, ViewPicture picture) {
  --running_;
  jobs_.remove(job);
  if (!picture.pixels.isNull()) keep(job->source, picture);
  for (const Waiter& waiter : job->waiters) {
    if (waiter.requester) waiter.ready(picture);
  }
  dispatch();
  if (jobs_.empty()) emit idle();
}

void PictureCache::keep(const PictureSource& source, const ViewPicture& picture) {
  const qsizetype size = picture.pixels.sizeInBytes();
  if (size > budget_ / 2) return;  // a picture that big would push out all the others
  const auto release = [this](const Entry& entry) {
    bytes_ -= entry.picture.pixels.sizeInBytes();
    return true;
  };
  std::erase_if(entries_, [&](const Entry& entry) {
    const bool stale = entry.source.file == source.file && !(entry.source == source);
    const bool same = entry.source == source && entry.picture.pixels.size() == picture.pixels.size();
    return (stale || same) && release(entry);
  });
  entries_.push_back({source, picture, ++clock_});
  bytes_ += size;
  while (bytes_ > budget_) {
    const auto oldest = std::min_element(entries_.begin(), entries_.end(),
                                         [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
    release(*oldest);
    entries_.erase(oldest);
  }
}

}  // namespace vistrel::imaging
