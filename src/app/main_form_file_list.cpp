#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLayout>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QUrl>

#include "app/main_form.h"
#include "browser/cache_folder.h"
#include "browser/cache_usage.h"
#include "browser/file_commands.h"
#include "browser/folder_listing.h"
#include "browser/orphan_clean.h"
#include "browser/ui/drag_list_box.h"
#include "browser/ui/file_list_popup.h"
#include "browser/ui/open_with_form.h"
#include "browser/ui/properties_form.h"
#include "imaging/ui/imag_nv.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

// The main window's side of the file list, the drag list and the thumbnail
// cache: the commands that hand them their files, and the cache menu.

namespace vistrel::app {
namespace fs = std::filesystem;
using browser::ui::TOpenWithForm;
using browser::ui::TPropertiesForm;
using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

constexpr const char* kListFilter = "Vistrel file list (*.vfl);;All files (*)";

QUrl urlOf(const fs::path& file) { return QUrl::fromLocalFile(QString::fromStdString(file.string())); }

}  // namespace

std::vector<fs::path> TMainForm::taggedFiles() const { return FileList->taggedFiles(); }
std::vector<fs::path> TMainForm::selectedFiles() const { return FileList->selectedFiles(); }
fs::path TMainForm::focusedFile() const { return FileList->focusedFile(); }

std::vector<fs::path> TMainForm::dragListFiles() const {
  std::vector<fs::path> files;
  for (const std::string& entry : DragListBox->entries()) files.emplace_back(entry);
  return files;
}

FileListSettings TMainForm::fileListSettings() const {
  FileListSettings settings;
  settings.listing.includeHidden = options_.hiddenFiles;
  settings.listing.allFiles = cbInclNonImages->isChecked();
  settings.listing.includeEncrypted = options_.includeEncrypted;
  settings.iptcColumn = cbShowIptcCaption->isChecked();
  settings.showProperties = cbShowProperties->isChecked();
  settings.options = options_;
  settings.thumbSize = thumbSize_;
  return settings;
}

void TMainForm::createFileListCommands() {
  FileListPopup = new TFileListPopup(FileList, cbIncludeIPTC);
  connect(FileList, &TFileList::statusText, this, &TMainForm::setStatusText);
  connect(FileList, &TFileList::thumbnailProgress, this, &TMainForm::showThumbnailProgress);
  connect(FileList, &TFileList::fullScreenRequested, Fullscreen1, &QAction::trigger);
  connect(FileList, &TFileList::previewRequested, this, [this] {
    dragListBrowsed_ = false;
    previewSelectedFile();
  });
  connect(FileList, &TFileList::errorMessage, this,
          [this](const QString& message) { prompter_.error(message.toStdString(), "Error"); });
  connect(cbShowProperties, &QAction::triggered, this, [this](bool on) {
    if (on && viewStyle_ != ViewStyle::Thumbnails) FileList->fillProperties();
  });
  connect(cbShowIptcCaption, &QAction::triggered, this, [this](bool on) {
    if (on) FileList->fillIptcColumn();
  });

  TFileListPopup* popup = FileListPopup;
  connect(popup->Refresh1, &QAction::triggered, this, &TMainForm::listFolder);
  connect(popup->Open, &QAction::triggered, this, [this] {
    if (!focusedFile().empty()) QDesktopServices::openUrl(urlOf(focusedFile()));
  });
  connect(popup->Openwith1, &QAction::triggered, this, &TMainForm::Openwith1Click);
  connect(popup->FileProperties, &QAction::triggered, this, [this] {
    if (focusedFile().empty()) return;
    TPropertiesForm properties(this);
    properties.showFile(focusedFile());
    properties.exec();
  });
  connect(popup->Emailimages2, &QAction::triggered, Emailimages1, &QAction::trigger);
  connect(popup->popup_EncryptFiles, &QAction::triggered, EncryptFiles, &QAction::trigger);
  connect(popup->popup_DecryptFiles, &QAction::triggered, DecryptFiles, &QAction::trigger);
  connect(popup->EditDescription, &QAction::triggered, btnDescription, &QAction::trigger);
  connect(popup->EXIFinformation1, &QAction::triggered, cbIncludeIPTC, &QAction::trigger);
  connect(popup->Filewipe1, &QAction::triggered, this, &TMainForm::WipeFilesClick);
  connect(WipeFiles, &QAction::triggered, this, &TMainForm::WipeFilesClick);
  connect(popup->DropTagged, &QAction::triggered, this, [this] { DragListBox->addFiles(taggedFiles()); });
  connect(popup->DropSelected, &QAction::triggered, this, [this] { DragListBox->addFiles(selectedFiles()); });
  connect(Createfolder1, &QAction::triggered, this, &TMainForm::Createfolder1Click);

  connect(Deletecacheallfolders1, &QAction::triggered, this, &TMainForm::Deletecacheallfolders1Click);
  connect(CacheStats, &QAction::triggered, this, &TMainForm::CacheStatsClick);
  connect(CleanCache, &QAction::triggered, this, [this] { cleanCache(true); });
  connect(FileList, &TFileList::cacheProblem, this, &TMainForm::reportCacheProblem);
  createDragListButtons();
}

void TMainForm::createDragListButtons() {
  btnClear = new QPushButton("Clear all items");
  btnSave = new QPushButton("Save file list");
  btnOpen = new QPushButton("Open file list");
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {btnClear, btnSave, btnOpen}) buttons->addWidget(button);
  TabSheet2->layout()->addItem(buttons);
  connect(btnClear, &QPushButton::clicked, DragListBox, &QListWidget::clear);
  connect(btnSave, &QPushButton::clicked, this, &TMainForm::btnSaveClick);
  connect(btnOpen, &QPushButton::clicked, this, &TMainForm::btnOpenClick);
  connect(DragListBox, &TDragListBox::previewRequested, this, [this] {
    dragListBrowsed_ = true;
    previewSelectedFile();
  });
  connect(DragListBox, &TDragListBox::fullScreenRequested, this, [this] {
    dragListBrowsed_ = true;
    startFullScreen(false);
  });
  connect(PageControl, &QTabWidget::currentChanged, this, [this] {
    if (PageControl->currentWidget() != TabSheet2) return;
    setStatusText(QString::number(DragListBox->count()) + " selected files");
  });
}

