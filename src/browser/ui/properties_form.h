#pragma once

#include <QDialog>
#include <QMap>
#include <atomic>
#include <filesystem>
#include <thread>

class QFormLayout;
class QLabel;

namespace vistrel::browser::ui {

// "File properties" and "Cache properties": a file's name, place, type, size,
// times, permissions and, for pictures, dimensions and bit depth; or what the
// cache folder holds, counted on a worker thread while the dialog stays live.
class TPropertiesForm : public QDialog {
  Q_OBJECT

 public:
  explicit TPropertiesForm(QWidget* parent = nullptr);
  ~TPropertiesForm() override;

  void showFile(const std::filesystem::path& file);
  // Shows "Computing…" in the counted fields until the count is done.
  void showCacheFolder(const std::filesystem::path& root);

  // The text beside a caption ("Size:"), empty when there is no such field.
  QString field(const QString& caption) const;
  bool counting() const { return counting_; }

 public slots:
  void done(int result) override;

 signals:
  void countFinished();

 private:
  void setTitle(const QString& title);
  void addField(const QString& caption, const QString& text);
  void stopCount();

  QFormLayout* fields_;
  QWidget* buttons_;
  QMap<QString, QLabel*> labels_;
  std::atomic<bool> stop_{false};
  bool counting_ = false;
  std::thread counter_;
};

}  // namespace vistrel::browser::ui
