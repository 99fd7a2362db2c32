#include "gallery/gallery_settings.h"

#include <array>

#include "platform/program_data.h"
#include "platform/text.h"

namespace vistrel::gallery {
namespace {

constexpr std::array<std::string_view, 9> kExtensions = {
    ".html", ".htm", ".asp", ".shtml", ".dhtml", ".stm", ".php", ".php3", ".phtml"};
constexpr std::array<std::string_view, 15> kFontSizes = {
    "+4", "+3", "+2", "+1", "0", "-1", "-2", "-3", "1", "2", "3", "4", "5", "6", "7"};
constexpr std::array<std::string_view, 3> kValign = {"top", "middle", "bottom"};
constexpr std::array<std::string_view, 3> kAlign = {"left", "center", "right"};
constexpr std::array<std::string_view, 9> kSeparators = {
    " - ", "&nbsp;", " _ ", " : ", " | ", " / ", " \\ ", " &gt; ", " &lt; "};

}  // namespace

std::span<const std::string_view> fileExtensionItems() { return kExtensions; }
std::span<const std::string_view> fontSizeItems() { return kFontSizes; }
std::span<const std::string_view> separatorItems() { return kSeparators; }

std::string_view itemText(std::span<const std::string_view> items, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return {};
  return items[static_cast<std::size_t>(index)];
}

int itemIndex(std::span<const std::string_view> items, std::string_view text) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) return static_cast<int>(i);
  }
  return -1;
}

std::string defaultFooterText() {
  return "Page made by <a href=\"https://vistrel.org/\">Vistrel 3.12</a>";
}

GallerySettings GallerySettings::defaults() {
  GallerySettings settings;
  settings.FooterText = defaultFooterText();
  settings.TargetFolder = (platform::programDataFolder() / "web").string();
  return settings;
}

std::string GallerySettings::fileExtensionText() const {
  return std::string(itemText(kExtensions, FileExtension));
}
std::string GallerySettings::headerFontSizeText() const {
  return std::string(itemText(kFontSizes, HeaderFontSize));
}
std::string GallerySettings::textFontSizeText() const {
  return std::string(itemText(kFontSizes, TextFontSize));
}
std::string GallerySettings::valignText() const { return std::string(itemText(kValign, TdValign)); }
std::string GallerySettings::alignText() const { return std::string(itemText(kAlign, TdAlign)); }
std::string GallerySettings::horLinkPosText() const {
  return std::string(itemText(kAlign, HorLinkPos));
}

void GallerySettings::resetLinkTexts() {
  NextIndexPage = "Next";
  BackIndexPage = "Back";
  PreviousSinglePage = "Previous";
  NextSinglePage = "Next";
  BackToIndex = "Index page";
  FirstPage = "First page";
  VerLinkPos = 0;
  HorLinkPos = 1;
  Separator = std::string(kSeparators[0]);
}

}  // namespace vistrel::gallery
