#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vistrel::gallery {

// Where a thumbnail leads. The file keeps this as four booleans; a design that
// sets none of them makes no links and no image pages.
enum class LinkMode { None, MediumFormat, InclLink, CopyOriginal, DontLink };
enum class NavStyle { None, BackNextNav, NumbersNav, BothNav };
enum class TextPosition { None, TextTop, TextBottom, TextLeft, TextRight };

// Every option of a gallery run. Field names are the keys of the .vgc file;
// the initial values are what a fresh options dialog shows.
struct GallerySettings {
  // General
  int Cols = 3;
  int Rows = 3;
  int Maxsize = 150;
  std::string TitleText = "Vistrel gallery";
  std::string HeadlineText = "Vistrel gallery";
  std::string FooterText;  // the footer line; set by defaults()
  std::string TargetFolder;
  std::string Filename = "index";
  int FileExtension = 0;
  bool OpenHTML = true;
  // ThumbLink
  bool CreateFullPage = true;
  std::string FullPageParamString = "%fname<br>%desc";
  int MediumSize = 600;
  LinkMode linkMode = LinkMode::MediumFormat;
  // HTML
  std::string HeaderFontName = "Tahoma";
  std::string TextFontName = "Tahoma";
  int HeaderFontSize = 2;
  int TextFontSize = 5;
  int TdValign = 1;
  int TdAlign = 1;
  int ImgBorder = 0;
  int TableWidth = 500;
  int Border = 0;
  int Cellpadding = 8;
  int Cellspacing = 8;
  bool AlignCenter = true;
  bool InclPageNo = true;
  bool UseCSS = false;
  bool NoHTML = false;
  std::string CSSfname;
  // Advanced
  std::string ParamString = "%Thumb<br>%FName<br>%Date<br>%Desc";
  std::string HeadText;
  // HTML head: the texts above and below every page (the file's keys HeaderText, FooterText)
  std::string HeaderText;
  std::string BottomText;
  // HTML colors
  std::string BodyColor = "#FFFFFF";
  std::string LinkColor = "#0033FF";
  std::string VLinkColor = "#CCCCCC";
  std::string TableColor = "#EEEEEE";
  std::string HtmlTextColor = "#000000";
  // Image
  int JpegCompLevel = 80;
  std::string ThumbPrefix = "thumb_";
  std::string MediumPrefix = "medium_";
  bool Sharpen = false;
  bool SharpenMed = false;
  int SharpenValue = 1;
  int SharpenValueMed = 1;
  bool HighQuality = true;
  int Contrast = 0;
  int Brightness = 0;
  bool Invert = false;
  bool InclBorder = false;
  int BorderValue = 10;
  std::uint32_t BorderColor = 0;  // 0x00BBGGRR
  bool Border3D = false;
  bool UseSubfolders = false;
  std::string ThumbFolder = "thumbnails";
  std::string ImageFolder = "images";
  bool CopyExif = false;
  bool TurnUpright = true;  // outputs made the way the camera was held (EXIF Orientation)
  bool RemovePrivateExif = true;  // GPS, serial numbers and maker note out of the EXIF copy
  // Overlay
  bool UseOverlayText = false;
  bool UseMediumOverlay = false;
  std::string OverlayText = "Vistrel";
  std::string MediumOverlayText = "Vistrel - %FName";
  std::uint32_t TextColor = 0xFFFFFF;  // 0x00BBGGRR
  bool InclDropShadow = true;
  int FontSize = 12;
  TextPosition textPosition = TextPosition::TextTop;
  bool Center = true;
  std::string OverlayFont = "Tahoma";  // kept in neither store
  // LinkText
  std::string NextIndexPage = "Next";
  std::string BackIndexPage = "Back";
  std::string PreviousSinglePage = "Previous";
  std::string NextSinglePage = "Next";
  std::string BackToIndex = "Back to thumbnail index page";
  std::string FirstPage = "First page";
  NavStyle navStyle = NavStyle::BothNav;
  int VerLinkPos = 0;
  int HorLinkPos = 1;
  std::string Separator = " - ";
  // Run-time only
  bool HTMLOnly = false;
  bool FtpUpload = false;

  // A fresh dialog's settings: the fields above plus the footer line and the
  // default target folder (the program data folder's "web").
  static GallerySettings defaults();

  // Image pages are written only in the link modes that give them a picture.
  bool fullPageEnabled() const {
    return linkMode == LinkMode::MediumFormat || linkMode == LinkMode::CopyOriginal;
  }
  bool writesImagePages() const { return CreateFullPage && fullPageEnabled(); }
  bool border3DEnabled() const { return InclBorder && Border3D; }
  bool cssOnly() const { return UseCSS && NoHTML; }

  // Texts of the combo-box items the index fields select ("" for no item).
  std::string fileExtensionText() const;
  std::string headerFontSizeText() const;
  std::string textFontSizeText() const;
  std::string valignText() const;
  std::string alignText() const;
  std::string horLinkPosText() const;  // lower-cased, as an HTML align value

  // The link-text page's "Reset": link texts, positions and separator.
  void resetLinkTexts();
};

// The combo-box item lists.
std::span<const std::string_view> fileExtensionItems();
std::span<const std::string_view> fontSizeItems();
std::span<const std::string_view> separatorItems();
std::string_view itemText(std::span<const std::string_view> items, int index);
// The item index of a text, or -1.
int itemIndex(std::span<const std::string_view> items, std::string_view text);

std::string defaultFooterText();

}  // namespace vistrel::gallery
