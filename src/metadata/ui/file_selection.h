#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vistrel::metadata::ui {

// What the metadata editors need of the browser's file list. The main window
// hands them its list; tests hand them a list of their own.
class FileSelection {
 public:
  virtual ~FileSelection() = default;

  // The first selected file; empty when none is.
  virtual std::filesystem::path focusedFile() const = 0;
  // The selected files in list order.
  virtual std::vector<std::filesystem::path> selectedFiles() const = 0;
  // Selects only the row before (-1) or after (+1) the focused one, shows its
  // preview and scrolls it into view; false when there is no such row.
  virtual bool step(int direction) = 0;
  // The text of the file's Description or IPTC-caption column.
  virtual void showDescription(const std::filesystem::path& file, const std::string& text) = 0;
  virtual void showIptcCaption(const std::filesystem::path& file, const std::string& text) = 0;
  // Shows the focused file's texts again in the info panel after an edit.
  virtual void refreshInfo() = 0;
  // The main window's status line.
  virtual void setStatus(const std::string& text) = 0;
};

}  // namespace vistrel::metadata::ui
