#pragma once

#include <filesystem>
#include <string>

#include "platform/dates.h"
#include "platform/settings_store.h"

namespace vistrel::transfer {

// The choices of a transfer from a camera or a memory card. All but the last
// two are kept under "ImageTransfer" in the program key.
struct TransferSettings {
  std::string sourcePath;                  // "SourcePath"
  std::string destPath;                    // "DestPath"
  bool openFolder = false;                 // "OpenFolder": browse the destination when done
  bool createNewFolder = false;            // "CreateNewFolder": into a subfolder named by today's date
  std::string dateFormat = "mmm_dd_yyyy";  // "DateFormat", that subfolder's name
  bool move = false;                       // "Move" (and "Copy", its opposite)
  bool readOnly = false;                   // "ReadOnly": mark the destination's files read-only
  bool replace = false;                    // replace files of the same name (after a question), else rename
  bool renameTransferred = false;          // start a rename series on the destination
};

inline constexpr const char* kSubfolderFormatChoices[] = {"mmm_dd_yyyy", "mm_dd_yyyy", "dd_mm_yyyy", "dddd-d-mmm"};

// Without stored values the destination is the user's pictures folder.
TransferSettings readTransferSettings(platform::SettingsStore& store);
void writeTransferSettings(platform::SettingsStore& store, const TransferSettings& settings);

// Where the files go: the destination, or with createNewFolder its subfolder
// named by the day in the date format, with the characters a Windows name
// cannot hold made "_" (so that a card or a shared disk takes the name too).
std::filesystem::path finalDestination(const TransferSettings& settings, const platform::DateTime& today);

}  // namespace vistrel::transfer
