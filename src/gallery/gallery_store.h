#pragma once

#include "gallery/gallery_settings.h"
#include "platform/settings_store.h"

namespace vistrel::gallery {

// The per-user gallery store: the last used options as flat values under the
// program's key. Writing never fails (failures are logged and dropped).
void writeGalleryStore(platform::SettingsStore& store, const GallerySettings& settings);

// Reads what the store holds into the settings. A missing key changes nothing.
// At the first missing or mistyped number or switch, or a damaged text, the
// read stops: what was read stays, and the link texts are reset.
void readGalleryStore(platform::SettingsStore& store, GallerySettings& settings);

}  // namespace vistrel::gallery
