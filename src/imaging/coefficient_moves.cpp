#include "imaging/coefficient_moves.h"

#include <algorithm>
#include <utility>

namespace vistrel::imaging::lossless {
namespace {

// One block moved into place: transposed or not, then the odd horizontal
// frequencies (u, the column in natural order) negated for a mirror across
// the vertical axis, the odd vertical ones (v, the row) for a mirror across
// the horizontal axis. A function per case, so that each unrolls into plain
// loads and stores.
template <bool Transpose, bool NegateOddU, bool NegateOddV>
void moveBlockAs(const JCOEF* in, JCOEF* out) {
#pragma GCC unroll 8
  for (int v = 0; v < DCTSIZE; ++v) {
#pragma GCC unroll 8
    for (int u = 0; u < DCTSIZE; ++u) {
      const JCOEF c = in[Transpose ? u * DCTSIZE + v : v * DCTSIZE + u];
      const bool negate = (NegateOddU && (u & 1)) != (NegateOddV && (v & 1));
      out[v * DCTSIZE + u] = negate ? static_cast<JCOEF>(-c) : c;
    }
  }
}

using BlockMove = void (*)(const JCOEF*, JCOEF*);

// Indexed by transpose × 4 + odd u negated × 2 + odd v negated.
constexpr BlockMove kBlockMoves[8] = {moveBlockAs<false, false, false>, moveBlockAs<false, false, true>,
                                      moveBlockAs<false, true, false>,  moveBlockAs<false, true, true>,
                                      moveBlockAs<true, false, false>,  moveBlockAs<true, false, true>,
                                      moveBlockAs<true, true, false>,   moveBlockAs<true, true, true>};

BlockMove blockMoveFor(bool transpose, bool negateOddU, bool negateOddV) {
  return kBlockMoves[(transpose ? 4 : 0) + (negateOddU ? 2 : 0) + (negateOddV ? 1 : 0)];
}

// Blocks of whole MCUs across (W) and down (H) in one destination component;
// only these can be mirrored.
struct WholeBlocks {
  JDIMENSION across;
  JDIMENSION down;
};

WholeBlocks wholeBlocksOf(j_compress_ptr dst, const jpeg_component_info& component) {
  const JDIMENSION mcuWidth = static_cast<JDIMENSION>(dst->max_h_samp_factor * DCTSIZE);
  const JDIMENSION mcuHeight = static_cast<JDIMENSION>(dst->max_v_samp_factor * DCTSIZE);
  return {dst->image_width / mcuWidth * static_cast<JDIMENSION>(component.h_samp_factor),
          dst->image_height / mcuHeight * static_cast<JDIMENSION>(component.v_samp_factor)};
}

JBLOCKARRAY blockRows(j_decompress_ptr owner, jvirt_barray_ptr array, JDIMENSION row, JDIMENSION count, bool writable) {
  return (*owner->mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(owner), array, row, count,
                                           writable ? TRUE : FALSE);
}

// Where a destination block comes from, and how it is turned.
struct SourceBlock {
  JDIMENSION row;
  JDIMENSION column;
  BlockMove move;
};

SourceBlock sourceOf(JDIMENSION x, JDIMENSION y, const WholeBlocks& whole, const BlockMoves& moves) {
  const bool mirrorX = moves.mirrorX && x < whole.across;
  const bool mirrorY = moves.mirrorY && y < whole.down;
  const JDIMENSION innerX = mirrorX ? whole.across - 1 - x : x;
  const JDIMENSION innerY = mirrorY ? whole.down - 1 - y : y;
  const BlockMove move = blockMoveFor(moves.transpose, mirrorX, mirrorY);
  return moves.transpose ? SourceBlock{innerX, innerY, move} : SourceBlock{innerY, innerX, move};
}

// The destination is filled a band of rows at a time, and the inner loop
// keeps to one source row: for a transposition that means down the band's
// columns. Reading the source down its columns instead would make every
// block a cache miss of its own.
void moveComponent(j_decompress_ptr src, jvirt_barray_ptr from, jvirt_barray_ptr to, j_compress_ptr dst,
                   const jpeg_component_info& component, const BlockMoves& moves) {
  const WholeBlocks whole = wholeBlocksOf(dst, component);
  // The rows of the last MCU row's padding are moved too: the compressor
  // reads them (and then codes dummy blocks of its own in their place).
  const JDIMENSION width = component.width_in_blocks;
  const JDIMENSION height = roundUp(component.height_in_blocks, component.v_samp_factor);
  JDIMENSION cachedRow = 0;
  JBLOCKROW cached = nullptr;
  for (JDIMENSION top = 0; top < height; top += kBandRows) {
    const JDIMENSION rows = std::min<JDIMENSION>(kBandRows, height - top);
    const JBLOCKARRAY band = blockRows(src, to, top, rows, true);
    const auto move = [&](JDIMENSION x, JDIMENSION y) {
      const SourceBlock source = sourceOf(x, y, whole, moves);
      if (!cached || source.row != cachedRow) {
        cached = blockRows(src, from, source.row, 1, false)[0];
        cachedRow = source.row;
      }
      source.move(cached[source.column], band[y - top][x]);
    };
    if (moves.transpose) {
      for (JDIMENSION x = 0; x < width; ++x) {
        for (JDIMENSION y = top; y < top + rows; ++y) move(x, y);
      }
    } else {
      for (JDIMENSION y = top; y < top + rows; ++y) {
        for (JDIMENSION x = 0; x < width; ++x) move(x, y);
      }
    }
  }
}

}  // namespace

BlockMoves movesOf(JpegTransform transform) {
  switch (transform) {
    case JpegTransform::None: return {};
    case JpegTransform::FlipHorizontal: return {false, true, false};
    case JpegTransform::FlipVertical: return {false, false, true};
    case JpegTransform::Transpose: return {true, false, false};
    case JpegTransform::Transverse: return {true, true, true};
    case JpegTransform::Rotate90: return {true, true, false};
    case JpegTransform::Rotate180: return {false, true, true};
    case JpegTransform::Rotate270: return {true, false, true};
  }
  return {};
}

void transposeQuantTables(j_compress_ptr dst) {
  for (JQUANT_TBL* table : dst->quant_tbl_ptrs) {
    if (!table) continue;
    for (int v = 0; v < DCTSIZE; ++v) {
      for (int u = v + 1; u < DCTSIZE; ++u)
        std::swap(table->quantval[v * DCTSIZE + u], table->quantval[u * DCTSIZE + v]);
    }
  }
}

void moveCoefficients(j_decompress_ptr src, jvirt_barray_ptr* srcArrays, j_compress_ptr dst,
                      jvirt_barray_ptr* dstArrays, const BlockMoves& moves) {
  for (int ci = 0; ci < dst->num_components; ++ci) {
    moveComponent(src, srcArrays[ci], dstArrays[ci], dst, dst->comp_info[ci], moves);
  }
}

void mirrorInPlace(j_decompress_ptr src, jvirt_barray_ptr* arrays, j_compress_ptr dst) {
  const BlockMove negate = blockMoveFor(false, true, false);
  for (int ci = 0; ci < dst->num_components; ++ci) {
    const jpeg_component_info& component = dst->comp_info[ci];
    const JDIMENSION across = wholeBlocksOf(dst, component).across;
    for (JDIMENSION y = 0; y < component.height_in_blocks; ++y) {
      const JBLOCKROW row = blockRows(src, arrays[ci], y, 1, true)[0];
      for (JDIMENSION left = 0, right = across; left < right--; ++left) {
        JBLOCK saved;
        negate(row[left], saved);
        if (left != right) negate(row[right], row[left]);
        std::copy(saved, saved + DCTSIZE2, row[right]);
      }
    }
  }
}

}  // namespace vistrel::imaging::lossless
