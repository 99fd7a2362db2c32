#pragma once

#include <QWidget>

#include "metadata/info_panel.h"

class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace vistrel::metadata::ui {

// The image info window docked in the main window's info panel: the IPTC
// caption, the EXIF overview (and listing) and the description of the file
// the browser shows, each with a button that copies it.
class TInfoForm : public QWidget {
  Q_OBJECT

 public:
  explicit TInfoForm(QWidget* parent = nullptr);

  void showTexts(const InfoPanelTexts& texts);
  void clearTexts();
  QString activeTab() const;
  // Makes the tab with this caption active; other captions change nothing.
  void setActiveTab(const QString& caption);

  QTabWidget* PageControl;
  QPlainTextEdit *IptcMemo, *ExifMemo, *DescMemo;
  QPushButton *btnEditIptc, *btnCopyIptc, *btnCopyExif, *btnCopyDesc;

 signals:
  void editIptcRequested();

 private:
  QWidget* page(QPlainTextEdit* memo, std::initializer_list<QPushButton*> buttons);
  void showExif(const std::string& text);
};

}  // namespace vistrel::metadata::ui
