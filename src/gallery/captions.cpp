#include "gallery/captions.h"

#include <functional>

#include "gallery/html_text.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::gallery {
namespace {

namespace fs = std::filesystem;

bool contains(const std::string& text, std::string_view what) {
  return platform::asciiLower(text).find(what) != std::string::npos;
}

// Computes the value only when the placeholder is present: some values read files.
std::string replaceLazily(std::string text, std::string_view placeholder,
                          const std::function<std::string()>& value) {
  if (!contains(text, placeholder)) return text;
  return replaceAllIgnoreCase(std::move(text), placeholder, value());
}

std::string fileDateText(const fs::path& file) {
  try {
    return platform::dateTimeText(platform::toLocal(platform::roundTripDos(platform::lastWriteTime(file))));
  } catch (const Error&) {
    return {};
  }
}

std::string fileSizeText(const fs::path& file) {
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  return std::to_string(ec ? 0 : size / 1024) + " KB";
}

struct Step {
  std::string_view placeholder;
  std::function<std::string()> value;
  std::string_view cssOpen;  // the division the value goes into with style sheets
  bool escape;               // the value comes from a file name or from metadata
};

std::string expandExif(std::string text, const fs::path& source, CaptionVariant variant,
                       MetadataSource& metadata) {
  static constexpr std::string_view kSingle[] = {"%exifdate",   "%exiffocallength", "%exifexposure",
                                                 "%exifaperture", "%exifcamera",    "%exifflash"};
  const auto exif = metadata.exif(source);
  if (!exif) {
    for (const auto placeholder : kSingle) text = replaceAllIgnoreCase(std::move(text), placeholder, "");
    return replaceAllIgnoreCase(std::move(text), "%exifall", "");
  }
  const bool page = variant != CaptionVariant::Overlay;
  const auto value = [&](const std::string& v) { return page ? htmlEscape(v) : v; };
  const std::string values[] = {exif->date,     exif->focalLength, exif->exposure,
                                exif->aperture, exif->camera,      exif->flash};
  for (std::size_t i = 0; i < std::size(kSingle); ++i) {
    text = replaceAllIgnoreCase(std::move(text), kSingle[i], value(values[i]));
  }
  if (!contains(text, "%exifall")) return text;
  if (!page) return replaceAllIgnoreCase(std::move(text), "%exifall", "");
  text = replaceAllIgnoreCase(std::move(text), "%exifall",
                              "<div class=\"description\">" + value(exif->all) + "</div>");
  return replaceAllIgnoreCase(std::move(text), "\r\n", "<br>");
}

}  // namespace

std::string expandCaption(std::string format, const fs::path& source, CaptionVariant variant,
                          const CaptionStyle& style, MetadataSource& metadata) {
  const bool page = variant != CaptionVariant::Overlay;
  const auto iptc = [&](std::string_view dataset) {
    return [&metadata, &source, dataset] { return metadata.iptcValue(source, dataset); };
  };
  const Step headline{"%iptc_headline", iptc("ImageHeadline"), "<div class=\"iptc\">", true};
  const Step credit{"%iptc_credit", iptc("ImageCredit"), "<div class=\"iptc\">", true};
  const Step steps[] = {
      {"%path", [&] { return platform::displayName(source); }, "<div class=\"filename\">", true},
      {"%fname", [&] { return platform::displayName(source.filename()); }, "<div class=\"filename\">", true},
      {"%date", [&] { return fileDateText(source); }, "<div class=\"date\">", false},
      {"%size", [&] { return fileSizeText(source); }, "<div class=\"size\">", false},
      {"%desc", [&] { return metadata.description(source); }, "<div class=\"description\">", false},
      // Image pages take the credit first; both run ahead of the shorter "%iptc".
      variant == CaptionVariant::ImagePage ? credit : headline,
      variant == CaptionVariant::ImagePage ? headline : credit,
      {"%iptc", iptc("ImageCaption"), "<div class=\"iptc\">", true},
  };
  std::string text = std::move(format);
  for (const Step& step : steps) {
    text = replaceLazily(std::move(text), step.placeholder, [&] {
      std::string value = step.value();
      if (!page) return value;
      if (step.escape) value = htmlEscape(value);
      if (!style.useCss) return value;
      const bool isName = step.placeholder == "%path" || step.placeholder == "%fname";
      return (isName ? style.fontOpen : std::string()) + std::string(step.cssOpen) + value + "</div>";
    });
  }
  if (!contains(text, "exif")) return text;
  if (variant != CaptionVariant::IndexCell) return expandExif(std::move(text), source, variant, metadata);
  try {
    return expandExif(text, source, variant, metadata);
  } catch (const Error&) {
    return text;
  }
}

}  // namespace vistrel::gallery
