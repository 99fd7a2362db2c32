#pragma once

#include <QObject>
#include <QPointer>
#include <QThreadPool>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "imaging/ui/view_decoder.h"

namespace vistrel::imaging {

// A file's picture as it is on disk now: a file that changes (a rotation, an
// edit) is another source, so its old pictures are never shown again.
struct PictureSource {
  QString file;
  int page = 0;
  bool upright = true;
  qint64 size = -1;
  qint64 modified = 0;

  static PictureSource of(const QString& file, int page, bool upright);
  bool operator==(const PictureSource&) const = default;
};

// Pictures made for the screen, decoded on worker threads and kept within a
// memory budget (least recently used go first), so that stepping through
// photos shows the next one at once. Views ask for the picture their geometry
// needs; the next and previous photos are fetched ahead. One cache can serve
// several views. Lives on the GUI thread.
class PictureCache : public QObject {
  Q_OBJECT

 public:
  static constexpr qsizetype kDefaultBudget = qsizetype(160) << 20;

  explicit PictureCache(QObject* parent = nullptr, qsizetype budget = kDefaultBudget, int threads = 0);
  ~PictureCache() override;

  // The best kept picture of the source for the view: `exact` when its pixels
  // are the ones the view needs, else the nearest in size, as a stand-in.
  struct Found {
    ViewPicture picture;
    bool exact = false;
  };
  std::optional<Found> find(const PictureSource& source, const ViewGeometry& view);

  // Makes the picture the view needs; `ready` gets it on the GUI thread (a
  // null picture when the file holds none) unless the requester is gone or
  // has asked for another picture since. A requester waits for one at a time.
  using Ready = std::function<void(const ViewPicture&)>;
  void request(const PictureSource& source, const ViewGeometry& view, QObject* requester, Ready ready);
  // The requester no longer waits.
  void cancel(QObject* requester);

  // Makes these when nothing is waiting; replaces the requester's earlier list.
  void prefetch(const std::vector<std::pair<PictureSource, ViewGeometry>>& wanted, QObject* requester);

  qsizetype bytesHeld() const { return bytes_; }
  // Jobs queued or running.
  int jobCount() const { return int(jobs_.size()); }

 signals:
  // Every job is done.
  void idle();

 private:
  struct Entry {
    PictureSource source;
    ViewPicture picture;
    quint64 lastUse = 0;
  };
  struct Waiter {
    QPointer<QObject> requester;
    Ready ready;
  };
  struct Job {
    PictureSource source;
    ViewGeometry view;
    std::optional<ViewPicture> from;  // a larger kept picture to scale down instead of decoding
    bool running = false;
    quint64 asked = 0;  // when a view last asked for it: the latest goes first
    std::vector<Waiter> waiters;
    std::vector<QObject*> prefetchers;
  };
  using JobPtr = std::shared_ptr<Job>;

  JobPtr jobFor(const PictureSource& source, const ViewGeometry& view);
  void dropUnwanted();
  void dispatch();
  void start(const JobPtr& job);
  void finished(const JobPtr& job, ViewPicture picture);
  void keep(const PictureSource& source, const ViewPicture& picture);

  qsizetype budget_;
  qsizetype bytes_ = 0;
  quint64 clock_ = 0;
  std::vector<Entry> entries_;
  std::list<JobPtr> jobs_;
  int running_ = 0;
  QThreadPool pool_;
};

}  // namespace vistrel::imaging
