#include "ftp/ui/ftp_form.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "ftp/source_folder.h"
#include "ftp/ui/add_form.h"
#include "ftp/ui/password_form.h"
#include "platform/error.h"
#include "platform/settings_store.h"
#include "platform/ui/help.h"

namespace vistrel::ftp::ui {
namespace {

constexpr int kHelpContext = 300;

QCheckBox* checkBox(QWidget* parent, const char* name, const char* text) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  return box;
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  return b;
}

QAction* action(QWidget* parent, const char* name, const char* text) {
  auto* a = new QAction(text, parent);
  a->setObjectName(name);
  return a;
}

QString qt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TFtpForm::TFtpForm(QWidget* parent, platform::Prompter* prompter)
    : QDialog(parent),
      ownPrompter_(prompter ? nullptr : std::make_unique<platform::ui::MessageBoxPrompter>(this)),
      prompter_(prompter ? *prompter : *ownPrompter_),
      workerPrompter_(prompter_, this) {
  setObjectName("TFtpForm");
  setWindowTitle("FTP Upload");

  auto* tabs = new QTabWidget(this);
  tabs->addTab(buildServerTab(), "Server");
  tabs->addTab(buildOptionsTab(), "Options");

  btnUpload = button(this, "btnUpload", "&Upload");
  btnClose = button(this, "btnClose", "Close");
  btnHelp = button(this, "btnHelp", "Help");
  btnClearLog = button(this, "btnClearLog", "Clear log");
  connect(btnUpload, &QPushButton::clicked, this, &TFtpForm::btnUploadClick);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnHelp, &QPushButton::clicked, this, [this] { emit helpRequested(kHelpContext); });
  connect(btnClearLog, &QPushButton::clicked, MemoLog, &QPlainTextEdit::clear);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {btnUpload, btnClose, btnHelp}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(btnClearLog);

  auto* status = new QStatusBar(this);
  StatusPanel0 = new QLabel(status);
  StatusPanel0->setFixedWidth(200);
  StatusPanel1 = new QLabel(status);
  StatusPanel1->setMinimumWidth(50);
  status->addWidget(StatusPanel0);
  status->addWidget(StatusPanel1, 1);
  status->setSizeGripEnabled(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs);
  layout->addLayout(buttons);
  layout->addWidget(status);

  try {
    sites_.ensureExists();
  } catch (const Error& e) {
    log(qt(e.what()));
  }
  readSettings();
  FtpSourceChange();
}

void showFtpUpload(QWidget* parent, const QString& folder) {
  TFtpForm form(parent);
  form.setSource(folder);
  QObject::connect(&form, &TFtpForm::helpRequested, &platform::ui::showHelp);
  form.exec();
}

TFtpForm::~TFtpForm() {
  stopUpload();
  platform::ui::joinWhileServing(worker_, workerDone_);
}

QWidget* TFtpForm::buildServerTab() {
  auto* page = new QWidget(this);
  auto* source = new QGroupBox("Source folder", page);
  FtpSource = new QLineEdit(source);
  FtpSource->setObjectName("FtpSource");
  btnBrowse = button(source, "btnBrowse", "...");
  noFilesLabel = new QLabel(source);
  noFilesLabel->setObjectName("noFilesLabel");
  FileSizeLabel = new QLabel(source);
  FileSizeLabel->setObjectName("FileSizeLabel");
  connect(FtpSource, &QLineEdit::textChanged, this, &TFtpForm::FtpSourceChange);
  connect(btnBrowse, &QPushButton::clicked, this, &TFtpForm::btnBrowseClick);
  auto* sourceRow = new QHBoxLayout;
  sourceRow->addWidget(FtpSource);
  sourceRow->addWidget(btnBrowse);
  auto* labels = new QHBoxLayout;
  labels->addWidget(noFilesLabel);
  labels->addStretch();
  labels->addWidget(FileSizeLabel);
  auto* sourceLayout = new QVBoxLayout(source);
  sourceLayout->addLayout(sourceRow);
  sourceLayout->addLayout(labels);

  auto* tools = new QToolBar(page);
  btnAddServer = action(this, "btnAddServer", "Add server");
  btnEditServer = action(this, "btnEditServer", "Edit server");
  btnDeleteServer = action(this, "btnDeleteServer", "Delete server");
  btnRefresh = action(this, "btnRefresh", "Refresh server list");
  for (QAction* a : {btnAddServer, btnEditServer, btnDeleteServer, btnRefresh}) tools->addAction(a);
  connect(btnAddServer, &QAction::triggered, this, &TFtpForm::btnAddServerClick);
  connect(btnEditServer, &QAction::triggered, this, &TFtpForm::btnEditServerClick);
  connect(btnDeleteServer, &QAction::triggered, this, &TFtpForm::btnDeleteServerClick);
  connect(btnRefresh, &QAction::triggered, this, &TFtpForm::btnRefreshClick);

  buildSiteList();

  MemoLog = new QPlainTextEdit(page);
  MemoLog->setObjectName("MemoLog");
  MemoLog->setReadOnly(true);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(source);
  layout->addWidget(tools);
  layout->addWidget(views_, 1);
  layout->addWidget(MemoLog);
  return page;
}

