#include "tools/mail/smtp_client.h"

#include <curl/curl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/curl_setup.h"
#include "platform/error.h"
#include "platform/text.h"

namespace vistrel::mail {
namespace {

namespace fs = std::filesystem;

class CurlList {
 public:
  ~CurlList() { curl_slist_free_all(list_); }
  void add(const std::string& item) {
    curl_slist* longer = curl_slist_append(list_, item.c_str());
    if (!longer) throw Error("Out of memory");
    list_ = longer;
  }
  curl_slist* get() const { return list_; }

 private:
  curl_slist* list_ = nullptr;
};

struct MimeFree {
  void operator()(curl_mime* mime) const { curl_mime_free(mime); }
};

// One attachment as curl reads it while it encodes the message. The file is
// opened at its first read, which is when its encoding begins.
struct AttachmentReader {
  const Attachment& attachment;
  const SmtpEvents& events;
  std::string& failure;
  std::FILE* in = nullptr;

  ~AttachmentReader() {
    if (in) std::fclose(in);
  }

  static std::size_t read(char* buffer, std::size_t size, std::size_t count, void* state) {
    auto& self = *static_cast<AttachmentReader*>(state);
    if (!self.in) {
      if (self.events.encoding) self.events.encoding(self.attachment.name);
      self.in = std::fopen(self.attachment.file.c_str(), "rb");
      if (!self.in) return self.fail();
    }
    const std::size_t got = std::fread(buffer, 1, size * count, self.in);
    return got == 0 && std::ferror(self.in) ? self.fail() : got;
  }

  static int seek(void* state, curl_off_t offset, int origin) {
    auto& self = *static_cast<AttachmentReader*>(state);
    if (!self.in) return offset == 0 && origin == SEEK_SET ? CURL_SEEKFUNC_OK : CURL_SEEKFUNC_CANTSEEK;
    return ::fseeko(self.in, offset, origin) == 0 ? CURL_SEEKFUNC_OK : CURL_SEEKFUNC_FAIL;
  }

  std::size_t fail() {
    failure = "Cannot read " + platform::displayName(attachment.file) + ": " + std::strerror(errno);
    return CURL_READFUNC_ABORT;
  }
};

bool isErrorReply(const std::string& line) { return !line.empty() && (line[0] == '4' || line[0] == '5'); }

bool startsWithWord(const std::string& line, std::string_view word) {
  return line.size() >= word.size() && platform::equalsIgnoreCase(line.substr(0, word.size()), word);
}

}  // namespace

struct SmtpCallbacks {
  static int debug(CURL*, curl_infotype type, char* data, std::size_t size, void* client) {
    auto* self = static_cast<SmtpClient*>(client);
    if (type == CURLINFO_HEADER_IN) self->heard(data, size);
    if (type == CURLINFO_HEADER_OUT) self->said(data, size);
    return 0;
  }
  static int progress(void* client, curl_off_t, curl_off_t, curl_off_t total, curl_off_t now) {
    auto* self = static_cast<SmtpClient*>(client);
    if (self->events_.progress && total > 0) {
      self->events_.progress(static_cast<std::uint64_t>(now), static_cast<std::uint64_t>(total));
    }
    return self->aborted_ ? 1 : 0;
  }
};

SmtpClient::SmtpClient(SmtpServer server, SmtpEvents events) : server_(std::move(server)), events_(std::move(events)) {
  curl_ = platform::newCurlHandle();
}

SmtpClient::~SmtpClient() { curl_easy_cleanup(curl_); }

void SmtpClient::heard(const char* data, std::size_t size) {
  std::string_view text(data, size);
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string line(platform::trimBlanks(text.substr(0, end)));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty()) continue;
    if (!connected_ && line.starts_with("220")) {
      connected_ = true;
      if (events_.connected) events_.connected();
    } else if (startTlsAsked_) {
      startTlsAsked_ = false;
      secured_ = line.starts_with("220");
    }
    replies_.push_back(std::move(line));
  }
}

void SmtpClient::said(const char* data, std::size_t size) {
  const std::string command(data, size);
  // The capabilities that count are those of the last greeting, after STARTTLS.
  if (startsWithWord(command, "EHLO")) replies_.clear();
  if (startsWithWord(command, "STARTTLS")) startTlsAsked_ = true;
  if (startsWithWord(command, "MAIL FROM") && events_.sending) events_.sending();
}

