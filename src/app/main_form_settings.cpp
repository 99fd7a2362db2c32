#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QComboBox>
#include <QHeaderView>
#include <QSplitter>
#include <QTreeView>
#include <QTreeWidget>

#include "app/main_form.h"
#include "app/window_placement.h"
#include "metadata/ui/info_form.h"
#include "platform/log.h"

// The main window's settings: taking them from the window, putting them on it,
// and keeping them when the window closes.

namespace vistrel::app {

MainSettings TMainForm::currentSettings() const {
  MainSettings s;
  s.sortCol = FileList->sortColumn();
  s.showProperties = cbShowProperties->isChecked();
  s.includeAllFiles = cbInclNonImages->isChecked();
  s.gridlines = cbGridLines->isChecked();
  s.fontName = FileList->font().family().toStdString();
  s.programFontSize = FileList->font().pointSize();
  s.activeFolder = currentFolder();
  s.fileListHeight = FileList->height();
  for (int column = 0; column < kColumnCount; ++column) s.colWidths[column] = FileList->storedColumnWidth(column);
  s.viewStyle = viewStyle_;
  s.previewThumbSize = thumbSize_;
  s.viewPos = cbViewPos->isChecked();
  s.imageBoxH = BottomRightPanel->height();
  s.explorerWidth = LeftPanel->width();
  // The frame's position, the client's size: what move() and resize() take back.
  const QPoint frameOffset = geometry().topLeft() - pos();
  const QRect bounds = isMaximized() ? normalGeometry().translated(-frameOffset) : QRect(pos(), size());
  s.topPos = bounds.top();
  s.leftPos = bounds.left();
  s.width = bounds.width();
  s.height = bounds.height();
  s.maximized = isMaximized();
  s.inclIptc = cbIncludeIPTC->isChecked();
  s.showIptcColumn = cbShowIptcCaption->isChecked();
  s.infoHeight = InfoPanel->isVisible() ? InfoPanel->height() : infoHeight_;
  s.activeInfoTab = InfoForm->activeTab().toStdString();
  const QHeaderView* header = FileList->header();
  for (int visual = 0; visual < kColumnCount; ++visual) s.columnOrder[visual] = header->logicalIndex(visual);
  return s;
}

void TMainForm::applySettings(const MainSettings& s) {
  FileList->setSortColumn(s.sortCol);
  cbShowProperties->setChecked(s.showProperties);
  cbInclNonImages->setChecked(s.includeAllFiles);
  cbGridLines->setChecked(s.gridlines);
  setFileListFont(QString::fromStdString(s.fontName), s.programFontSize);
  if (!s.activeFolder.empty()) setCurrentFolder(s.activeFolder);
  for (int column = 0; column < kColumnCount; ++column) FileList->setColumnWidth(column, s.colWidths[column]);
  setViewStyle(s.viewStyle);
  thumbSize_ = s.previewThumbSize;
  cbViewPos->setChecked(s.viewPos);
  setPreviewPosition(s.viewPos);
  infoHeight_ = s.infoHeight;
  InfoForm->setActiveTab(QString::fromStdString(s.activeInfoTab));
  QList<QRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
  const QRect placed = placeOnScreens(QRect(s.leftPos, s.topPos, s.width, s.height), screens);
  move(placed.topLeft());
  resize(placed.size());
  if (s.maximized) setWindowState(windowState() | Qt::WindowMaximized);
  cbIncludeIPTC->setChecked(s.inclIptc);
  cbShowIptcCaption->setChecked(s.showIptcColumn);
  // The splitters share out what the window has: lay it out at its size first.
  layout()->activate();
  Splitter2->setSizes({s.explorerWidth, std::max(placed.width() - s.explorerWidth, 1)});
  if (s.viewPos) {
    LeftPanel->setSizes({std::max(placed.height() - s.imageBoxH, 1), s.imageBoxH});
  } else {
    MainPanel->setSizes({s.fileListHeight, s.imageBoxH});
  }
  showInfoPanel(s.inclIptc);
  applyColumnOrder(s.columnOrder);
}

void TMainForm::applyColumnOrder(const std::array<int, kColumnCount>& order) {
  QHeaderView* header = FileList->header();
  for (int visual = 0; visual < kColumnCount; ++visual) header->moveSection(header->visualIndex(order[visual]), visual);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  stopThumbs_ = true;
  saveSettings();
  event->accept();
}

void TMainForm::saveSettings() {
  try {
    writeMainSettings(store_, currentSettings());
  } catch (const Error& e) {
    log::error(std::string("Cannot keep the window settings: ") + e.what());
  }
  // The history is written whatever became of the settings above.
  try {
    writeHistory(store_, history());
    store_.flush();
  } catch (const Error& e) {
    log::error(std::string("Cannot keep the folder history: ") + e.what());
  }
}

}  // namespace vistrel::app
