#include "app/main_form.h"

#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolTip>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/options_form.h"
#include "browser/orphan_clean.h"
#include "browser/ui/drag_list_box.h"
#include "imaging/ui/imag_nv.h"
#include "platform/version.h"

namespace vistrel::app {
namespace {

// The desktop colours that some option defaults follow.
options::SystemColours paletteColours(const QPalette& palette) {
  return {fromQColor(palette.color(QPalette::Button)), fromQColor(palette.color(QPalette::Base)),
          fromQColor(palette.color(QPalette::Inactive, QPalette::WindowText))};
}

// "Vistrel 3.12": the name with the major and minor version.
QString programTitle() {
  const QString version = QString::fromStdString(platform::versionText());
  return "Vistrel " + version.section('.', 0, 1);
}

}  // namespace

TMainForm::TMainForm(platform::SettingsStore& store, platform::Prompter& prompter, std::filesystem::path programData,
                     QWidget* parent)
    : QMainWindow(parent), store_(store), prompter_(prompter), programData_(std::move(programData)) {
  setWindowTitle("Vistrel");
  setMinimumSize(630, 500);
  setFont(QFont("Tahoma", 8));
  createLayout();
  createMenu();
  createToolBar();
  createStatusBar();
  // Esc and Space anywhere in the window stop a running thumbnail load.
  qApp->installEventFilter(this);

  options_ = options::ProgramOptions::defaults(programData_, paletteColours(palette()));
  options_.fileListCol = fromQColor(FileList->palette().color(QPalette::Base));
  OptionsForm = new TOptionsForm(options_, store_, programData_, prompter_, this);
  connect(OptionsForm, &TOptionsForm::fileListFontChanged, this, &TMainForm::setFileListFont);
  connect(OptionsForm, &TOptionsForm::imageBackgroundChanged, ImageNV, &imaging::TImagNV::setColor);
  connect(OptionsForm, &TOptionsForm::fileListColoursChanged, this, &TMainForm::applyFileListColours);
  createFileListCommands();
  createEditorCommands();
  createImageToolCommands();
}

void TMainForm::applyFileListColours() {
  QPalette colours = FileList->palette();
  colours.setColor(QPalette::Base, OptionsForm->fileListBackground());
  FileList->setPalette(colours);
  FileList->viewport()->update();
}

TMainForm::~TMainForm() { qApp->removeEventFilter(this); }

void TMainForm::createLayout() {
  Splitter2 = new QSplitter(Qt::Horizontal);
  Splitter2->setHandleWidth(5);
  Splitter2->addWidget(createLeftPanel());
  Splitter2->addWidget(createMainPanel());
  Splitter2->setStretchFactor(1, 1);
  Splitter2->setCollapsible(0, false);
  Splitter2->setCollapsible(1, false);
  Splitter2->setSizes({203, 800});
  setCentralWidget(Splitter2);
}

QWidget* TMainForm::createLeftPanel() {
  folderModel = new QFileSystemModel(this);
  folderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folderModel->setRootPath("/");
  TreeView = new QTreeView;
  TreeView->setModel(folderModel);
  for (int column = 1; column < folderModel->columnCount(); ++column) TreeView->hideColumn(column);
  TreeView->setHeaderHidden(true);
  TreeView->setCurrentIndex(folderModel->index(QDir::homePath()));
  connect(TreeView->selectionModel(), &QItemSelectionModel::currentChanged, this, &TMainForm::folderChosenInTree);

  TabSheet1 = new QWidget;
  auto* explorer = new QVBoxLayout(TabSheet1);
  explorer->setContentsMargins(0, 0, 0, 0);
  explorer->addWidget(TreeView);
  DragListBox = new TDragListBox;
  DragListBox->setToolTip(
      "Drag and drop image files from any program to the list above, for easy viewing or thumbnail creation");
  TabSheet2 = new QWidget;
  auto* dragTab = new QVBoxLayout(TabSheet2);
  dragTab->setContentsMargins(0, 0, 0, 0);
  dragTab->addWidget(DragListBox);

  PageControl = new QTabWidget;
  PageControl->setMinimumSize(160, 60);
  PageControl->addTab(TabSheet1, "Explorer");
  PageControl->addTab(TabSheet2, "Drag and drop");

  // The preview moves in here, under the tabs, when it is left-aligned.
  LeftPanel = new QSplitter(Qt::Vertical);
  LeftPanel->setHandleWidth(5);
  LeftPanel->addWidget(PageControl);
  LeftPanel->setCollapsible(0, false);
  return LeftPanel;
}

QWidget* TMainForm::createMainPanel() {
  FileList = new TFileList;
  FileList->setMinimumHeight(70);
  FileList->header()->setSectionsMovable(true);
  FileList->installEventFilter(this);
  const MainSettings defaults;
  for (int column = 0; column < kColumnCount; ++column) FileList->setColumnWidth(column, defaults.colWidths[column]);

  ImageNV = new imaging::TImagNV;
  ImageNV->setAlignV(imaging::TIM_AlignV::IM_ALIGNV_TOP);
  IptcMemo = new QPlainTextEdit;
  IptcMemo->setReadOnly(true);
  IptcMemo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);  // Ctrl+A
  IptcMemo->setToolTip("When found, this area will display IPTC caption and useful EXIF information");
  IptcMemo->setMaximumWidth(260);
  IptcMemo->setMinimumWidth(40);
  ImageGroupBox = new QGroupBox("Image preview");
  auto* preview = new QHBoxLayout(ImageGroupBox);
  preview->addWidget(ImageNV, 3);
  preview->addWidget(IptcMemo, 1);

