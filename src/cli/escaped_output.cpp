#include "cli/escaped_output.h"

#include <iostream>
#include <streambuf>
#include <string>

#include "platform/control_escapes.h"

namespace vistrel::cli {

// Passes every byte through the escaper to the stream's own buffer, which it
// takes over for its life and gives back after.
class EscapedOutput::Buffer : public std::streambuf {
 public:
  explicit Buffer(std::ostream& stream) : stream_(stream), target_(stream.rdbuf(this)) {}
  ~Buffer() override {
    put(escaper_.finish());
    target_->pubsync();
    stream_.rdbuf(target_);
  }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    return put(escaper_.feed(traits_type::to_char_type(c))) ? c : traits_type::eof();
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    std::string out;
    out.reserve(static_cast<std::size_t>(count));
    for (std::streamsize i = 0; i < count; ++i) out += escaper_.feed(text[i]);
    return put(out) ? count : 0;
  }
  int sync() override { return target_->pubsync(); }

 private:
  bool put(const std::string& bytes) {
    return target_->sputn(bytes.data(), static_cast<std::streamsize>(bytes.size())) ==
           static_cast<std::streamsize>(bytes.size());
  }

  std::ostream& stream_;
  std::streambuf* target_;
  platform::ControlEscaper escaper_;
};

EscapedOutput::EscapedOutput()
    : out_(std::make_unique<Buffer>(std::cout)), err_(std::make_unique<Buffer>(std::cerr)) {}

EscapedOutput::~EscapedOutput() = default;

}  // namespace vistrel::cli
