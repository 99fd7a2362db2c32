#pragma once

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <optional>
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
class TImagNV;
class TResizeForm;
enum class JpegTransform;
}
namespace vistrel::crypto::ui {
class CryptoForm;
}
namespace vistrel::gallery::ui {
class GalleryRunner;
class TThumbFrm;
}

namespace vistrel::search::ui {
class TSearchForm;
}

namespace vistrel::browser::ui {
class TDragListBox;
class TFileListPopup;
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
  QLabel* statusPanels[4];
  QProgressBar* ProgressBar;
  QAction *Createthumbnails1, *FTPupload1, *FindFiles1, *ImportFromCamera, *Zipimagefiles1, *Emailimages1,
      *Createfolder1, *Printimage1, *Exit1, *Fullscreen1, *Options1, *cbInclNonImages, *cbGridLines,
      *cbShowProperties, *cbShowIptcCaption, *cbViewPos, *cbIncludeIPTC, *Slideshow1, *Setfiledate1,
      *Renameseries1, *Textreplace1, *EncryptFiles, *DecryptFiles, *WipeFiles, *Deletecacheallfolders1,
      *CleanCache, *CacheStats, *Help1, *Website1, *Feedback1, *About1, *btnQuickResize, *btnDescription,
      *btnTagAll, *btnUntagAll, *btnTagHighlighted, *btnUntagHighlighted;
  QMenu *ViewtypePopup, *JpegRotPopupMenu;

 protected:
  void showEvent(QShowEvent* event) override;
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
  void showPreview(const std::filesystem::path& file);
  void showThumbnailProgress(int position, int total);
  void Createfolder1Click();
  void WipeFilesClick();
  void btnSaveClick();
  void btnOpenClick();
  void Deletecacheallfolders1Click();
  void CacheStatsClick();
  void Openwith1Click();
  // File search and text replace (main_form_tools.cpp)
  void FindFiles1Click();
  void Textreplace1Click();
  // The picture tools on the selected files (main_form_image_tools.cpp)
  void createImageToolCommands();
  // The rotate command: by the transform, or each file as its camera says.
  void rotateSelected(std::optional<imaging::JpegTransform> transform);
  void btnQuickResizeClick();
  // Shows a long command's progress at once, without taking the user's input meanwhile.
  void showProgressText(const QString& text);
  // Start-up, settings and history
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
  imaging::TResizeForm* ResizeForm = nullptr;
  search::ui::TSearchForm* SearchForm = nullptr;
  std::string listedFolder_;
  ViewStyle viewStyle_ = ViewStyle::Details;
  int thumbSize_ = 80;
  int infoHeight_ = 97;
  std::string activeInfoTab_;
  bool stopThumbs_ = false;
  bool shown_ = false;
  bool started_ = false;  // the first listing is done; folder changes list from now on
};

}  // namespace vistrel::app