  // The image info window docks in here.
  auto* infoFrame = new QFrame;
  infoFrame->setFrameShape(QFrame::StyledPanel);
  InfoPanel = infoFrame;
  InfoPanel->setMinimumHeight(80);
  auto* info = new QVBoxLayout(InfoPanel);
  info->setContentsMargins(0, 0, 0, 0);
  InfoPanel->hide();

  BottomRightPanel = new QSplitter(Qt::Vertical);
  BottomRightPanel->setHandleWidth(5);
  BottomRightPanel->setMinimumHeight(60);
  BottomRightPanel->addWidget(ImageGroupBox);
  BottomRightPanel->addWidget(InfoPanel);
  BottomRightPanel->setCollapsible(0, false);
  BottomRightPanel->setCollapsible(1, false);

  MainPanel = new QSplitter(Qt::Vertical);
  MainPanel->setHandleWidth(5);
  MainPanel->addWidget(FileList);
  MainPanel->addWidget(BottomRightPanel);
  MainPanel->setStretchFactor(0, 1);
  MainPanel->setCollapsible(0, false);
  MainPanel->setCollapsible(1, false);
  return MainPanel;
}

void TMainForm::createStatusBar() {
  const int widths[4] = {0, 100, 100, 250};
  for (int panel = 0; panel < 4; ++panel) {
    statusPanels[panel] = new QLabel;
    if (panel > 0) statusPanels[panel]->setFixedWidth(widths[panel]);
    statusBar()->addPermanentWidget(statusPanels[panel], panel == 0 ? 1 : 0);
  }
  statusPanels[1]->setText("Width: ");
  statusPanels[2]->setText("Height: ");
  ProgressBar = new QProgressBar(statusPanels[3]);
  ProgressBar->setGeometry(0, 0, 250, 16);
  ProgressBar->setTextVisible(false);
  ProgressBar->hide();
}

void TMainForm::setStatusText(const QString& text) { statusPanels[0]->setText(text); }

std::string TMainForm::currentFolder() const { return folderModel->filePath(TreeView->currentIndex()).toStdString(); }

void TMainForm::setCurrentFolder(const std::string& folder) {
  const QModelIndex index = folderModel->index(QString::fromStdString(folder));
  if (!index.isValid()) return;
  TreeView->setCurrentIndex(index);
  TreeView->scrollTo(index);
}

void TMainForm::folderChosenInTree() {
  if (started_ && currentFolder() != listedFolder_) listFolder();
}

