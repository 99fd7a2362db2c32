#pragma once

#include <set>
#include <string>
#include <string_view>

namespace vistrel::platform {

// "img.jpg" numbered 2 is "img_2.jpg": the number goes before the last
// extension ("scan.old_2.jpg"), or at the end of a name without one.
std::string numberedName(std::string_view name, int number);

// Hands out file names that differ from every name handed out before, also in
// the case of their letters, as the systems that unpack a mail or an archive
// may not tell "IMG.jpg" from "img.jpg". A name that is taken is numbered
// (numberedName) until it is free.
class FreeNames {
 public:
  std::string claim(std::string_view name);

 private:
  std::set<std::string> taken_;  // lower-cased
};

}  // namespace vistrel::platform
