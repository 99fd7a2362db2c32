#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/dates.h"

namespace vistrel::platform {

namespace fs = std::filesystem;

// The extension with its dot, lower-cased ASCII (".jpg"); "" when there is none.
std::string lowerExtension(const fs::path& file);

// Creates the folder and all missing parents. Throws Error.
void createFolders(const fs::path& folder);

// Renames within one file system and never over an existing file, also not
// over one that appears while the rename runs: false when `to` exists.
// Throws Error for any other failure (another file system among them).
bool renameNoReplace(const fs::path& from, const fs::path& to);
// "photo (2).jpg" for photo.jpg and 2: the name a file takes beside another
// of its name.
fs::path numberedName(const fs::path& file, int number);

enum class IfExists { Replace, Keep };
// Copies the file, keeping its times and permissions. The target appears
// complete or not at all, and with Keep never replaces a file, also not one
// that appears meanwhile. Returns false when the target existed and was kept.
// Throws Error.
bool copyFile(const fs::path& from, const fs::path& to, IfExists ifExists);
// Moves the file, keeping its times and permissions. Across file systems it
// copies, reads the copy back against the source and only then removes the
// source, so that a failure at any point leaves the file in at least one
// place. Returns false when the target existed and was kept. Throws Error.
bool moveFile(const fs::path& from, const fs::path& to, IfExists ifExists);
// Whether the two files hold the same bytes. Throws Error when one cannot be read.
bool sameContent(const fs::path& a, const fs::path& b);
// Moves the file or folder to the user's Trash. Throws Error.
void moveToTrash(const fs::path& path);

SystemTime lastWriteTime(const fs::path& file);
void setLastWriteTime(const fs::path& file, SystemTime time);
SystemTime lastAccessTime(const fs::path& file);
void setLastAccessTime(const fs::path& file, SystemTime time);

// Read-only is the owner's write bit; hidden is a name that starts with ".".
bool isReadOnly(const fs::path& path);
void setReadOnly(const fs::path& path, bool readOnly);
bool isHidden(const fs::path& path);

struct FolderEntry {
  fs::path path;
  bool isFolder = false;
  std::uint64_t size = 0;
  SystemTime lastWrite;
  bool hidden = false;
  bool readOnly = false;
};
// The entries of a folder (without "." and ".."), sorted by name. Entries that
// vanish while being read are left out. Throws Error when the folder cannot be read.
std::vector<FolderEntry> listFolder(const fs::path& folder);
// How many entries listFolder would look at, counted from their names alone; 0
// when the folder cannot be read.
std::size_t countFolderEntries(const fs::path& folder);

// The file's "file://" URI, percent-encoded.
std::string fileUri(const fs::path& file);

// A name read from a file or a setting, made one harmless name component:
// what follows its last "/" or "\", without control characters (C0, DEL and
// C1 in UTF-8). An empty result, "." and ".." give the fallback.
std::string safeNameComponent(std::string_view name, std::string_view fallback);
// The absolute, normal path with symbolic links followed as far as it exists.
fs::path resolvedPath(const fs::path& path);
// Whether `path` is `folder` or lies below it, compared as written (make both
// canonical first where links matter).
bool liesInside(const fs::path& path, const fs::path& folder);

std::string readFile(const fs::path& file);  // throws Error
// Writes the file beside its final name, syncs it (see Durability) and
// renames it into place.
void writeFileAtomically(const fs::path& file, std::string_view content,
                         Durability durability = Durability::Always);

}  // namespace vistrel::platform
