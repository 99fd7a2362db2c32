#include "gallery/settings_fields.h"

#include <array>

namespace vistrel::gallery {
namespace {

using S = GallerySettings;

template <auto Member, auto Value>
bool radioGet(const S& s) {
  return s.*Member == Value;
}

template <auto Member, auto Value>
void radioSet(S& s, bool on) {
  if (on) {
    s.*Member = Value;
  } else if (s.*Member == Value) {
    s.*Member = decltype(Value){};
  }
}

template <auto Member, auto Value>
constexpr RadioButton radio() {
  return {&radioGet<Member, Value>, &radioSet<Member, Value>};
}

const std::array kFields = {
    SettingsField{"General", "Cols", "Cols", &S::Cols, Coding::Plain, 1, 999},
    SettingsField{"General", "Rows", "Rows", &S::Rows, Coding::Plain, 1, 999},
    SettingsField{"General", "Maxsize", "Maxsize", &S::Maxsize, Coding::Plain, 16, 800},
    SettingsField{"General", "TitleText", "Caption", &S::TitleText},
    SettingsField{"General", "HeadlineText", "Headline", &S::HeadlineText},
    SettingsField{"General", "FooterText", "Footer", &S::FooterText},
    SettingsField{"General", "TargetFolder", "TargetFolder", &S::TargetFolder},
    SettingsField{"General", "Filename", "Filename", &S::Filename},
    SettingsField{"General", "FileExtension", "FileExtension", &S::FileExtension},
    SettingsField{"General", "OpenHTML", "OpenHTML", &S::OpenHTML},
    SettingsField{"ThumbLink", "CreateFullPage", "CreateFullPage", &S::CreateFullPage},
    SettingsField{"ThumbLink", "FullPageParamString", "FullPageParamString", &S::FullPageParamString},
    SettingsField{"ThumbLink", "MediumSize", "MediumSize", &S::MediumSize, Coding::Plain, 200, 1200},
    SettingsField{"ThumbLink", "MediumFormat", "MediumFormat",
                  radio<&S::linkMode, LinkMode::MediumFormat>()},
    SettingsField{"ThumbLink", "InclLink", "InclLink", radio<&S::linkMode, LinkMode::InclLink>()},
    SettingsField{"ThumbLink", "CopyOriginal", "CopyOriginal",
                  radio<&S::linkMode, LinkMode::CopyOriginal>()},
    SettingsField{"ThumbLink", "DontLink", "DontLink", radio<&S::linkMode, LinkMode::DontLink>()},
    SettingsField{"HTML", "HeaderFontName", "HeaderFontName", &S::HeaderFontName},
    SettingsField{"HTML", "TextFontName", "TextFontName", &S::TextFontName},
    SettingsField{"HTML", "HeaderFontSize", "HeaderFontSize", &S::HeaderFontSize},
    SettingsField{"HTML", "TextFontSize", "TextFontSize", &S::TextFontSize},
    SettingsField{"HTML", "TdValign", "TdValign", &S::TdValign},
    SettingsField{"HTML", "TdAlign", "TdAlign", &S::TdAlign},
    SettingsField{"HTML", "ImgBorder", "ImgBorder", &S::ImgBorder, Coding::Plain, 0, 10},
    SettingsField{"HTML", "TableWidth", "TableWidth", &S::TableWidth, Coding::Plain, 100, 1600},
    SettingsField{"HTML", "Border", "Border", &S::Border, Coding::Plain, 0, 10},
    SettingsField{"HTML", "Cellpadding", "Cellpadding", &S::Cellpadding, Coding::Plain, 0, 50},
    SettingsField{"HTML", "Cellspacing", "Cellspacing", &S::Cellspacing, Coding::Plain, 0, 50},
    SettingsField{"HTML", "AlignCenter", "AlignCenter", &S::AlignCenter},
    SettingsField{"HTML", "InclPageNo", "InclPageNo", &S::InclPageNo},
    SettingsField{"HTML", "UseCSS", "UseCSS", &S::UseCSS},
    SettingsField{"HTML", "NoHTML", "NoHTML", &S::NoHTML},
    SettingsField{"HTML", "CSSfname", "CSSfname", &S::CSSfname, Coding::Css},
    SettingsField{"Advanced", "ParamString", "ParamString", &S::ParamString},
    SettingsField{"Advanced", "HeadText", "HeadText", &S::HeadText, Coding::Memo},
    SettingsField{"HTML head", "HeaderText", "HeaderText", &S::HeaderText, Coding::Memo},
    SettingsField{"HTML head", "FooterText", "FooterText", &S::BottomText, Coding::Memo},
    SettingsField{"HTML colors", "BodyColor", "BodyColor", &S::BodyColor},
    SettingsField{"HTML colors", "LinkColor", "LinkColor", &S::LinkColor},
    SettingsField{"HTML colors", "VLinkColor", "VLinkColor", &S::VLinkColor},
    SettingsField{"HTML colors", "TableColor", "TableColor", &S::TableColor},
    SettingsField{"HTML colors", "HtmlTextColor", "HtmlTextColor", &S::HtmlTextColor},
    SettingsField{"Image", "JpegCompLevel", "JpegCompLevel", &S::JpegCompLevel, Coding::Plain, 1, 100},
    SettingsField{"Image", "ThumbPrefix", "ThumbPrefix", &S::ThumbPrefix},
    SettingsField{"Image", "MediumPrefix", "MediumPrefix", &S::MediumPrefix},
    SettingsField{"Image", "Sharpen", "Sharpen", &S::Sharpen},
    SettingsField{"Image", "SharpenMed", "SharpenMed", &S::SharpenMed},
    SettingsField{"Image", "SharpenValue", "SharpenValue", &S::SharpenValue, Coding::Plain, 0, 25},
    SettingsField{"Image", "SharpenValueMed", "SharpenValueMed", &S::SharpenValueMed, Coding::Plain, 0, 25},
    SettingsField{"Image", "HighQuality", "HighQuality", &S::HighQuality},
    SettingsField{"Image", "Contrast", "Contrast", &S::Contrast, Coding::Plain, -255, 255},
    SettingsField{"Image", "Brightness", "Brightness", &S::Brightness, Coding::Plain, -255, 255},
    SettingsField{"Image", "Invert", "Invert", &S::Invert},
    SettingsField{"Image", "InclBorder", "InclBorder", &S::InclBorder},
    SettingsField{"Image", "BorderValue", "BorderValue", &S::BorderValue, Coding::Plain, 1, 500},
    SettingsField{"Image", "BorderColor", "", &S::BorderColor},
    SettingsField{"Image", "Border3D", "Border3D", &S::Border3D},
    SettingsField{"Image", "UseSubfolders", "UseSubfolders", &S::UseSubfolders},
    SettingsField{"Image", "ThumbFolder", "ThumbFolder", &S::ThumbFolder},
    SettingsField{"Image", "ImageFolder", "ImageFolder", &S::ImageFolder},
    SettingsField{"Image", "CopyExif", "", &S::CopyExif},
    SettingsField{"Overlay", "UseOverlayText", "UseOverlayText", &S::UseOverlayText},
    SettingsField{"Overlay", "UseMediumOverlay", "UseMediumOverlay", &S::UseMediumOverlay},
    SettingsField{"Overlay", "OverlayText", "OverlayText", &S::OverlayText},
    SettingsField{"Overlay", "MediumOverlayText", "MediumOverlayText", &S::MediumOverlayText},
    SettingsField{"Overlay", "TextColor", "TextColor", &S::TextColor},
    SettingsField{"Overlay", "InclDropShadow", "InclDropShadow", &S::InclDropShadow},
    SettingsField{"Overlay", "FontSize", "FontSize", &S::FontSize, Coding::Plain, 1, 72},
    SettingsField{"Overlay", "TextTop", "TextTop", radio<&S::textPosition, TextPosition::TextTop>()},
    SettingsField{"Overlay", "TextBottom", "TextBottom",
                  radio<&S::textPosition, TextPosition::TextBottom>()},
    SettingsField{"Overlay", "TextLeft", "TextLeft", radio<&S::textPosition, TextPosition::TextLeft>()},
    SettingsField{"Overlay", "TextRight", "TextRight",
                  radio<&S::textPosition, TextPosition::TextRight>()},
    SettingsField{"Overlay", "Center", "CenterOverlay", &S::Center},
    SettingsField{"LinkText", "NextIndexPage", "NextIndexPage", &S::NextIndexPage, Coding::LinkText},
    SettingsField{"LinkText", "BackIndexPage", "BackIndexPage", &S::BackIndexPage, Coding::LinkText},
    SettingsField{"LinkText", "PreviousSinglePage", "PrevSinglePage", &S::PreviousSinglePage,
                  Coding::LinkText},
    SettingsField{"LinkText", "NextSinglePage", "NextSinglePage", &S::NextSinglePage, Coding::LinkText},
    SettingsField{"LinkText", "BackToIndex", "BackToIndex", &S::BackToIndex, Coding::LinkText},
    SettingsField{"LinkText", "FirstPage", "FirstPage", &S::FirstPage, Coding::LinkText},
    SettingsField{"LinkText", "BackNextNav", "BackNextNav", radio<&S::navStyle, NavStyle::BackNextNav>()},
    SettingsField{"LinkText", "NumbersNav", "NumbersNav", radio<&S::navStyle, NavStyle::NumbersNav>()},
    SettingsField{"LinkText", "BothNav", "BothNav", radio<&S::navStyle, NavStyle::BothNav>()},
    SettingsField{"LinkText", "VerLinkPos", "VerLinkPos", &S::VerLinkPos},
    SettingsField{"LinkText", "HorLinkPos", "HorLinkPos", &S::HorLinkPos},
    SettingsField{"LinkText", "Separator", "Separator", &S::Separator, Coding::Separator},
};

GallerySettings makeMissingInFile() {
  GallerySettings s;
  s.FooterText = "Page made by Vistrel";
  s.OpenHTML = false;
  s.CreateFullPage = false;
  s.linkMode = LinkMode::None;
  s.ParamString = "%Thumb<br>%FName<br>%Date %Size<br>%Desc";
  s.JpegCompLevel = 75;
  s.MediumOverlayText = "Vistrel - %Fname";
  s.TextColor = 0;
  s.InclDropShadow = false;
  s.Center = false;
  s.BackToIndex = "Index page";
  s.HorLinkPos = 0;
  return s;
}

}  // namespace

std::span<const SettingsField> settingsFields() { return kFields; }

const GallerySettings& missingInFile() {
  static const GallerySettings missing = makeMissingInFile();
  return missing;
}

}  // namespace vistrel::gallery
