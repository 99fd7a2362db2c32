#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ftp/remote_listing.h"
#include "ftp/source_folder.h"
#include "ftp/upload_manifest.h"

namespace vistrel::ftp {

// The remote folders (below the upload's folder, "" for itself) and what
// they list; nothing for a folder that could not be listed.
using RemoteFolders = std::map<std::string, std::optional<std::vector<RemoteEntry>>>;

// What an upload does after looking at the server.
struct UploadPlan {
  std::vector<UploadFile> send;
  std::vector<std::string> remove;  // uploaded by us, gone locally, still on the server
  std::vector<std::string> forget;  // in the manifest, gone locally and from the server
};

// The folders whose listings the plan needs: those of the files and of the
// manifest's entries.
std::set<std::string> foldersToList(const std::vector<UploadFile>& files, const UploadManifest& manifest);

// With onlyChanged, a file is sent unless the manifest knows it with the same
// content and the server still lists it with the recorded size; otherwise
// every file is sent. With removeDeleted, the manifest's files that the local
// folder no longer has are removed: nothing else on the server is touched.
UploadPlan planUpload(const std::vector<UploadFile>& files, const UploadManifest& manifest,
                      const RemoteFolders& remote, bool onlyChanged, bool removeDeleted);

}  // namespace vistrel::ftp