void TFtpForm::buildSiteList() {
  model_ = new QStandardItemModel(0, 6, this);
  model_->setHorizontalHeaderLabels({"Server", "Address", "User", "pwd", "Port", "Directory"});
  ListView = new QTreeView(this);
  ListView->setObjectName("ListView");
  ListView->setModel(model_);
  ListView->setRootIsDecorated(false);
  ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView->setSelectionMode(QAbstractItemView::SingleSelection);
  IconView = new QListView(this);
  IconView->setObjectName("IconView");
  IconView->setModel(model_);
  IconView->setSelectionModel(ListView->selectionModel());
  IconView->setViewMode(QListView::IconMode);
  IconView->setIconSize(QSize(32, 32));
  IconView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  IconView->setResizeMode(QListView::Adjust);
  views_ = new QStackedWidget(this);
  views_->addWidget(ListView);
  views_->addWidget(IconView);

  // The list's context menu, with its own shortcuts.
  const std::pair<const char*, QKeySequence> menu[] = {{"Add server", QKeySequence("Ctrl+N")},
                                                       {"Edit", QKeySequence("Ctrl+O")},
                                                       {"Delete", QKeySequence(Qt::Key_Delete)},
                                                       {"Refresh", QKeySequence(Qt::Key_F5)}};
  const std::function<void()> handlers[] = {[this] { btnAddServerClick(); }, [this] { btnEditServerClick(); },
                                            [this] { btnDeleteServerClick(); }, [this] { btnRefreshClick(); }};
  for (std::size_t i = 0; i < std::size(menu); ++i) {
    auto* a = new QAction(menu[i].first, this);
    a->setShortcut(menu[i].second);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(a, &QAction::triggered, this, handlers[i]);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(ListView), static_cast<QAbstractItemView*>(IconView)}) {
      view->addAction(a);
    }
  }
  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(ListView), static_cast<QAbstractItemView*>(IconView)}) {
    view->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(view, &QAbstractItemView::doubleClicked, this, &TFtpForm::btnEditServerClick);
  }
}

QWidget* TFtpForm::buildOptionsTab() {
  auto* page = new QWidget(this);
  TimeoutSpin = new QSpinBox(page);
  TimeoutSpin->setObjectName("TimeoutSpin");
  TimeoutSpin->setRange(1, 60);
  cbUseProxy = checkBox(page, "cbUseProxy", "Use a proxy server");
  ProxyEdit = new QLineEdit(page);
  ProxyEdit->setObjectName("ProxyEdit");
  ProxyPort = new QSpinBox(page);
  ProxyPort->setObjectName("ProxyPort");
  ProxyPort->setRange(0, 65535);
  cbLargeIcons = checkBox(page, "cbLargeIcons", "Show large icons");
  cbAutoClose = checkBox(page, "cbAutoClose", "Close FTP dialog when finished");
  cbPassive = checkBox(page, "cbPassive", "Passive mode");
  cbPromptOverwrite = checkBox(page, "cbPromptOverwrite", "Show warning if remote directory exists");
  cbOnlyChanged = checkBox(page, "cbOnlyChanged", "Upload only new and changed files");
  cbRemoveDeleted = checkBox(page, "cbRemoveDeleted", "Remove files deleted locally");
  connect(cbUseProxy, &QCheckBox::toggled, this, &TFtpForm::cbUseProxyClick);
  connect(cbLargeIcons, &QCheckBox::toggled, this, &TFtpForm::cbLargeIconsClick);

  auto* layout = new QFormLayout(page);
  layout->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  ProxyEdit->setMinimumWidth(240);
  layout->addRow("Timeout:", TimeoutSpin);
  layout->addRow(cbUseProxy);
  layout->addRow("Address:", ProxyEdit);
  layout->addRow("Port:", ProxyPort);
  layout->addRow(cbLargeIcons);
  layout->addRow(cbAutoClose);
  layout->addRow(cbPassive);
  layout->addRow(cbPromptOverwrite);
  layout->addRow(cbOnlyChanged);
  layout->addRow(cbRemoveDeleted);
  return page;
}

