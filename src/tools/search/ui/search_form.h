#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <memory>

#include "tools/search/my_ff.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QPushButton;
class QSpinBox;
class QStatusBar;
class QTimer;
class QToolButton;

namespace vistrel::browser::ui {
class TFileList;
}

namespace vistrel::search::ui {

class SearchRun;

// "Find files": searches a folder tree by name masks, size, modification
// date, attributes and contained text, and puts the hits into the main file
// list. The search runs on a worker thread; Esc or Cancel stops it at once,
// and Esc or Close with no search running closes the window. The window is
// made once and keeps its histories while the program runs.
class TSearchForm : public QDialog {
  Q_OBJECT

 public:
  explicit TSearchForm(browser::ui::TFileList& list, QWidget* parent = nullptr);
  ~TSearchForm() override;

  // The criteria as the controls set them.
  FileCriteria criteria() const;
  bool searching() const { return run_ != nullptr; }

  QComboBox *SearchText, *StartDir, *ContainingTextEdit, *SizeComboBox;
  QToolButton* SpeedButton1;
  QCheckBox *cbSubfolders, *cbModifiedBetween, *cbHidden, *cbReadOnly, *cbSystem;
  QSpinBox* FileSizeSpin;
  QDateEdit *DatePicker1, *DatePicker2;
  QPushButton *btnFind, *btnAppend, *btnCancel;
  QStatusBar* StatusBar;

 signals:
  // "Find now" emptied the file list for the hits.
  void listReplaced();
  // The search ended and the list holds its hits.
  void searchFinished();

 public slots:
  void reject() override;

 private:
  QWidget* createCriteria();
  void startSearch(bool append);
  void takeProgress();
  void finishSearch();
  void SpeedButton1Click();

  browser::ui::TFileList& list_;
  std::unique_ptr<SearchRun> run_;
  QTimer* poll_;
  QElapsedTimer elapsed_;
};

}  // namespace vistrel::search::ui
