#include "metadata/maker_notes.h"

namespace vistrel::metadata {

// No maker's directory layout is known yet, so no maker note is decoded.
bool DecodeMakerNote(TImageInfo&, bool) { return false; }

}  // namespace vistrel::metadata