void TFtpForm::readSettings() {
  platform::SettingsStore store;
  const FtpOptions o = readFtpOptions(store);
  TimeoutSpin->setValue(o.timeoutSeconds);
  cbUseProxy->setChecked(o.useProxy);
  ProxyEdit->setText(qt(o.proxy));
  ProxyPort->setValue(o.proxyPort);
  logHeight_ = o.logHeight;
  MemoLog->setFixedHeight(logHeight_);
  cbLargeIcons->setChecked(o.largeIcons);
  cbAutoClose->setChecked(o.autoClose);
  cbPassive->setChecked(o.passiveMode);
  cbPromptOverwrite->setChecked(o.promptOverwrite);
  cbOnlyChanged->setChecked(o.onlyChanged);
  cbRemoveDeleted->setChecked(o.removeDeleted);
  cbUseProxyClick();
  cbLargeIconsClick();
}

FtpOptions TFtpForm::options() const {
  FtpOptions o;
  o.timeoutSeconds = TimeoutSpin->value();
  o.useProxy = cbUseProxy->isChecked();
  o.proxy = ProxyEdit->text().toStdString();
  o.proxyPort = ProxyPort->value();
  o.logHeight = logHeight_;
  o.largeIcons = cbLargeIcons->isChecked();
  o.autoClose = cbAutoClose->isChecked();
  o.passiveMode = cbPassive->isChecked();
  o.promptOverwrite = cbPromptOverwrite->isChecked();
  o.onlyChanged = cbOnlyChanged->isChecked();
  o.removeDeleted = cbRemoveDeleted->isChecked();
  return o;
}

void TFtpForm::writeSettings() {
  try {
    platform::SettingsStore store;
    writeFtpOptions(store, options());
  } catch (const Error& e) {
    prompter_.error(e.what(), "Error");
  }
}

void TFtpForm::setSource(const QString& folder) { FtpSource->setText(folder); }

void TFtpForm::FtpSourceChange() {
  const SourceSummary summary = summarizeSource(FtpSource->text().toStdString());
  sourceValid_ = summary.valid;
  noFilesLabel->setText(qt(summary.filesText));
  FileSizeLabel->setText(qt(summary.sizeText));
  updateUploadButton();
}

void TFtpForm::updateUploadButton() { btnUpload->setEnabled(sourceValid_ && !uploading()); }

void TFtpForm::btnBrowseClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, "Source folder", FtpSource->text());
  if (!folder.isEmpty()) FtpSource->setText(folder);
}

void TFtpForm::showEvent(QShowEvent* event) {
  btnRefreshClick();
  QDialog::showEvent(event);
}

void TFtpForm::btnRefreshClick() {
  try {
    sites_.load();
  } catch (const Error& e) {
    prompter_.error(e.what(), "Error");
  }
  shown_ = sites_.shownSites();
  model_->removeRows(0, model_->rowCount());
  const QIcon icon = style()->standardIcon(QStyle::SP_DriveNetIcon);
  for (const Site& site : shown_) {
    QList<QStandardItem*> row;
    for (const std::string* field : {&site.description, &site.address, &site.user}) row.append(new QStandardItem(qt(*field)));
    row.append(new QStandardItem(site.passwordField.empty() ? "" : "***"));
    row.append(new QStandardItem(qt(site.port)));
    row.append(new QStandardItem(qt(site.directory)));
    row.front()->setIcon(icon);
    model_->appendRow(row);
  }
}

