#pragma once

namespace vistrel::metadata {

class TImageInfo;

// Decodes the maker note the directory walk has just met (MakerNoteBytes and
// MakerNotePos of `info` are set), appending to its MakerNoteListing and
// entries. Returns whether the camera maker was recognised.
bool DecodeMakerNote(TImageInfo& info, bool tiffMode);

}  // namespace vistrel::metadata