// The progress bar sits in status panel 3 while thumbnails load; total 0 ends it.
void TMainForm::showThumbnailProgress(int position, int total) {
  statusBar()->setSizeGripEnabled(total == 0);
  ProgressBar->setVisible(total > 0);
  if (total == 0) return;
  ProgressBar->setRange(0, total);
  ProgressBar->setValue(position);
}

void TMainForm::Createfolder1Click() {
  const std::string folder = currentFolder();
  if (folder.empty()) return;
  const auto name = prompter_.input("Create folder", "Create new folder:", "");
  if (!name || name->empty()) return;
  std::error_code ec;
  if (!fs::create_directory(fs::path(folder) / *name, ec) || ec) prompter_.error("Failed to create " + *name, "Error");
}

// Filewipe takes the tagged files, unlike Delete: the question says so and names them.
void TMainForm::WipeFilesClick() {
  const std::vector<fs::path> files = taggedFiles();
  if (files.empty()) {
    prompter_.inform("No files are tagged.\r\n\r\nFilewipe works on the tagged files (those with a ticked check box), "
                     "not on the highlighted ones.",
                     "Nothing to do ..");
    return;
  }
  const std::string which = files.size() == 1 ? "The tagged file:" : "The " + std::to_string(files.size()) + " tagged files:";
  if (prompter_.ask("Using filewipe, tagged files will be irrevocably deleted.\r\n\r\n" + which + "\r\n" +
                        browser::namesForQuestion(files) + "\r\n\r\nAre you sure you want to wipe the tagged file(s)?",
                    "Warning", Buttons::YesNo, Icon::Warning) != Answer::Yes) {
    return;
  }
  for (auto file = files.rbegin(); file != files.rend(); ++file) {
    try {
      browser::wipeFile(*file);
    } catch (const Error& error) {
      prompter_.error(error.what(), "Error");
      return;
    }
  }
  listFolder();
}

void TMainForm::btnSaveClick() {
  const QString file = QFileDialog::getSaveFileName(this, "Save file list", {}, kListFilter);
  if (file.isEmpty()) return;
  try {
    DragListBox->saveList(file.toStdString(), prompter_);
  } catch (const Error& error) {
    prompter_.error(error.what(), "Error");
  }
}

void TMainForm::btnOpenClick() {
  const QString file = QFileDialog::getOpenFileName(this, "Open file list", {}, kListFilter);
  if (file.isEmpty()) return;
  try {
    DragListBox->openList(file.toStdString());
  } catch (const Error& error) {
    prompter_.error(error.what(), "Error");
  }
}

// Only what the cache wrote goes, and the question says how much that is.
void TMainForm::Deletecacheallfolders1Click() {
  const fs::path root = options_.cacheFolder;
  try {
    const browser::CacheEntries entries = browser::cacheEntries(root);
    if (entries.files.empty()) {
      prompter_.inform("The thumbnail cache in " + platform::displayName(root) + " holds no files.", "Delete cache");
      return;
    }
    const QString question = QString("Delete thumbnail cache?\r\n\r\n%1 (%2) in %3 will be moved to the trash.")
                                 .arg(entries.files.size() == 1
                                          ? QString("1 file")
                                          : QLocale().toString(qulonglong(entries.files.size())) + " files")
                                 .arg(QLocale().formattedDataSize(qint64(entries.bytes)))
                                 .arg(QString::fromStdString(platform::displayName(root)));
    if (prompter_.ask(question.toStdString(), "Delete cache", Buttons::OkCancel, Icon::Question) != Answer::Ok) return;
    browser::trashCacheEntries(root, entries);
  } catch (const Error& error) {
    prompter_.error(error.what(), "Delete cache");
  }
}

// The clean runs in the background; a folder that is not the cache's own is
// refused here, where the user can be told.
void TMainForm::cleanCache(bool asked) {
  const fs::path root = options_.cacheFolder;
  try {
    browser::refuseForeignFolder(root);
  } catch (const Error& error) {
    if (asked) {
      prompter_.error(error.what(), "Clean cache");
    } else {
      reportCacheProblem(QString::fromStdString(error.what()));
    }
    return;
  }
  std::error_code ec;
  if (fs::is_directory(root, ec)) browser::startOrphanClean(root);
}

// Once per cache folder and run: the thumbnails go on, made in memory.
void TMainForm::reportCacheProblem(const QString& reason) {
  if (!cacheProblemsShown_.insert(options_.cacheFolder.string()).second) return;
  prompter_.warn("The thumbnail cache cannot be used; thumbnails are made in memory instead.\r\n\r\n" +
                     reason.toStdString(),
                 "Thumbnail cache");
}

void TMainForm::CacheStatsClick() {
  TPropertiesForm properties(this);
  properties.showCacheFolder(options_.cacheFolder);
  properties.exec();
}

void TMainForm::Openwith1Click() {
  if (focusedFile().empty()) return;
  TOpenWithForm chooser(focusedFile(), platform::applicationFolders(), this);
  if (chooser.exec() != QDialog::Accepted) return;
  try {
    chooser.openFile();
  } catch (const Error& error) {
    prompter_.error(error.what(), "Error");
  }
}

}  // namespace vistrel::app
