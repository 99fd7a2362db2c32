#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace vistrel::mail {

// A file to attach and the name the message gives it.
struct Attachment {
  std::filesystem::path file;
  std::string name;
};

// One e-mail as the SMTP client sends it.
struct MailMessage {
  std::string fromAddress;  // the envelope's sender and the From header's address
  std::string fromName;
  std::vector<std::string> to;
  std::string subject;
  std::string body;  // any line breaks; sent with CR LF
  std::vector<Attachment> attachments;
};

// The header lines of the message (From, To, Subject, Date, Message-ID), each
// without its line break. Texts that are not ASCII are encoded as RFC 2047
// words and line breaks typed into them become blanks, so no text can add a
// header line of its own.
std::vector<std::string> messageHeaders(const MailMessage& message, std::chrono::system_clock::time_point now);

// The body with every line ending in CR LF, as SMTP wants it.
std::string withCrLf(std::string_view text);

// The MIME type of an attachment, by its name's extension.
const char* attachmentType(const std::string& name);

}  // namespace vistrel::mail
