#include "tools/crypto/gxe_crypto.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/files.h"
#include "tools/crypto/vxx_format.h"

namespace vistrel::crypto {
namespace {

namespace fs = std::filesystem;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A regular file opened for reading, with its size; null when it cannot be
// opened or is something else (a device would never end).
File openRegular(const fs::path& path, std::uint64_t& size) {
  File file(std::fopen(path.c_str(), "rb"));
  struct stat info {};
  if (!file || ::fstat(::fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
  size = std::uint64_t(info.st_size);
  return file;
}

int percentOf(std::uint64_t position, std::uint64_t size) { return size == 0 ? 0 : int(position * 100 / size); }

bool sameFile(const fs::path& a, const fs::path& b) {
  std::error_code ignored;
  return fs::equivalent(a, b, ignored);
}

// The new file's header must open with the password and give back the
// source's name before it replaces anything: the original may be deleted next.
void verifyWritten(platform::AtomicFile& out, std::string_view password, int algorithm, const std::string& name,
                   std::uint64_t contentSize) {
  bool sound = std::fflush(out.stream()) == 0;
  std::uint64_t size = 0;
  const File back = sound ? openRegular(out.temporaryPath(), size) : nullptr;
  try {
    sound = back && size == kHeaderBytes + contentSize;
    if (sound) {
      const VxxReader reader(back.get(), password);
      sound = reader.algorithm() == algorithm && reader.storedName() == name;
    }
  } catch (const Error&) {
    sound = false;
  }
  if (!sound) throw Error("The encrypted file " + out.target().string() + " does not read back as written");
}

// "photo (2).jpg", "photo (3).jpg" ... beside the target: the first name that is free.
fs::path keepBeside(platform::AtomicFile& out, const fs::path& target) {
  for (int n = 2; n < 100000; ++n) {
    const fs::path candidate = platform::numberedName(target, n);
    if (out.commitAsNew(candidate)) return candidate;
  }
  throw Error("No free name beside " + target.string());
}

}  // namespace

fs::path TGXECrypto::EncryptedPath(const fs::path& source, std::string_view extension) {
  return fs::path(source).replace_extension("." + std::string(extension));
}

bool TGXECrypto::IsFile_Vistrel_Encrypted(const fs::path& path) {
  std::uint64_t size = 0;
  const File in = openRegular(path, size);
  if (!in) return false;
  std::array<char, kMarkerBytes> head{};
  try {
    const std::size_t n = readFully(in.get(), head);
    return algorithmOfMarker(std::string_view(head.data(), n)).has_value();
  } catch (const Error&) {
    return false;
  }
}

fs::path TGXECrypto::EncryptFile(const fs::path& source, int algorithm, std::string_view password,
                                 std::string_view extension) {
  std::uint64_t size = 0;
  const File in = openRegular(source, size);
  if (!in) throw Error("Unable to open the SOURCE file");
  const fs::path target = EncryptedPath(source, extension);
  // x.VXX itself, or x.vxx where case does not count: writing would replace the source.
  if (sameFile(source, target)) throw Error("Unable to open the DEST file");
  std::optional<platform::AtomicFile> out;
  try {
    out.emplace(target);
  } catch (const Error&) {
    throw Error("Unable to open the DEST file");
  }
  const std::string name = source.filename().string();
  FileCipher cipher(algorithm, password);
  out->write(encryptedHeader(algorithm, cipher, name));
  std::vector<char> piece(kPieceBytes);
  std::uint64_t position = 0;
  for (std::size_t n = kPieceBytes; n == kPieceBytes; position += n) {
    progress(percentOf(position, size));
    n = readFully(in.get(), piece);
    cipher.encrypt(std::span(piece).first(n));
    out->write(piece.data(), n);
  }
  progress(100);
  verifyWritten(*out, password, algorithm, name, position);
  out->commit();
  return target;
}

TGXECrypto::Decrypted TGXECrypto::DecryptFile(const fs::path& encrypted, const fs::path& destination,
                                              std::string_view password) {
  std::uint64_t size = 0;
  const File in = openRegular(encrypted, size);
  if (!in) throw Error("Unable to open source file");
  VxxReader reader(in.get(), password);
  std::string name = bareFileName(reader.storedName());
  if (name.empty()) name = bareFileName(encrypted.stem().string());
  if (name.empty()) name = "decrypted";
  const fs::path target = destination / name;
  platform::AtomicFile out(target);
  const std::uint64_t contentSize = size > kHeaderBytes ? size - kHeaderBytes : 0;
  std::uint64_t position = 0;
  for (std::size_t n = kPieceBytes; n == kPieceBytes; position += n) {
    progress(percentOf(position, contentSize));
    const std::span<const char> piece = reader.nextPiece();
    n = piece.size();
    out.write(piece.data(), n);
  }
  progress(100);
  return place(out, target, encrypted);
}

// The decrypted file takes the stored name unless a file has it that the user
// keeps, or that is the encrypted file itself; then it goes beside it.
TGXECrypto::Decrypted TGXECrypto::place(platform::AtomicFile& out, const fs::path& target,
                                        const fs::path& encrypted) const {
  const bool overSource = sameFile(target, encrypted);
  if (!overSource && out.commitAsNew(target)) return {target, target};
  if (!overSource && (!OnFileExists || OnFileExists(target))) {
    out.commit();
    return {target, target};
  }
  return {target, keepBeside(out, target)};
}

void TGXECrypto::progress(int percent) const {
  if (!OnProgress) return;
  try {
    OnProgress(percent);
  } catch (const std::exception&) {
    // A progress display that fails must not stop the file.
  }
}

}  // namespace vistrel::crypto
