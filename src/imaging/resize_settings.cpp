#include "imaging/resize_settings.h"

#include <algorithm>

namespace vistrel::imaging {

void readResizeSettings(platform::SettingsStore& store, ResizeSettings& s) {
  const auto key = store.openKey(kResizeKey, false);
  if (!key) return;
  try {
    s.newSize = std::clamp(key->readInteger("NewSize"), 50, 4000);
    s.sharpen = key->readBool("Sharpen");
    s.filter = std::clamp(key->readInteger("ResampleFilter"), 0, 6);
    s.quality = std::clamp(key->readInteger("JpegQuality"), 10, 100);
    s.progressive = key->readBool("ProgJpeg");
    s.usePrefix = key->readBool("UsePrefix");
    s.outputFolder = key->readString("OutputFolder");
    s.prefix = key->readString("FilePrefix");
  } catch (const platform::SettingsError&) {
    // Stop quietly at the first missing value.
  }
}

void writeResizeSettings(platform::SettingsStore& store, const ResizeSettings& s) {
  auto key = store.openKey(kResizeKey, true);
  key->writeInteger("NewSize", s.newSize);
  key->writeBool("Sharpen", s.sharpen);
  key->writeInteger("ResampleFilter", s.filter);
  key->writeInteger("JpegQuality", s.quality);
  key->writeBool("ProgJpeg", s.progressive);
  key->writeBool("UsePrefix", s.usePrefix);
  key->writeString("OutputFolder", s.outputFolder);
  key->writeString("FilePrefix", s.prefix);
}

}  // namespace vistrel::imaging
