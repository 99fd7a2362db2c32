#include "tools/transfer/transfer_settings.h"

#include "platform/program_data.h"
#include "tools/rename/series_names.h"

namespace vistrel::transfer {
namespace {

std::string keyPath() { return std::string(platform::kProgramKey) + "\\ImageTransfer"; }

}  // namespace

TransferSettings readTransferSettings(platform::SettingsStore& store) {
  TransferSettings settings;
  settings.destPath = platform::picturesFolder().string();
  const auto key = store.openKey(keyPath(), false);
  if (!key) return settings;
  try {
    settings.sourcePath = key->readString("SourcePath");
    settings.destPath = key->readString("DestPath");
    settings.openFolder = key->readBool("OpenFolder");
    settings.createNewFolder = key->readBool("CreateNewFolder");
    settings.dateFormat = key->readString("DateFormat");
    settings.move = !key->readBool("Copy") && key->readBool("Move");
    settings.readOnly = key->readBool("ReadOnly");
  } catch (const platform::SettingsError&) {
    // Keep the defaults from the first missing value on.
  }
  return settings;
}

void writeTransferSettings(platform::SettingsStore& store, const TransferSettings& settings) {
  auto key = store.openKey(keyPath(), true);
  key->writeString("SourcePath", settings.sourcePath);
  key->writeString("DestPath", settings.destPath);
  key->writeBool("OpenFolder", settings.openFolder);
  key->writeBool("CreateNewFolder", settings.createNewFolder);
  key->writeString("DateFormat", settings.dateFormat);
  key->writeBool("Copy", !settings.move);
  key->writeBool("Move", settings.move);
  key->writeBool("ReadOnly", settings.readOnly);
  store.flush();
}

std::filesystem::path finalDestination(const TransferSettings& settings, const platform::DateTime& today) {
  const std::filesystem::path destination(settings.destPath);
  if (!settings.createNewFolder) return destination;
  std::string name = platform::formatDateTime(today, settings.dateFormat);
  for (char& c : name) {
    if (rename::kRefusedCharacters.find(c) != std::string_view::npos) c = '_';
  }
  // A format of full stops alone must not name the parent folder.
  if (name == "." || name == "..") name.assign(name.size(), '_');
  return destination / name;
}

}  // namespace vistrel::transfer
