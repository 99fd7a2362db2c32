#include <QAction>
#include <algorithm>

#include "app/main_form.h"
#include "browser/cache_location.h"
#include "browser/ui/file_list_popup.h"
#include "platform/ui/file_progress.h"
#include "tools/rename/ui/rename_form.h"
#include "tools/targets/target_operation.h"
#include "tools/targets/ui/target_folder_form.h"
#include "tools/transfer/image_transfer.h"
#include "tools/transfer/ui/import_form.h"

// The commands that rename, transfer, copy, move and delete the user's files.

namespace vistrel::app {
namespace fs = std::filesystem;
using targets::TargetOperation;

namespace {

const char* captionOf(TargetOperation operation) {
  switch (operation) {
    case TargetOperation::Copy: return "Copy";
    case TargetOperation::Move: return "Move";
    case TargetOperation::Delete:
    case TargetOperation::DeleteSilent: break;
  }
  return "Delete";
}

}  // namespace

void TMainForm::createOrganiseCommands() {
  connect(Renameseries1, &QAction::triggered, this, &TMainForm::Renameseries1Click);
  connect(ImportFromCamera, &QAction::triggered, this, &TMainForm::ImportFromCameraClick);
  connect(FileListPopup->Copy1, &QAction::triggered, this, [this] { runFileOperation(TargetOperation::Copy); });
  connect(FileListPopup->Move1, &QAction::triggered, this, [this] { runFileOperation(TargetOperation::Move); });
  connect(FileList, &TFileList::deleteRequested, this, &TMainForm::deleteFiles);
}

transfer::ui::TImportForm& TMainForm::importForm() {
  if (!ImportForm) ImportForm = new transfer::ui::TImportForm(this, prompter_, store_);
  return *ImportForm;
}

targets::ui::TTargetFolderForm& TMainForm::targetFolderForm() {
  if (!TargetFolderForm) TargetFolderForm = new targets::ui::TTargetFolderForm(this, prompter_, store_);
  return *TargetFolderForm;
}

void TMainForm::Renameseries1Click() {
  if (!needsSelection("You must select at least\r\none file in the file list.", "No files selected",
                      platform::Icon::Error)) {
    return;
  }
  browser::CacheLocation cache(options_.cacheFolder);
  rename::ui::TRenameForm form(this, prompter_, store_, &cache);
  form.Files = selectedFiles();
  form.FileRenamed = [this](const fs::path& from, const fs::path& to) { FileList->renameRow(from, to); };
  form.exec();
}

void TMainForm::ImportFromCameraClick() {
  if (importForm().exec() != QDialog::Accepted) return;
  const transfer::TransferSettings settings = importForm().settings();
  std::optional<transfer::TransferResult> result;
  {
    platform::ui::FileProgress progress(this, "Transfer images", settings.move ? "Moving" : "Copying");
    result = transfer::transferImages(settings, platform::localNow(), prompter_, progress.events());
  }
  if (!result) return;
  platform::ui::showFailures(prompter_, result->files.failed, "Transfer images");
  // Renaming works on the list, so the transferred files are shown for it too.
  if (!settings.openFolder && !settings.renameTransferred) return;
  setCurrentFolder(result->destination.string());
  listFolder();
  if (!settings.renameTransferred || result->files.done.empty()) return;
  std::vector<fs::path> transferred;
  for (const auto& pair : result->files.done) transferred.push_back(pair.second);
  FileList->selectFiles(transferred);
  Renameseries1Click();
}

void TMainForm::runFileOperation(TargetOperation operation) {
  std::vector<fs::path> files = selectedFiles();
  if (files.empty()) return;
  std::reverse(files.begin(), files.end());  // from the last row to the first, as always
  const bool move = operation == TargetOperation::Move;
  std::optional<platform::FileBatchResult> result;
  if (operation == TargetOperation::DeleteSilent) {
    result = targets::deleteToTrash(files, false, prompter_, {});
  } else if (operation == TargetOperation::Delete) {
    platform::ui::FileProgress progress(this, captionOf(operation), "Deleting");
    result = targets::deleteToTrash(files, options_.confirmDelete, prompter_, progress.events());
  } else {
    const auto folder = targetFolderForm().chooseDestination(captionOf(operation));
    if (!folder) return;
    platform::ui::FileProgress progress(this, captionOf(operation), move ? "Moving" : "Copying");
    result = targets::copyOrMoveTo(files, *folder, move, targetFolderForm().renameOnCollision(), prompter_,
                                   progress.events());
  }
  if (!result) return;
  if (operation != TargetOperation::Copy) FileList->dropMissingRows();
  if (operation != TargetOperation::DeleteSilent)
    platform::ui::showFailures(prompter_, result->failed, captionOf(operation));
}

void TMainForm::deleteFiles(int row) {
  runFileOperation(TargetOperation::Delete);
  FileList->selectRowAt(row);
}

}  // namespace vistrel::app
