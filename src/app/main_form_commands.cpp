#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDesktopServices>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include "app/icons.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "browser/ui/drag_list_box.h"
#include "browser/ui/file_list_popup.h"
#include "imaging/ui/imag_nv.h"
#include "platform/ui/help.h"
#include "platform/version.h"

// The main menu and the tool bar, and the commands that the main window does
// itself. Commands of tools that are not here yet are present and do nothing.

namespace vistrel::app {
namespace {

using platform::Icon;

constexpr const char* kWebsite = "https://vistrel.example.org/";
constexpr const char* kFeedback = "mailto:feedback@vistrel.example.org?subject=Vistrel";

QToolButton* dropDownButton(QToolBar* bar, const QIcon& icon, const QString& hint, QMenu* menu) {
  auto* button = new QToolButton;
  button->setIcon(icon);
  button->setToolTip(hint);
  button->setMenu(menu);
  button->setPopupMode(QToolButton::MenuButtonPopup);
  bar->addWidget(button);
  return button;
}

QAction* toolAction(QToolBar* bar, const QIcon& icon, const QString& hint) {
  QAction* action = bar->addAction(icon, hint);
  action->setToolTip(hint);
  action->setStatusTip(hint);
  return action;
}

QMenu* menuOf(QWidget* parent, std::initializer_list<const char*> captions) {
  auto* menu = new QMenu(parent);
  for (const char* caption : captions) menu->addAction(caption);
  return menu;
}

}  // namespace

QAction* TMainForm::command(QMenu* menu, const QString& caption, const QKeySequence& shortcut) {
  QAction* action = menu->addAction(caption);
  action->setShortcut(shortcut);
  return action;
}

QAction* TMainForm::toggle(QMenu* menu, const QString& caption) {
  QAction* action = command(menu, caption);
  action->setCheckable(true);
  return action;
}

void TMainForm::createMenu() {
  QMenu* file = menuBar()->addMenu("&File");
  Createthumbnails1 = command(file, "Create thumbnails", QKeySequence(Qt::ALT | Qt::Key_Backspace));
  FTPupload1 = command(file, "FTP upload...");
  FindFiles1 = command(file, "Find Files...");
  ImportFromCamera = command(file, "Transfer images from camera...");
  Zipimagefiles1 = command(file, "Zip compress file(s)");
  Emailimages1 = command(file, "E-mail images", QKeySequence(Qt::CTRL | Qt::Key_M));
  Createfolder1 = command(file, "Create folder", QKeySequence(Qt::CTRL | Qt::Key_N));
  Printimage1 = command(file, "Print image");
  file->addSeparator();
  // Ctrl+X belongs to "Move to .." in the file list, where cutting files is expected.
  Exit1 = command(file, "Exit", QKeySequence(Qt::CTRL | Qt::Key_Q));

  QMenu* view = menuBar()->addMenu("&View");
  Fullscreen1 = command(view, "Full screen");
  Slideshow1 = command(view, "Slideshow");
  view->addSeparator();
  cbInclNonImages = toggle(view, "Show all files (*.*)");
  cbGridLines = toggle(view, "Show gridlines");
  cbShowProperties = toggle(view, "Show image properties");
  cbShowIptcCaption = toggle(view, "Include IPTC column");
  cbViewPos = toggle(view, "Left align image preview");
  cbIncludeIPTC = toggle(view, "Show info panel");
  cbIncludeIPTC->setChecked(true);
  view->addSeparator();
  Options1 = command(view, "Options...", QKeySequence(Qt::Key_F8));

  QMenu* tools = menuBar()->addMenu("&Tools");
  Setfiledate1 = command(tools, "Set file date...");
  Renameseries1 = command(tools, "Rename series...");
  Textreplace1 = command(tools, "Text replace...");
  EncryptFiles = command(tools, "Encrypt files...");
  DecryptFiles = command(tools, "Decrypt files...");
  WipeFiles = command(tools, "Filewipe");
  tools->addSeparator();
  Deletecacheallfolders1 = command(tools, "Delete cache (all data)");
  CleanCache = command(tools, "Clean cache (orphans)");
  CacheStats = command(tools, "Cache properties");

  QMenu* help = menuBar()->addMenu("&Help");
  Help1 = command(help, "Help", QKeySequence(Qt::Key_F1));
  Website1 = command(help, "Website");
  Feedback1 = command(help, "Feedback");
  help->addSeparator();
  About1 = command(help, "About...");

  connect(Createthumbnails1, &QAction::triggered, this, &TMainForm::Createthumbnails1Click);
  connect(FTPupload1, &QAction::triggered, this, &TMainForm::FTPupload1Click);
  connect(FindFiles1, &QAction::triggered, this, &TMainForm::FindFiles1Click);
  connect(Textreplace1, &QAction::triggered, this, &TMainForm::Textreplace1Click);
  connect(Help1, &QAction::triggered, this, [] { platform::ui::showHelp(0); });
  connect(Zipimagefiles1, &QAction::triggered, this, &TMainForm::Zipimagefiles1Click);
  connect(Emailimages1, &QAction::triggered, this, &TMainForm::Emailimages1Click);
  connect(Exit1, &QAction::triggered, this, &QWidget::close);
  connect(Options1, &QAction::triggered, this, &TMainForm::Options1Click);
  connect(cbInclNonImages, &QAction::triggered, this, &TMainForm::listFolder);
  connect(cbIncludeIPTC, &QAction::triggered, this, &TMainForm::cbIncludeIPTCClick);
  connect(cbViewPos, &QAction::triggered, this, &TMainForm::cbViewPosClick);
  connect(EncryptFiles, &QAction::triggered, this, &TMainForm::EncryptFilesClick);
  connect(DecryptFiles, &QAction::triggered, this, &TMainForm::DecryptFilesClick);
  connect(Website1, &QAction::triggered, this, [] { QDesktopServices::openUrl(QUrl(kWebsite)); });
  connect(Feedback1, &QAction::triggered, this, [] { QDesktopServices::openUrl(QUrl(kFeedback)); });
  connect(About1, &QAction::triggered, this, &TMainForm::About1Click);
}

void TMainForm::createToolBar() {
  ToolBar1 = addToolBar("Commands");
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setMovable(false);
  ToolBar1->setIconSize(QSize(24, 24));
  const auto use = [](QAction* action, const QIcon& icon, const QString& hint) {
    action->setIcon(icon);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    return action;
  };
  ToolBar1->addAction(use(Createthumbnails1, themeIcon("insert-image", QStyle::SP_FileDialogContentsView),
                          "Create thumbnails"));
  ToolBar1->addAction(use(FTPupload1, themeIcon("network-server", QStyle::SP_DriveNetIcon), "FTP upload"));
  ToolBar1->addAction(use(FindFiles1, themeIcon("system-search", QStyle::SP_FileDialogContentsView),
                          "Search for files"));
  ToolBar1->addAction(use(ImportFromCamera, themeIcon("camera-photo", QStyle::SP_DriveCDIcon),
                          "Transfer image files from camera or memory card"));
  ToolBar1->addAction(use(Emailimages1, themeIcon("mail-send", QStyle::SP_ArrowForward), "Send e-mail attachments"));
  QAction* btnPrint = toolAction(ToolBar1, themeIcon("document-print", QStyle::SP_FileIcon), "Print image");
  btnPrint->setVisible(false);
  connect(btnPrint, &QAction::triggered, Printimage1, &QAction::trigger);
  ToolBar1->addSeparator();
  ToolBar1->addAction(use(Options1, themeIcon("preferences-system", QStyle::SP_FileDialogListView), "Options"));
  ToolBar1->addAction(use(Slideshow1, themeIcon("media-playback-start", QStyle::SP_MediaPlay), "Slideshow"));
  btnFileDate = dropDownButton(ToolBar1, {}, {}, menuOf(this, {"Change file date/time", "Change EXIF date/time"}));
  // The button is the command's, enabled as the command is.
  btnFileDate->setDefaultAction(
      use(Setfiledate1, themeIcon("x-office-calendar", QStyle::SP_FileDialogInfoView), "Set file date"));
  ToolBar1->addAction(use(Renameseries1, themeIcon("edit-rename", QStyle::SP_FileLinkIcon), "Rename files"));
  btnQuickResize = toolAction(ToolBar1, themeIcon("zoom-fit-best", QStyle::SP_TitleBarMaxButton), "Quick resize");
  btnDescription = toolAction(ToolBar1, themeIcon("document-edit", QStyle::SP_FileDialogDetailedView),
                              "Edit file description");

  addToolBarBreak();
  ToolBar2 = addToolBar("Folders and tagging");
  ToolBar2->setObjectName("ToolBar2");
  ToolBar2->setMovable(false);
  ToolBar2->setIconSize(QSize(24, 24));
  comboHistoryList = new QComboBox;
  comboHistoryList->setEditable(true);
  comboHistoryList->setInsertPolicy(QComboBox::NoInsert);
  comboHistoryList->setFixedWidth(212);
  // Proposals are offered in a list, never typed into the box, so that Enter
  // takes the path as typed; and folder names differ by case here.
  comboHistoryList->completer()->setCompletionMode(QCompleter::PopupCompletion);
  comboHistoryList->completer()->setCaseSensitivity(Qt::CaseSensitive);
  connect(comboHistoryList, &QComboBox::textActivated, this, &TMainForm::comboHistoryListChoose);
  // A typed folder that is not in the list yet is not "activated" by the combo box itself.
  connect(comboHistoryList->lineEdit(), &QLineEdit::returnPressed, this,
          [this] { comboHistoryListChoose(comboHistoryList->currentText()); });
  ToolBar2->addWidget(comboHistoryList);

  ViewtypePopup = new QMenu(this);
  auto* viewTypes = new QActionGroup(ViewtypePopup);
  const std::pair<const char*, ViewStyle> kViewTypes[] = {{"Details", ViewStyle::Details},
                                                          {"List", ViewStyle::List},
                                                          {"Small icons", ViewStyle::SmallIcons},
                                                          {"Thumbnails", ViewStyle::Thumbnails}};
  for (const auto& [caption, style] : kViewTypes) {
    QAction* item = ViewtypePopup->addAction(caption);
    item->setCheckable(true);
    item->setData(int(style));
    viewTypes->addAction(item);
    // Only the thumbnail view needs other pictures in the rows; between the
    // other views the rows stay as they are, tags and selection included.
    connect(item, &QAction::triggered, this, [this, style = style] {
      const bool relist = style == ViewStyle::Thumbnails || viewStyle_ == ViewStyle::Thumbnails;
      setViewStyle(style);
      if (relist) listFolder();
    });
  }
  connect(ViewtypePopup, &QMenu::aboutToShow, this, [this] {
    for (QAction* item : ViewtypePopup->actions()) item->setChecked(item->data().toInt() == int(viewStyle_));
  });
  ToolButton5 = dropDownButton(ToolBar2, themeIcon("view-list-details", QStyle::SP_FileDialogDetailedView), "Views",
                               ViewtypePopup);
  ToolButton5->setPopupMode(QToolButton::InstantPopup);
  QMenu* wallpaperMenu = menuOf(this, {"Centered", "Tiled", "Stretched"});
  Centered1 = wallpaperMenu->actions()[0];
  Tiled1 = wallpaperMenu->actions()[1];
  Stretched1 = wallpaperMenu->actions()[2];
  btnWallpaper = dropDownButton(ToolBar2, themeIcon("preferences-desktop-wallpaper", QStyle::SP_DesktopIcon),
                                "Set desktop background", wallpaperMenu);
  JpegRotPopupMenu =
      menuOf(this, {"JPEG rotate left", "JPEG rotate right", "JPEG rotate upside down", "Rotate as the camera says"});
  btnJpgRotate = dropDownButton(ToolBar2, themeIcon("object-rotate-right", QStyle::SP_BrowserReload), "JPEG rotate",
                                JpegRotPopupMenu);
  btnJpgRotate->setPopupMode(QToolButton::InstantPopup);
  ToolBar2->addSeparator();
  // Tags are this program's own: no theme has pictures for them.
  btnTagAll = toolAction(ToolBar2, drawnIcon(DrawnIcon::TagAll), "Tag entire list");
  btnUntagAll = toolAction(ToolBar2, drawnIcon(DrawnIcon::UntagAll), "Untag entire list");
  btnTagHighlighted =
      toolAction(ToolBar2, drawnIcon(DrawnIcon::TagHighlighted), "Tag filenames currently highlighted");
  btnUntagHighlighted =
      toolAction(ToolBar2, drawnIcon(DrawnIcon::UntagHighlighted), "Untag filenames currently highlighted");
  connect(btnTagAll, &QAction::triggered, this, [this] { FileList->tagRows(true, false); });
  connect(btnUntagAll, &QAction::triggered, this, [this] { FileList->tagRows(false, false); });
  connect(btnTagHighlighted, &QAction::triggered, this, [this] { FileList->tagRows(true, true); });
  connect(btnUntagHighlighted, &QAction::triggered, this, [this] { FileList->tagRows(false, true); });
  ToolBar2->addSeparator();
  ToolBar2->addAction(use(EncryptFiles, themeIcon("changes-prevent", DrawnIcon::Locked), "Encrypt files"));
  ToolBar2->addAction(use(DecryptFiles, themeIcon("changes-allow", DrawnIcon::Unlocked), "Decrypt files"));
}

int TMainForm::selectedCount() const { return int(FileList->selectedItems().size()); }

int TMainForm::taggedCount() const {
  int count = 0;
  for (int row = 0; row < FileList->topLevelItemCount(); ++row) {
    if (FileList->topLevelItem(row)->checkState(0) == Qt::Checked) ++count;
  }
  return count;
}

// Shows the message and returns false when no row is selected.
bool TMainForm::needsSelection(const char* text, const char* caption, Icon icon) {
  if (selectedCount() > 0) return true;
  prompter_.show(text, caption, icon);
  return false;
}

void TMainForm::Options1Click() {
  OptionsForm->setFileListFont(FileList->font().family(), FileList->font().pointSize());
  OptionsForm->setPreviewSize(thumbSize_);
  const bool accepted = OptionsForm->exec() == QDialog::Accepted;
  ImageNV->setUpright(options_.autoOrient);
  if (!accepted) return;
  FileList->setNumbersByValue(options_.sortNumbersByValue);
  if (OptionsForm->previewSize() == thumbSize_) return;
  thumbSize_ = OptionsForm->previewSize();
  if (viewStyle_ == ViewStyle::Thumbnails) listFolder();
}

void TMainForm::cbIncludeIPTCClick() { showInfoPanel(cbIncludeIPTC->isChecked()); }

void TMainForm::cbViewPosClick() { setPreviewPosition(cbViewPos->isChecked()); }

void TMainForm::About1Click() {
  QMessageBox about(this);
  about.setWindowTitle("About Vistrel");
  about.setIconPixmap(programIcon().pixmap(64, 64));
  about.setText(QString("<b>Vistrel %1</b><br>Browse folders of photographs and publish them as web galleries.")
                    .arg(QString::fromStdString(platform::versionText())));
  about.exec();
}

}  // namespace vistrel::app
