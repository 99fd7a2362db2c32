#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/main_settings.h"
#include "browser/ui/file_list.h"
#include "options/program_options.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"

class QAction;
class QComboBox;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class QTreeView;
class QTreeWidget;

namespace vistrel::imaging {
class PictureCache;
class TImagNV;
class TResizeForm;
enum class JpegTransform;
}
namespace vistrel::crypto::ui {
class CryptoForm;
}
namespace vistrel::metadata::ui {
class TInfoForm;
}
namespace vistrel::gallery::ui {
class GalleryRunner;
class TThumbFrm;
}
namespace vistrel::targets {
enum class TargetOperation;
}
namespace vistrel::targets::ui {
class TTargetFolderForm;
}
namespace vistrel::transfer::ui {
class TImportForm;
}

namespace vistrel::search::ui {
class TSearchForm;
}

namespace vistrel::browser::ui {
class TDragListBox;
class TFileListPopup;
class TFullScreen;
class THistogramForm;
}
namespace vistrel::browser {
enum class WallpaperStyle;
}

namespace vistrel::app {

using browser::ui::FileListSettings;
using browser::ui::TDragListBox;
using browser::ui::TFileList;
using browser::ui::TFileListPopup;

class TOptionsForm;

// The main window of the picture browser: tool bar, folder tree and drag list
// on the left, the file list with the preview and the info panel on the right,
// and the status bar. It keeps its layout and view settings in the program key
// (read when first shown, written when it closes).
class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  TMainForm(platform::SettingsStore& store, platform::Prompter& prompter, std::filesystem::path programData,
            QWidget* parent = nullptr);
  ~TMainForm() override;

  options::ProgramOptions& options() { return options_; }
  TOptionsForm& optionsForm() { return *OptionsForm; }

  // The folder the tree points at ("" when none).
  std::string currentFolder() const;
  void setCurrentFolder(const std::string& folder);
  // The folder whose files the list shows.
  const std::string& listedFolder() const { return listedFolder_; }
  // Lists the tree's folder again.
  void listFolder();

  ViewStyle viewStyle() const { return viewStyle_; }
  void setViewStyle(ViewStyle style);
  int thumbnailSize() const { return thumbSize_; }
  std::vector<std::string> history() const;
  void setStatusText(const QString& text);
  QProgressBar* progressBar() const { return ProgressBar; }
  bool thumbnailStopFlag() const { return stopThumbs_; }
  // The job sets the commands work on: tagged rows, highlighted rows, the first
  // highlighted row, and the entries of the drag list.
  std::vector<std::filesystem::path> taggedFiles() const;
  std::vector<std::filesystem::path> selectedFiles() const;
  std::filesystem::path focusedFile() const;
  std::vector<std::filesystem::path> dragListFiles() const;
  // The settings as the window shows them now.
  MainSettings currentSettings() const;
  void bringToFront();
  // Lists the first folder given on a command line (a file's folder for a file).
  void openArguments(const QStringList& arguments);
  void setVisible(bool visible) override;

  // The previewed file: the drag list's current entry when the "Drag and drop"
  // tab is active and the drag list is being browsed, else the file list's
  // selected row. Shows it in the preview (or the full-screen window) and
  // fills the info panel, the caption and the status bar.
  void previewSelectedFile();
  // Opens the full-screen window on the previewed file; with `slideshow` the
  // file info may stay hidden (the slideshow starts the timer itself).
  void startFullScreen(bool slideshow);
  browser::ui::TFullScreen* fullScreen() const;
  // Previous (-1) or next (+1) photo, in the drag list or the file list.
  void stepPicture(int step);
  // One slideshow step: the next photo, from the last back to the first.
  void slideshowTick();
  // "Copy", "Move", "Delete" or "DeleteSilent" of the selected files; after a
  // move or a delete the rows of the files gone leave the list.
  void runFileOperation(targets::TargetOperation operation);
  // The dialogs of the organising commands, made on first use.
  transfer::ui::TImportForm& importForm();
  targets::ui::TTargetFolderForm& targetFolderForm();

