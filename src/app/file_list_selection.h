#pragma once

#include <QString>
#include <functional>

#include "metadata/ui/file_selection.h"

namespace vistrel::browser::ui {
class TFileList;
}

namespace vistrel::app {

// The main window's file list as the metadata editors see it.
class FileListSelection : public metadata::ui::FileSelection {
 public:
  FileListSelection(browser::ui::TFileList& list, std::function<void(const QString&)> status);

  std::filesystem::path focusedFile() const override;
  std::vector<std::filesystem::path> selectedFiles() const override;
  bool step(int direction) override;
  void showDescription(const std::filesystem::path& file, const std::string& text) override;
  void showIptcCaption(const std::filesystem::path& file, const std::string& text) override;
  void refreshInfo() override;
  void setStatus(const std::string& text) override;

 private:
  void setColumn(const std::filesystem::path& file, int column, const std::string& text);

  browser::ui::TFileList& list_;
  std::function<void(const QString&)> status_;
};

}  // namespace vistrel::app
