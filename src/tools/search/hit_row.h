#pragma once

#include "browser/folder_listing.h"
#include "tools/search/my_ff.h"

namespace vistrel::search {

// The main file list's row of a hit: the size as (size + 1023) div 1024
// followed by " KB", and the date as a listing shows it.
browser::ListedFile hitRow(const FoundFile& file);

}  // namespace vistrel::search