const Site* TFtpForm::selectedSite() const {
  const auto rows = ListView->selectionModel()->selectedRows();
  if (rows.isEmpty() || rows.front().row() >= static_cast<int>(shown_.size())) return nullptr;
  return &shown_[static_cast<std::size_t>(rows.front().row())];
}

const Site* TFtpForm::selectedSiteOrComplain() {
  const Site* site = selectedSite();
  if (!site) prompter_.error("Select an entry and try again..", "No entry selected");
  return site;
}

void TFtpForm::btnAddServerClick() {
  TAddForm form(sites_, prompter_, this);
  form.prepareAdd();
  form.exec();
  btnRefreshClick();
}

void TFtpForm::btnEditServerClick() {
  const Site* site = selectedSiteOrComplain();
  if (!site) return;
  TAddForm form(sites_, prompter_, this);
  form.prepareEdit(*site);
  form.exec();
  btnRefreshClick();
}

void TFtpForm::btnDeleteServerClick() {
  const Site* site = selectedSiteOrComplain();
  if (!site) return;
  try {
    sites_.load();
    deleteSite(sites_, *site);
  } catch (const Error& e) {
    prompter_.error(e.what(), "Error");
  }
  btnRefreshClick();
}

void TFtpForm::cbLargeIconsClick() { views_->setCurrentIndex(cbLargeIcons->isChecked() ? 1 : 0); }

void TFtpForm::cbUseProxyClick() {
  ProxyEdit->setEnabled(cbUseProxy->isChecked());
  ProxyPort->setEnabled(cbUseProxy->isChecked());
}

void TFtpForm::log(const QString& line) { MemoLog->appendPlainText(line); }

void TFtpForm::btnUploadClick() {
  const Site* selected = selectedSite();
  if (!selected) {
    prompter_.error("You must select a server before you can upload files..", "No server selected");
    return;
  }
  if (uploading()) return;
  const Site site = *selected;
  const FtpOptions settings = options();
  const std::filesystem::path source = FtpSource->text().toStdString();

  UploadEvents events;
  events.log = [this](const std::string& line) {
    QMetaObject::invokeMethod(this, [this, text = qt(line)] { log(text); }, Qt::QueuedConnection);
  };
  events.status = [this](int panel, const std::string& text) {
    QMetaObject::invokeMethod(
        this, [this, panel, text = qt(text)] { (panel == 0 ? StatusPanel0 : StatusPanel1)->setText(text); },
        Qt::QueuedConnection);
  };
  if (ownPrompter_) {
    events.askPassword = [this] {
      std::optional<std::string> reply;
      platform::ui::runOnThreadOf(this, [&] { reply = TPasswordForm::askPassword(this); });
      return reply;
    };
  }
  uploader_ = std::make_unique<Uploader>(workerPrompter_, std::move(events));
  updateUploadButton();
  if (worker_.joinable()) worker_.join();
  workerDone_ = false;
  worker_ = std::thread([this, uploader = uploader_.get(), site, source, settings] {
    UploadResult result = UploadResult::ConnectionFailed;
    std::string error;
    try {
      result = uploader->run(site, source, settings);
    } catch (const std::exception& e) {
      error = e.what();
    }
    QMetaObject::invokeMethod(this, [this, result, error] { uploadEnded(result, error); }, Qt::QueuedConnection);
    workerDone_ = true;
  });
}

void TFtpForm::uploadEnded(UploadResult result, const std::string& error) {
  if (worker_.joinable()) worker_.join();
  uploader_.reset();
  updateUploadButton();
  if (!error.empty()) prompter_.error(error, "Error");
  emit uploadFinished(result);
  if (result == UploadResult::Done && cbAutoClose->isChecked() && isVisible()) accept();
}

void TFtpForm::stopUpload() {
  if (uploader_) uploader_->stop();
}

void TFtpForm::done(int result) {
  stopUpload();
  writeSettings();
  QDialog::done(result);
}

}  // namespace vistrel::ftp::ui
