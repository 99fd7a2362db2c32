#pragma once

#include <QListWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/prompter.h"

namespace vistrel::browser::ui {

// The drag list of the "Drag and drop" tab: full paths of image files gathered
// from anywhere, dropped in from other programs or added from the file list.
// Entries can be dragged to another place in the list.
class TDragListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit TDragListBox(QWidget* parent = nullptr);

  std::vector<std::string> entries() const;
  void setEntries(const std::vector<std::string>& entries);
  // Appends the files that exist and are not in the list yet, in their order.
  void addFiles(const std::vector<std::filesystem::path>& files);
  // Appends the dropped files with a droppable image extension.
  void addDropped(const QList<QUrl>& urls);
  // Saves to `file` (".vfl" appended when missing), asking before replacing an
  // existing file. Returns whether it was written. Throws Error.
  bool saveList(const std::filesystem::path& file, platform::Prompter& prompter);
  // Replaces the entries by the lines of a list file. Throws Error.
  void openList(const std::filesystem::path& file);
  // The current entry, or empty.
  std::filesystem::path currentFile() const;

 signals:
  void previewRequested();
  void fullScreenRequested();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace vistrel::browser::ui