void TMainForm::listFolder() {
  listedFolder_ = currentFolder();
  setWindowTitle(listedFolder_.empty() ? programTitle() : programTitle() + " - " + QString::fromStdString(listedFolder_));
  ImageNV->setFilename({});
  ImageGroupBox->setTitle("Image preview");
  IptcMemo->clear();
  statusPanels[1]->setText("Width: ");
  statusPanels[2]->setText("Height: ");
  FileList->listFolder(listedFolder_, fileListSettings());
}

void TMainForm::setViewStyle(ViewStyle style) {
  if (viewStyle_ == ViewStyle::Thumbnails) stopThumbs_ = true;
  viewStyle_ = style;
  FileList->setViewStyle(style);
}

void TMainForm::bringToFront() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  firstShow();
}

void TMainForm::firstShow() {
  const QRect screen = this->screen()->geometry();
  MainSettings settings;
  settings.width = screen.width() - 100;
  settings.height = screen.height() - 100;
  settings.activeFolder = currentFolder();
  readMainSettings(store_, settings);
  applySettings(settings);
  for (const std::string& entry : readHistory(store_)) comboHistoryList->addItem(QString::fromStdString(entry));
  comboHistoryList->setCurrentIndex(-1);
  TreeView->setFocus();
  ImageNV->setColor(toQColor(options_.imgBackCol));
  applyFileListColours();
  QMetaObject::invokeMethod(this, &TMainForm::startup, Qt::QueuedConnection);
}

void TMainForm::startup() {
  started_ = true;
  if (FileList->topLevelItemCount() == 0) listFolder();
  std::error_code ec;
  if (options_.autoClean && std::filesystem::is_directory(options_.cacheFolder, ec)) {
    browser::startOrphanClean(options_.cacheFolder);
  }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    auto* widget = qobject_cast<QWidget*>(watched);
    if ((key == Qt::Key_Escape || key == Qt::Key_Space) && widget && widget->window() == this) {
      stopThumbs_ = true;
      FileList->stopThumbnails();
    }
  } else if (event->type() == QEvent::ToolTip) {
    // Hints stay four seconds, however long their text.
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && widget->window() == this && !widget->toolTip().isEmpty()) {
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), widget->toolTip(), widget, {}, 4000);
      return true;
    }
  } else if ((watched == FileList || watched == FileList->iconView()) && event->type() == QEvent::FocusIn) {
    rememberFolderInHistory();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::rememberFolderInHistory() {
  const QString folder = QString::fromStdString(currentFolder());
  if (folder.isEmpty()) return;
  int index = comboHistoryList->findText(folder);
  if (index < 0) {
    comboHistoryList->insertItem(0, folder);
    index = 0;
  }
  comboHistoryList->setCurrentIndex(index);
}

void TMainForm::comboHistoryListChoose(const QString& text) {
  if (!QFileInfo(text).isDir()) return;
  setCurrentFolder(text.toStdString());
  if (currentFolder() != listedFolder_) listFolder();
}

std::vector<std::string> TMainForm::history() const {
  std::vector<std::string> entries;
  for (int i = 0; i < comboHistoryList->count(); ++i) entries.push_back(comboHistoryList->itemText(i).toStdString());
  return entries;
}

void TMainForm::setFileListFont(const QString& family, int pointSize) {
  const QFont font(family, pointSize);
  FileList->setFont(font);
  TreeView->setFont(font);
}

void TMainForm::setPreviewPosition(bool left) {
  if (left) {
    LeftPanel->addWidget(BottomRightPanel);
    LeftPanel->setCollapsible(1, false);
  } else {
    MainPanel->addWidget(BottomRightPanel);
    MainPanel->setCollapsible(1, false);
  }
}

void TMainForm::showInfoPanel(bool show) {
  InfoPanel->setVisible(show);
  if (show) {
    const int total = BottomRightPanel->height();
    BottomRightPanel->setSizes({std::max(total - infoHeight_, 1), infoHeight_});
  }
}

}  // namespace vistrel::app
