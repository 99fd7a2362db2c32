#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "gallery/captions.h"
#include "gallery/gallery_settings.h"

namespace vistrel::gallery {

using PageLines = std::vector<std::string>;

// The pieces every page of a run shares, built once per run.
class PageTexts {
 public:
  explicit PageTexts(const GallerySettings& settings);

  const std::string& fontOpen() const { return fontOpen_; }
  const std::string& fontClose() const { return fontClose_; }
  CaptionStyle captionStyle() const { return {fontOpen_, s_.UseCSS}; }

  PageLines head(int pageNumber) const;
  void appendFoot(PageLines& lines) const;
  std::string tableOpen() const;
  // The opening of the navigation table, up to the cell's content.
  std::string navigationTableOpen(const char* cellTag) const;

 private:
  std::string fontTag(const std::string& face, const std::string& size) const;

  const GallerySettings& s_;
  std::string fontOpen_;
  std::string fontClose_;
};

// Lines joined by CR LF, one after every line.
std::string pageText(const PageLines& lines);

}  // namespace vistrel::gallery
