#include "tools/mail/mail_message.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <random>

#include "platform/base64.h"
#include "platform/files.h"
#include "platform/text.h"

namespace vistrel::mail {
namespace {

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Line breaks and other control characters would end the header line.
std::string oneLine(std::string_view text) {
  std::string line(text);
  std::replace_if(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; },
                  ' ');
  return line;
}

// RFC 2047 words of at most 75 characters each, cut between characters,
// on lines of their own.
std::string encodedWords(std::string_view text) {
  constexpr std::size_t kBytesPerWord = 45;  // "=?UTF-8?B?" + 60 base64 characters + "?="
  std::string out;
  while (!text.empty()) {
    std::string_view piece = platform::utf8Prefix(text, kBytesPerWord);
    if (piece.empty()) piece = text.substr(0, kBytesPerWord);  // not UTF-8: cut anywhere
    if (!out.empty()) out += "\r\n ";
    out += "=?UTF-8?B?" + platform::base64Encode(piece) + "?=";
    text.remove_prefix(piece.size());
  }
  return out;
}

std::string headerText(std::string_view text) {
  const std::string line = oneLine(text);
  return isAscii(line) ? line : encodedWords(line);
}

std::string mailbox(const std::string& name, const std::string& address) {
  const std::string line = oneLine(name);
  if (line.empty()) return address;
  if (!isAscii(line)) return encodedWords(line) + " <" + address + ">";
  std::string quoted = "\"";
  for (char c : line) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\" <" + address + ">";
}

// RFC 5322 dates name days and months in English whatever the locale says.
std::string dateText(std::chrono::system_clock::time_point now) {
  static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  ::localtime_r(&seconds, &local);
  const long offset = local.tm_gmtoff / 60;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %d %s %d %02d:%02d:%02d %c%02ld%02ld", kDays[local.tm_wday], local.tm_mday,
                kMonths[local.tm_mon], local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec,
                offset < 0 ? '-' : '+', std::labs(offset) / 60, std::labs(offset) % 60);
  return text;
}

std::string messageId(const std::string& fromAddress) {
  std::random_device random;
  char unique[40];
  std::snprintf(unique, sizeof unique, "%08x%08x%08x", random(), random(), random());
  const std::size_t at = fromAddress.rfind('@');
  const std::string domain = at == std::string::npos ? "vistrel.invalid" : fromAddress.substr(at + 1);
  return "<" + std::string(unique) + "@" + domain + ">";
}

}  // namespace

std::vector<std::string> messageHeaders(const MailMessage& message, std::chrono::system_clock::time_point now) {
  std::string to;
  for (const std::string& address : message.to) to += (to.empty() ? "" : ", ") + address;
  return {"From: " + mailbox(message.fromName, message.fromAddress), "To: " + to,
          "Subject: " + headerText(message.subject), "Date: " + dateText(now),
          "Message-ID: " + messageId(message.fromAddress)};
}

std::string withCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

const char* attachmentType(const std::string& name) {
  static constexpr std::pair<std::string_view, const char*> kTypes[] = {
      {".jpg", "image/jpeg"}, {".jpeg", "image/jpeg"}, {".png", "image/png"},       {".gif", "image/gif"},
      {".tif", "image/tiff"}, {".tiff", "image/tiff"}, {".bmp", "image/bmp"},       {".webp", "image/webp"},
      {".pdf", "application/pdf"}, {".txt", "text/plain"}, {".htm", "text/html"}, {".html", "text/html"}};
  const std::string extension = platform::lowerExtension(name);
  for (const auto& [known, type] : kTypes) {
    if (extension == known) return type;
  }
  return "application/octet-stream";
}

}  // namespace vistrel::mail
