#pragma once

#include "imaging/bitmap.h"

namespace vistrel::imaging {

// The picture reduced by 2^reduction on each side (rounded up, as the JPEG
// decoder's own scaling gives it), each pixel the mean of its block. The
// reduction of formats that cannot scale while decoding. Reduction 0 copies.
TBitmap ShrinkBitmap(const TBitmap& picture, int reduction);

}  // namespace vistrel::imaging
