#include "ftp/upload_plan.h"

#include <algorithm>

namespace vistrel::ftp {
namespace {

std::pair<std::string, std::string> folderAndName(const std::string& remote) {
  const auto slash = remote.rfind('/');
  if (slash == std::string::npos) return {"", remote};
  return {remote.substr(0, slash), remote.substr(slash + 1)};
}

// The remote file, when the folder's listing has it; an unknown size passes.
bool listedWithSize(const RemoteFolders& remote, const std::string& name, std::uint64_t size) {
  // Not a structured binding: clang before 16 cannot capture one in the lambda below.
  const auto split = folderAndName(name);
  const std::string& leaf = split.second;
  const auto listing = remote.find(split.first);
  if (listing == remote.end() || !listing->second) return false;
  return std::any_of(listing->second->begin(), listing->second->end(), [&](const RemoteEntry& entry) {
    return !entry.folder && entry.name == leaf && (!entry.size || *entry.size == size);
  });
}

bool isUpToDate(const UploadFile& file, const UploadManifest& manifest, const RemoteFolders& remote) {
  const auto recorded = manifest.files().find(file.remote);
  return recorded != manifest.files().end() && listedWithSize(remote, file.remote, recorded->second.size) &&
         sameContent(recorded->second, file.local);
}

}  // namespace

std::set<std::string> foldersToList(const std::vector<UploadFile>& files, const UploadManifest& manifest) {
  std::set<std::string> folders;
  for (const UploadFile& file : files) folders.insert(folderAndName(file.remote).first);
  for (const auto& [name, state] : manifest.files()) folders.insert(folderAndName(name).first);
  return folders;
}

UploadPlan planUpload(const std::vector<UploadFile>& files, const UploadManifest& manifest,
                      const RemoteFolders& remote, bool onlyChanged, bool removeDeleted) {
  UploadPlan plan;
  std::set<std::string> local;
  for (const UploadFile& file : files) {
    local.insert(file.remote);
    if (!onlyChanged || !isUpToDate(file, manifest, remote)) plan.send.push_back(file);
  }
  if (!removeDeleted) return plan;
  for (const auto& [name, state] : manifest.files()) {
    if (local.contains(name)) continue;
    (listedWithSize(remote, name, state.size) ? plan.remove : plan.forget).push_back(name);
  }
  return plan;
}

}  // namespace vistrel::ftp