  // Controls and commands by their names, for the other windows and for tests.
  QToolBar *ToolBar1, *ToolBar2;
  QComboBox* comboHistoryList;
  QToolButton *ToolButton5, *btnWallpaper, *btnJpgRotate, *btnFileDate;
  QSplitter *Splitter2, *LeftPanel, *MainPanel, *BottomRightPanel;
  QTabWidget* PageControl;
  QWidget *TabSheet1, *TabSheet2;
  QTreeView* TreeView;
  QFileSystemModel* folderModel;
  TDragListBox* DragListBox;
  TFileList* FileList;
  TFileListPopup* FileListPopup;
  QPushButton *btnClear, *btnSave, *btnOpen;
  QGroupBox* ImageGroupBox;
  imaging::TImagNV* ImageNV;
  QPlainTextEdit* IptcMemo;
  QWidget* InfoPanel;
  metadata::ui::TInfoForm* InfoForm;
  browser::ui::THistogramForm* HistogramForm;
  QLabel* statusPanels[4];
  QProgressBar* ProgressBar;
  QAction *Createthumbnails1, *FTPupload1, *FindFiles1, *ImportFromCamera, *Zipimagefiles1, *Emailimages1,
      *Createfolder1, *Printimage1, *Exit1, *Fullscreen1, *Options1, *cbInclNonImages, *cbGridLines,
      *cbShowProperties, *cbShowIptcCaption, *cbViewPos, *cbIncludeIPTC, *Slideshow1, *Setfiledate1,
      *Renameseries1, *Textreplace1, *EncryptFiles, *DecryptFiles, *WipeFiles, *Deletecacheallfolders1,
      *CleanCache, *CacheStats, *Help1, *Website1, *Feedback1, *About1, *btnQuickResize, *btnDescription,
      *btnTagAll, *btnUntagAll, *btnTagHighlighted, *btnUntagHighlighted;
  QMenu *ViewtypePopup, *JpegRotPopupMenu;
  QAction *Centered1, *Tiled1, *Stretched1;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Layout
  void createLayout();
  QWidget* createLeftPanel();
  QWidget* createMainPanel();
  void createStatusBar();
  // Menu, tool bar and commands
  void createMenu();
  void createToolBar();
  QAction* command(QMenu* menu, const QString& caption, const QKeySequence& shortcut = {});
  QAction* toggle(QMenu* menu, const QString& caption);
  int selectedCount() const;
  int taggedCount() const;
  bool needsSelection(const char* text, const char* caption, platform::Icon icon);
  // "Create thumbnails" (main_form_gallery.cpp): the candidate files, the options dialog and the run.
  void Createthumbnails1Click();
  void FTPupload1Click();
  // The gallery dialog and its runner, made on first use.
  gallery::ui::TThumbFrm& thumbFrm();
  void Options1Click();
  void cbIncludeIPTCClick();
  void cbViewPosClick();
  void About1Click();
  // Encryption and decryption of the selected files (main_form_crypto.cpp)
  void EncryptFilesClick();
  void DecryptFilesClick();
  // Shows the dialog; on OK hands it the selected files, runs it and lists the folder again.
  void runCryptoForm(crypto::ui::CryptoForm& form, const std::function<void()>& run);
  // Rename series, transfer from a camera, copy, move and delete (main_form_organise.cpp)
  void createOrganiseCommands();
  void Renameseries1Click();
  void ImportFromCameraClick();
  void deleteFiles(int row);
  // The metadata editors over the file list (main_form_editors.cpp)
  void createEditorCommands();
  void EditIPTCinfo1Click();
  void btnFileDateClick();
  void EditExifDateClick();
  void btnDescriptionClick();
  // Sharing the selected files (main_form_sharing.cpp)
  void Zipimagefiles1Click();
  void Emailimages1Click();
  // The file list, the drag list and the cache commands (main_form_file_list.cpp)
  void createFileListCommands();
  void createDragListButtons();
  FileListSettings fileListSettings() const;
  void showThumbnailProgress(int position, int total);
  void Createfolder1Click();
  void WipeFilesClick();
  void btnSaveClick();
  void btnOpenClick();
  void Deletecacheallfolders1Click();
  // The orphan clean: asked from the menu, or automatic at start.
  void cleanCache(bool asked);
  void reportCacheProblem(const QString& reason);
  void CacheStatsClick();
  void Openwith1Click();
  // File search and text replace (main_form_tools.cpp)
  void FindFiles1Click();
  void Textreplace1Click();
  // Preview, full screen, slideshow, printing, wallpaper, histogram (main_form_viewer.cpp)
  void createViewerCommands();
  std::filesystem::path previewedFile() const;
  bool steppingDragList() const;
  imaging::TImagNV* shownViewer() const;
  void showPictureInfo(imaging::TImagNV* viewer);
  void prefetchNeighbours();
  void Fullscreen1Click();
  void Slideshow1Click();
  void fullScreenClosed();
  void deleteFromFullScreen();
  void rotateFromFullScreen(bool clockwise);
  void Printimage1Click();
  void wallpaperClick(browser::WallpaperStyle style);
  void Histogram1Click();
  // The picture tools on the selected files (main_form_image_tools.cpp)
  void createImageToolCommands();
  // The rotate command: by the transform, or each file as its camera says.
  void rotateSelected(std::optional<imaging::JpegTransform> transform);
  void btnQuickResizeClick();
  // Shows a long command's progress at once, without taking the user's input meanwhile.
  void showProgressText(const QString& text);
  // Start-up, settings and history
  MainSettings defaultSettings() const;
  void firstShow();
  void startup();
  void applySettings(const MainSettings& settings);
  void applyColumnOrder(const std::array<int, kColumnCount>& order);
  void setFileListFont(const QString& family, int pointSize);
  void applyFileListColours();
  void setPreviewPosition(bool left);
  void showInfoPanel(bool show);
  void saveSettings();
  void comboHistoryListChoose(const QString& text);
  void rememberFolderInHistory();
  void folderChosenInTree();

  platform::SettingsStore& store_;
  platform::Prompter& prompter_;
  std::filesystem::path programData_;
  options::ProgramOptions options_;
  TOptionsForm* OptionsForm = nullptr;
  gallery::ui::TThumbFrm* ThumbFrm = nullptr;
  gallery::ui::GalleryRunner* galleryRunner_ = nullptr;
  imaging::PictureCache* pictureCache_;
  QPointer<browser::ui::TFullScreen> FullScreen;
  // The drag list, not the file list, is being browsed: its entries are
  // previewed and stepped through.
  bool dragListBrowsed_ = false;
  transfer::ui::TImportForm* ImportForm = nullptr;
  targets::ui::TTargetFolderForm* TargetFolderForm = nullptr;
  imaging::TResizeForm* ResizeForm = nullptr;
  search::ui::TSearchForm* SearchForm = nullptr;
  std::string listedFolder_;
  ViewStyle viewStyle_ = ViewStyle::Details;
  int thumbSize_ = 80;
  int infoHeight_ = 97;
  bool stopThumbs_ = false;
  bool shown_ = false;
  bool started_ = false;  // the first listing is done; folder changes list from now on
  std::set<std::string> cacheProblemsShown_;  // cache folders reported in this run
};

}  // namespace vistrel::app
