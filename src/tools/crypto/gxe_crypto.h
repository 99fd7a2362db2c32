#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace vistrel::platform {
class AtomicFile;
}

namespace vistrel::crypto {

// Encrypts files into the program's encrypted format and back.
class TGXECrypto {
 public:
  // Percent (0 to 100) of the file at hand; a handler that throws is ignored.
  std::function<void(int percent)> OnProgress;
  // Asked when the decrypted file's name is taken: true replaces that file.
  // Without a handler it is replaced.
  std::function<bool(const std::filesystem::path& target)> OnFileExists;

  // Where the decrypted data went: `path` differs from `target` when the user
  // kept the file that had the stored name, or when that file is the
  // encrypted one itself.
  struct Decrypted {
    std::filesystem::path target;
    std::filesystem::path path;
    bool keptBeside() const { return path != target; }
  };

  // Writes the encryption beside the source, under its name with the
  // extension replaced, and returns that path. An existing file there is
  // replaced only once the new one is complete and reads back with the
  // password and the source's name. Throws Error.
  std::filesystem::path EncryptFile(const std::filesystem::path& source, int algorithm, std::string_view password,
                                    std::string_view extension = "VXX");
  // Restores the file under its stored name (reduced to a bare name) in
  // `destination`. The data is written beside it first and renamed into place
  // only when complete, so a wrong password or a damaged file leaves nothing
  // under that name. Throws Error.
  Decrypted DecryptFile(const std::filesystem::path& encrypted, const std::filesystem::path& destination,
                        std::string_view password);

  // True when the file is longer than 40 bytes and begins with a marker.
  static bool IsFile_Vistrel_Encrypted(const std::filesystem::path& path);
  // photo.jpg gives photo.VXX; a name without extension gets ".VXX" appended.
  static std::filesystem::path EncryptedPath(const std::filesystem::path& source, std::string_view extension = "VXX");

 private:
  void progress(int percent) const;
  Decrypted place(platform::AtomicFile& out, const std::filesystem::path& target,
                  const std::filesystem::path& encrypted) const;
};

}  // namespace vistrel::crypto
