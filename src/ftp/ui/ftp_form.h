#pragma once

#include <QDialog>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ftp/ftp_options.h"
#include "ftp/site_list.h"
#include "ftp/uploader.h"
#include "platform/ui/message_box_prompter.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QStandardItemModel;
class QTreeView;

namespace vistrel::ftp::ui {

// The upload dialog: a source folder, the site list and its editor, the log.
// The transfer runs on a worker thread, so the dialog stays live and "Close"
// can stop it; questions of the transfer come back to this thread.
class TFtpForm : public QDialog {
  Q_OBJECT

 public:
  // Without a prompter, questions are message boxes over the dialog.
  explicit TFtpForm(QWidget* parent = nullptr, platform::Prompter* prompter = nullptr);
  ~TFtpForm() override;

  void setSource(const QString& folder);
  bool uploading() const { return uploader_ != nullptr; }

  QLineEdit* FtpSource;
  QPushButton* btnBrowse;
  QLabel* noFilesLabel;
  QLabel* FileSizeLabel;
  QAction* btnAddServer;
  QAction* btnEditServer;
  QAction* btnDeleteServer;
  QAction* btnRefresh;
  QTreeView* ListView;
  QListView* IconView;
  QPlainTextEdit* MemoLog;
  QSpinBox* TimeoutSpin;
  QCheckBox* cbUseProxy;
  QLineEdit* ProxyEdit;
  QSpinBox* ProxyPort;
  QCheckBox* cbLargeIcons;
  QCheckBox* cbAutoClose;
  QCheckBox* cbPassive;
  QCheckBox* cbPromptOverwrite;
  QCheckBox* cbOnlyChanged;
  QCheckBox* cbRemoveDeleted;
  QPushButton* btnUpload;
  QPushButton* btnClose;
  QPushButton* btnHelp;
  QPushButton* btnClearLog;
  QLabel* StatusPanel0;
  QLabel* StatusPanel1;

 signals:
  void helpRequested(int context);
  // After each upload, when the dialog is idle again.
  void uploadFinished(vistrel::ftp::UploadResult result);

 public slots:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* buildServerTab();
  QWidget* buildOptionsTab();
  void buildSiteList();
  void readSettings();
  void writeSettings();
  FtpOptions options() const;
  const Site* selectedSite() const;
  // Says "Select an entry and try again.." when no site is selected.
  const Site* selectedSiteOrComplain();
  void log(const QString& line);
  void updateUploadButton();

  void FtpSourceChange();
  void btnBrowseClick();
  void btnRefreshClick();
  void btnAddServerClick();
  void btnEditServerClick();
  void btnDeleteServerClick();
  void btnUploadClick();
  void cbLargeIconsClick();
  void cbUseProxyClick();
  void uploadEnded(UploadResult result, const std::string& error);
  void stopUpload();

  std::unique_ptr<platform::Prompter> ownPrompter_;
  platform::Prompter& prompter_;
  platform::ui::GuiThreadPrompter workerPrompter_;
  SiteList sites_;
  std::vector<Site> shown_;
  QStandardItemModel* model_;
  QStackedWidget* views_;
  int logHeight_ = 59;
  bool sourceValid_ = false;
  std::unique_ptr<Uploader> uploader_;
  std::thread worker_;
  std::atomic<bool> workerDone_{true};
};

// Opens the upload window modally for the folder, with its Help button working.
void showFtpUpload(QWidget* parent, const QString& folder);

}  // namespace vistrel::ftp::ui