void SmtpClient::prepare() {
  CURL* curl = curl_;
  curl_easy_reset(curl);
  errorText_[0] = '\0';
  replies_.clear();
  connected_ = false;
  startTlsAsked_ = false;
  secured_ = startsWithWord(server_.url, "smtps://");
  curl_easy_setopt(curl, CURLOPT_URL, server_.url.c_str());
  platform::setCommonCurlOptions(curl, errorText_, &SmtpCallbacks::debug, &SmtpCallbacks::progress, this);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, server_.timeoutMs);
  const long seconds = (server_.timeoutMs + 999) / 1000;
  curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, seconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, seconds);
  curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(server_.requireTls ? CURLUSESSL_ALL : CURLUSESSL_TRY));
  const char* bundle = server_.caFile.empty() ? std::getenv("CURL_CA_BUNDLE") : server_.caFile.c_str();
  if (bundle && *bundle) curl_easy_setopt(curl, CURLOPT_CAINFO, bundle);
  if (!server_.login.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, server_.login.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, server_.password.c_str());
  }
}

SmtpOutcome SmtpClient::perform() {
  const CURLcode code = curl_easy_perform(curl_);
  const std::string last = replies_.empty() ? std::string() : replies_.back();
  if (code == CURLE_OK) return {SmtpStatus::Done, last};
  if (aborted_) return {SmtpStatus::Aborted, {}};
  const std::string reason = isErrorReply(last) ? last : errorText_[0] ? errorText_ : curl_easy_strerror(code);
  if (code == CURLE_COULDNT_RESOLVE_HOST) return {SmtpStatus::HostNotFound, reason};
  if (code == CURLE_LOGIN_DENIED) return {SmtpStatus::LoginFailed, reason};
  return {connected_ ? SmtpStatus::Failed : SmtpStatus::ConnectionFailed, reason};
}

SmtpOutcome SmtpClient::probe(ServerOffers& offers) {
  prepare();
  // Looking only: no login yet, whatever the server offers.
  curl_easy_setopt(curl_, CURLOPT_USERNAME, nullptr);
  curl_easy_setopt(curl_, CURLOPT_PASSWORD, nullptr);
  curl_easy_setopt(curl_, CURLOPT_CONNECT_ONLY, 1L);
  const SmtpOutcome outcome = perform();
  if (outcome.status == SmtpStatus::Done) {
    offers.tls = secured_;
    offers.authentication = false;
    for (const std::string& line : replies_) {
      if (line.size() > 4 && line.starts_with("250") && startsWithWord(line.substr(4), "AUTH")) {
        offers.authentication = true;
      }
    }
  }
  // A connection made for looking only is not used for sending: end it.
  curl_easy_cleanup(curl_);
  curl_ = platform::newCurlHandle();
  return outcome;
}

SmtpOutcome SmtpClient::send(const MailMessage& message) {
  prepare();
  std::unique_ptr<curl_mime, MimeFree> mime(curl_mime_init(curl_));
  if (!mime) throw Error("Out of memory");
  const std::string body = withCrLf(message.body);
  curl_mimepart* text = curl_mime_addpart(mime.get());
  curl_mime_data(text, body.data(), body.size());
  curl_mime_type(text, "text/plain; charset=utf-8");
  curl_mime_encoder(text, "quoted-printable");

  std::string readFailure;
  std::vector<std::unique_ptr<AttachmentReader>> readers;
  for (const Attachment& attachment : message.attachments) {
    std::error_code ec;
    const auto size = fs::file_size(attachment.file, ec);
    if (ec) throw Error("Cannot read " + platform::displayName(attachment.file) + ": " + ec.message());
    readers.push_back(std::make_unique<AttachmentReader>(AttachmentReader{attachment, events_, readFailure}));
    curl_mimepart* part = curl_mime_addpart(mime.get());
    curl_mime_data_cb(part, static_cast<curl_off_t>(size), &AttachmentReader::read, &AttachmentReader::seek, nullptr,
                      readers.back().get());
    curl_mime_filename(part, attachment.name.c_str());
    curl_mime_type(part, attachmentType(attachment.name));
    curl_mime_encoder(part, "base64");
  }

  CurlList headers, recipients;
  for (const std::string& line : messageHeaders(message, std::chrono::system_clock::now())) headers.add(line);
  for (const std::string& address : message.to) recipients.add("<" + address + ">");
  const std::string from = "<" + message.fromAddress + ">";
  curl_easy_setopt(curl_, CURLOPT_MAIL_FROM, from.c_str());
  curl_easy_setopt(curl_, CURLOPT_MAIL_RCPT, recipients.get());
  curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(curl_, CURLOPT_MIMEPOST, mime.get());
  const SmtpOutcome outcome = perform();
  if (outcome.status != SmtpStatus::Done && !readFailure.empty()) return {SmtpStatus::Failed, readFailure};
  return outcome;
}

}  // namespace vistrel::mail
