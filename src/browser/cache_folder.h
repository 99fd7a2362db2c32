#pragma once

#include <filesystem>
#include <string>

namespace vistrel::browser {

// The thumbnail cache deletes and replaces files only in a folder it can show
// to be its own: one that carries our marker, written when the cache created
// the folder or found it empty. A folder the user pointed the cache at by
// mistake keeps every file it holds.

// The marker: a cache directory tag, which backup tools also know to skip.
inline constexpr const char* kCacheMarker = "CACHEDIR.TAG";

bool isOurCacheFolder(const std::filesystem::path& root);
// Makes the folder one the cache may write to: created and marked when
// missing, marked when empty. Throws Error when it holds other files and no
// marker, or cannot be created or marked.
void claimCacheFolder(const std::filesystem::path& root);
// Marks an existing folder that is known to be the cache's, such as the
// default one inside the program data folder that earlier versions filled
// without a marker. Throws Error when the marker cannot be written.
void adoptCacheFolder(const std::filesystem::path& root);
// Throws Error saying why, when the folder exists and is not the cache's own.
void refuseForeignFolder(const std::filesystem::path& root);

// Whether a file below a cache folder is one the cache wrote: a picture entry
// (a plain file whose content is a JPEG picture 200 pixels on its longer
// side, whatever its name says) or the "cd.id" marker of an offline medium.
bool isCacheEntry(const std::filesystem::path& file);
bool isCachePicture(const std::filesystem::path& file);

}  // namespace vistrel::browser
