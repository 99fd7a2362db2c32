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
    SettingsField{"General", "Cols", "Cols", "Thumbnails per row of an index page.", &S::Cols, Coding::Plain, 1, 999},
    SettingsField{"General", "Rows", "Rows", "Rows of thumbnails per index page.", &S::Rows, Coding::Plain, 1, 999},
    SettingsField{"General", "Maxsize", "Maxsize", "Largest width or height of a thumbnail, in pixels.", &S::Maxsize,
                  Coding::Plain, 16, 800},
    SettingsField{"General", "TitleText", "Caption", "The pages' <title> text.", &S::TitleText},
    SettingsField{"General", "HeadlineText", "Headline", "The headline above the thumbnail table.", &S::HeadlineText},
    SettingsField{"General", "FooterText", "Footer", "The footer line under the table (HTML allowed).", &S::FooterText},
    SettingsField{"General", "TargetFolder", "TargetFolder", "The folder the gallery is written into.",
                  &S::TargetFolder},
    SettingsField{"General", "Filename", "Filename", "Name of the index pages, without extension (index, index1, ...).",
                  &S::Filename},
    SettingsField{"General", "FileExtension", "FileExtension",
                  "Page extension: 0 .html, 1 .htm, 2 .asp, 3 .shtml, 4 .dhtml, 5 .stm, 6 .php, 7 .php3, 8 .phtml.",
                  &S::FileExtension},
    SettingsField{"General", "OpenHTML", "OpenHTML",
                  "Open the first page in the web browser after the run (the window only).", &S::OpenHTML},
    SettingsField{"ThumbLink", "CreateFullPage", "CreateFullPage",
                  "Write one page per photo (with MediumFormat or CopyOriginal).", &S::CreateFullPage},
    SettingsField{"ThumbLink", "FullPageParamString", "FullPageParamString",
                  "Caption format of the photo pages (%FName, %Desc, ...).", &S::FullPageParamString},
    SettingsField{"ThumbLink", "MediumSize", "MediumSize", "Largest width or height of a medium image, in pixels.",
                  &S::MediumSize, Coding::Plain, 200, 1200},
    SettingsField{"ThumbLink", "MediumFormat", "MediumFormat",
                  "Thumbnails link to a medium-size copy made by the run (one of the four link modes).",
                  radio<&S::linkMode, LinkMode::MediumFormat>()},
    SettingsField{"ThumbLink", "InclLink", "InclLink", "Thumbnails link to the source file where it lies (link mode).",
                  radio<&S::linkMode, LinkMode::InclLink>()},
    SettingsField{"ThumbLink", "CopyOriginal", "CopyOriginal",
                  "Thumbnails link to a copy of the source file (link mode).",
                  radio<&S::linkMode, LinkMode::CopyOriginal>()},
    SettingsField{"ThumbLink", "DontLink", "DontLink", "Thumbnails link nowhere (link mode).",
                  radio<&S::linkMode, LinkMode::DontLink>()},
    SettingsField{"HTML", "HeaderFontName", "HeaderFontName", "Font of the headline.", &S::HeaderFontName},
    SettingsField{"HTML", "TextFontName", "TextFontName", "Font of the captions and texts.", &S::TextFontName},
    SettingsField{"HTML", "HeaderFontSize", "HeaderFontSize",
                  "Headline size: 0 +4, 1 +3, 2 +2, 3 +1, 4 0, 5 -1, 6 -2, 7 -3, 8..14 sizes 1 to 7.",
                  &S::HeaderFontSize},
    SettingsField{"HTML", "TextFontSize", "TextFontSize", "Caption size, the same items as HeaderFontSize.",
                  &S::TextFontSize},
    SettingsField{"HTML", "TdValign", "TdValign", "Vertical alignment in the cells: 0 top, 1 middle, 2 bottom.",
                  &S::TdValign},
    SettingsField{"HTML", "TdAlign", "TdAlign", "Horizontal alignment in the cells: 0 left, 1 center, 2 right.",
                  &S::TdAlign},
    SettingsField{"HTML", "ImgBorder", "ImgBorder", "Border around the thumbnail images, in pixels.", &S::ImgBorder,
                  Coding::Plain, 0, 10},
    SettingsField{"HTML", "TableWidth", "TableWidth", "Width of the thumbnail table, in pixels.", &S::TableWidth,
                  Coding::Plain, 100, 1600},
    SettingsField{"HTML", "Border", "Border", "Border width of the table.", &S::Border, Coding::Plain, 0, 10},
    SettingsField{"HTML", "Cellpadding", "Cellpadding", "Cell padding of the table.", &S::Cellpadding, Coding::Plain, 0,
                  50},
    SettingsField{"HTML", "Cellspacing", "Cellspacing", "Cell spacing of the table.", &S::Cellspacing, Coding::Plain, 0,
                  50},
    SettingsField{"HTML", "AlignCenter", "AlignCenter", "Center the table on the page.", &S::AlignCenter},
    SettingsField{"HTML", "InclPageNo", "InclPageNo", "Show the page number on index pages.", &S::InclPageNo},
    SettingsField{"HTML", "UseCSS", "UseCSS", "Link the style sheet CSSfname into the pages.", &S::UseCSS},
    SettingsField{"HTML", "NoHTML", "NoHTML", "With a style sheet, leave out the HTML colour and font attributes.",
                  &S::NoHTML},
    SettingsField{"HTML", "CSSfname", "CSSfname",
                  "Style sheet of the program data folder's css folder (slate.css, sand.css, clean.css, ...).",
                  &S::CSSfname, Coding::Css},
    SettingsField{"Advanced", "ParamString", "ParamString",
                  "Caption format of the index cells (%Thumb, %FName, %Date, %Size, %Desc, ...).", &S::ParamString},
    SettingsField{"Advanced", "HeadText", "HeadText", "Extra text for the pages' <head> (scripts, meta tags).",
                  &S::HeadText, Coding::Memo},
    SettingsField{"HTML head", "HeaderText", "HeaderText", "Text at the top of every page (HTML allowed).",
                  &S::HeaderText, Coding::Memo},
    SettingsField{"HTML head", "FooterText", "FooterText", "Text at the bottom of every page (HTML allowed).",
                  &S::BottomText, Coding::Memo},
    SettingsField{"HTML colors", "BodyColor", "BodyColor", "Page background colour, #RRGGBB.", &S::BodyColor},
    SettingsField{"HTML colors", "LinkColor", "LinkColor", "Link colour, #RRGGBB.", &S::LinkColor},
    SettingsField{"HTML colors", "VLinkColor", "VLinkColor", "Visited link colour, #RRGGBB.", &S::VLinkColor},
    SettingsField{"HTML colors", "TableColor", "TableColor", "Table background colour, #RRGGBB.", &S::TableColor},
    SettingsField{"HTML colors", "HtmlTextColor", "HtmlTextColor", "Text colour, #RRGGBB.", &S::HtmlTextColor},
    SettingsField{"Image", "JpegCompLevel", "JpegCompLevel", "JPEG quality of thumbnails and medium images (1 to 100).",
                  &S::JpegCompLevel, Coding::Plain, 1, 100},
    SettingsField{"Image", "ThumbPrefix", "ThumbPrefix", "Prefix of the thumbnail file names.", &S::ThumbPrefix},
    SettingsField{"Image", "MediumPrefix", "MediumPrefix", "Prefix of the medium image file names.", &S::MediumPrefix},
    SettingsField{"Image", "Sharpen", "Sharpen", "Sharpen the thumbnails.", &S::Sharpen},
    SettingsField{"Image", "SharpenMed", "SharpenMed", "Sharpen the medium images.", &S::SharpenMed},
    SettingsField{"Image", "SharpenValue", "SharpenValue", "How much to sharpen the thumbnails (higher is more).",
                  &S::SharpenValue, Coding::Plain, 0, 25},
    SettingsField{"Image", "SharpenValueMed", "SharpenValueMed",
                  "How much to sharpen the medium images (higher is more).", &S::SharpenValueMed, Coding::Plain, 0, 25},
    SettingsField{"Image", "HighQuality", "HighQuality", "Kept for older design files; nothing reads it.",
                  &S::HighQuality},
    SettingsField{"Image", "Contrast", "Contrast", "Contrast change of the images (lower is less contrast).",
                  &S::Contrast, Coding::Plain, -255, 255},
    SettingsField{"Image", "Brightness", "Brightness", "Brightness change of the images (lower is darker).",
                  &S::Brightness, Coding::Plain, -255, 255},
    SettingsField{"Image", "Invert", "Invert", "Invert the colours of the images.", &S::Invert},
    SettingsField{"Image", "InclBorder", "InclBorder", "Draw a border around the thumbnails.", &S::InclBorder},
    SettingsField{"Image", "BorderValue", "BorderValue", "Width of that border, in pixels.", &S::BorderValue,
                  Coding::Plain, 1, 500},
    SettingsField{"Image", "BorderColor", "", "Colour of that border, as the number 0x00BBGGRR in decimal.",
                  &S::BorderColor},
    SettingsField{"Image", "Border3D", "Border3D", "Draw the border as a 3D frame.", &S::Border3D},
    SettingsField{"Image", "UseSubfolders", "UseSubfolders",
                  "Put thumbnails and medium images into the two folders below.", &S::UseSubfolders},
    SettingsField{"Image", "ThumbFolder", "ThumbFolder", "Folder of the thumbnails inside the target folder.",
                  &S::ThumbFolder},
    SettingsField{"Image", "ImageFolder", "ImageFolder", "Folder of the medium images inside the target folder.",
                  &S::ImageFolder},
    SettingsField{"Image", "CopyExif", "", "Copy the photo's EXIF block into its JPEG outputs.", &S::CopyExif},
    SettingsField{"Image", "TurnUpright", "", "Turn photos upright by their EXIF orientation.", &S::TurnUpright},
    SettingsField{"Image", "RemovePrivateExif", "",
                  "Leave the location, the camera's serial numbers and the maker note out of the EXIF copy.",
                  &S::RemovePrivateExif},
    SettingsField{"Overlay", "UseOverlayText", "UseOverlayText", "Draw OverlayText onto the thumbnails.",
                  &S::UseOverlayText},
    SettingsField{"Overlay", "UseMediumOverlay", "UseMediumOverlay", "Draw MediumOverlayText onto the medium images.",
                  &S::UseMediumOverlay},
    SettingsField{"Overlay", "OverlayText", "OverlayText", "Text format drawn onto the thumbnails.", &S::OverlayText},
    SettingsField{"Overlay", "MediumOverlayText", "MediumOverlayText",
                  "Text format drawn onto the medium images (%FName, %Date, ...).", &S::MediumOverlayText},
    SettingsField{"Overlay", "TextColor", "TextColor",
                  "Colour of the overlay text, as the number 0x00BBGGRR in decimal.", &S::TextColor},
    SettingsField{"Overlay", "InclDropShadow", "InclDropShadow", "Give the overlay text a drop shadow.",
                  &S::InclDropShadow},
    SettingsField{"Overlay", "FontSize", "FontSize", "Size of the overlay text, in points.", &S::FontSize,
                  Coding::Plain, 1, 72},
    SettingsField{"Overlay", "TextTop", "TextTop", "Overlay text at the top (one of four positions).",
                  radio<&S::textPosition, TextPosition::TextTop>()},
    SettingsField{"Overlay", "TextBottom", "TextBottom", "Overlay text at the bottom (position).",
                  radio<&S::textPosition, TextPosition::TextBottom>()},
    SettingsField{"Overlay", "TextLeft", "TextLeft", "Overlay text on the left, turned (position).",
                  radio<&S::textPosition, TextPosition::TextLeft>()},
    SettingsField{"Overlay", "TextRight", "TextRight", "Overlay text on the right, turned (position).",
                  radio<&S::textPosition, TextPosition::TextRight>()},
    SettingsField{"Overlay", "Center", "CenterOverlay", "Center the overlay text along its edge.", &S::Center},
    SettingsField{"LinkText", "NextIndexPage", "NextIndexPage", "Link to the next index page (text or <img> HTML).",
                  &S::NextIndexPage, Coding::LinkText},
    SettingsField{"LinkText", "BackIndexPage", "BackIndexPage", "Link to the previous index page.", &S::BackIndexPage,
                  Coding::LinkText},
    SettingsField{"LinkText", "PreviousSinglePage", "PrevSinglePage", "Link to the previous photo page.",
                  &S::PreviousSinglePage, Coding::LinkText},
    SettingsField{"LinkText", "NextSinglePage", "NextSinglePage", "Link to the next photo page.", &S::NextSinglePage,
                  Coding::LinkText},
    SettingsField{"LinkText", "BackToIndex", "BackToIndex", "Link from a photo page to its index page.",
                  &S::BackToIndex, Coding::LinkText},
    SettingsField{"LinkText", "FirstPage", "FirstPage", "Link to the first page.", &S::FirstPage, Coding::LinkText},
    SettingsField{"LinkText", "BackNextNav", "BackNextNav",
                  "Navigate index pages by Back and Next (one of three styles).",
                  radio<&S::navStyle, NavStyle::BackNextNav>()},
    SettingsField{"LinkText", "NumbersNav", "NumbersNav", "Navigate index pages by page numbers 1 2 3 (style).",
                  radio<&S::navStyle, NavStyle::NumbersNav>()},
    SettingsField{"LinkText", "BothNav", "BothNav", "Navigate by both (style).",
                  radio<&S::navStyle, NavStyle::BothNav>()},
    SettingsField{"LinkText", "VerLinkPos", "VerLinkPos",
                  "Where the navigation goes: 0 top of page, 1 bottom, 2 top and bottom.", &S::VerLinkPos},
    SettingsField{"LinkText", "HorLinkPos", "HorLinkPos", "Alignment of the navigation: 0 left, 1 center, 2 right.",
                  &S::HorLinkPos},
    SettingsField{"LinkText", "Separator", "Separator", "Text between navigation links.", &S::Separator,
                  Coding::Separator},
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
  // Designs saved before these options made their outputs without them.
  s.TurnUpright = false;
  s.RemovePrivateExif = false;
  return s;
}

}  // namespace

std::span<const SettingsField> settingsFields() { return kFields; }

const GallerySettings& missingInFile() {
  static const GallerySettings missing = makeMissingInFile();
  return missing;
}

}  // namespace vistrel::gallery
