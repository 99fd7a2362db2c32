#pragma once
// How a lossless transform moves the DCT blocks of each component, and what
// it does to the coefficients inside a block. Called from inside the
// function that owns libjpeg's setjmp: nothing here allocates or throws, and
// libjpeg's own errors jump straight back there.

// jpeglib.h needs FILE and size_t declared before it.
// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include "imaging/lossless_transform.h"

namespace vistrel::imaging::lossless {

// Every transform is a transposition or none, then mirrors across the
// vertical axis (columns run backwards) and the horizontal axis (rows do).
struct BlockMoves {
  bool transpose = false;
  bool mirrorX = false;
  bool mirrorY = false;
  bool any() const { return transpose || mirrorX || mirrorY; }
};

BlockMoves movesOf(JpegTransform transform);

// A count of blocks rounded up to whole MCUs of `blocksPerMcu`.
inline JDIMENSION roundUp(JDIMENSION blocks, int blocksPerMcu) {
  const auto unit = static_cast<JDIMENSION>(blocksPerMcu);
  return (blocks + unit - 1) / unit * unit;
}

// Destination rows the moves fill at once: the workspace arrays must allow
// that many in one access.
inline constexpr JDIMENSION kBandRows = 16;

// Transposes every quantisation table of the compressor.
void transposeQuantTables(j_compress_ptr dst);

// Fills the destination arrays (of the compressor's geometry) from the
// source arrays, every row up to the end of the last MCU row, which the
// compressor reads too. Blocks of a partial MCU along a mirrored edge cannot be
// mirrored (their padding would come to the edge): they are only transposed.
void moveCoefficients(j_decompress_ptr src, jvirt_barray_ptr* srcArrays, j_compress_ptr dst,
                      jvirt_barray_ptr* dstArrays, const BlockMoves& moves);

// A horizontal mirror needs no second set of arrays: the blocks of each row
// swap places in the source arrays.
void mirrorInPlace(j_decompress_ptr src, jvirt_barray_ptr* arrays, j_compress_ptr dst);

}  // namespace vistrel::imaging::lossless
