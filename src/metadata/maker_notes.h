#pragma once

#include <cstdint>
#include <string>

namespace vistrel::metadata {

class TImageInfo;

// Decodes the maker note that the directory walk has just met (MakerNoteBytes
// and MakerNotePos of the parent are set): recognises the camera maker by the
// make, and walks the maker's directory with its tag table and layout,
// appending to the parent's MakerNoteListing and entries. Made for one maker
// note.
class TmsInfo {
 public:
  TmsInfo(bool tiffMode, TImageInfo& parent);

  // Whether the maker was recognised (a directory that fails part-way still
  // counts: its error is in the owner's ErrorText).
  bool DecodeMakerNote();

  bool TiffMode;
  TImageInfo& Parent;
  std::int64_t MakerNotePos;
  std::string Make;  // the first five letters of the camera make, in capitals
};

}  // namespace vistrel::metadata
