#include "imaging/coefficient_moves.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vistrel::imaging::lossless {
namespace {

// Where each coefficient of an output block comes from (natural order, row v
// = vertical frequency, column u = horizontal) and its sign. Mirroring a
// block across the vertical axis negates the odd horizontal frequencies,
// across the horizontal axis the odd vertical ones.
struct BlockRecipe {
  std::array<int, DCTSIZE2> from{};
  std::array<int, DCTSIZE2> sign{};
};

constexpr BlockRecipe makeRecipe(bool transpose, bool negateOddU, bool negateOddV) {
  BlockRecipe recipe;
  for (int v = 0; v < DCTSIZE; ++v) {
    for (int u = 0; u < DCTSIZE; ++u) {
      const int k = v * DCTSIZE + u;
      recipe.from[k] = transpose ? u * DCTSIZE + v : k;
      const bool negate = (negateOddU && (u & 1)) != (negateOddV && (v & 1));
      recipe.sign[k] = negate ? -1 : 1;
    }
  }
  return recipe;
}

// Indexed by transpose × 4 + odd u negated × 2 + odd v negated.
constexpr std::array<BlockRecipe, 8> kRecipes = {
    makeRecipe(false, false, false), makeRecipe(false, false, true), makeRecipe(false, true, false),
    makeRecipe(false, true, true),   makeRecipe(true, false, false), makeRecipe(true, false, true),
    makeRecipe(true, true, false),   makeRecipe(true, true, true)};

const BlockRecipe& recipeFor(bool transpose, bool negateOddU, bool negateOddV) {
  return kRecipes[(transpose ? 4 : 0) + (negateOddU ? 2 : 0) + (negateOddV ? 1 : 0)];
}

void moveBlock(const JCOEF* in, JCOEF* out, const BlockRecipe& recipe) {
  for (int k = 0; k < DCTSIZE2; ++k) out[k] = static_cast<JCOEF>(in[recipe.from[k]] * recipe.sign[k]);
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

JBLOCKROW blockRow(j_decompress_ptr owner, jvirt_barray_ptr array, JDIMENSION row, bool writable) {
  return (*owner->mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(owner), array, row, 1,
                                          writable ? TRUE : FALSE)[0];
}

void moveComponent(j_decompress_ptr src, jvirt_barray_ptr from, jvirt_barray_ptr to, j_compress_ptr dst,
                   const jpeg_component_info& component, const BlockMoves& moves) {
  const WholeBlocks whole = wholeBlocksOf(dst, component);
  JDIMENSION cachedRow = 0;
  JBLOCKROW cached = nullptr;
  for (JDIMENSION y = 0; y < component.height_in_blocks; ++y) {
    const JBLOCKROW out = blockRow(src, to, y, true);
    const bool mirrorY = moves.mirrorY && y < whole.down;
    const JDIMENSION innerY = mirrorY ? whole.down - 1 - y : y;
    for (JDIMENSION x = 0; x < component.width_in_blocks; ++x) {
      const bool mirrorX = moves.mirrorX && x < whole.across;
      const JDIMENSION innerX = mirrorX ? whole.across - 1 - x : x;
      const JDIMENSION column = moves.transpose ? innerY : innerX;
      const JDIMENSION row = moves.transpose ? innerX : innerY;
      if (!cached || row != cachedRow) {
        cached = blockRow(src, from, row, false);
        cachedRow = row;
      }
      moveBlock(cached[column], out[x], recipeFor(moves.transpose, mirrorX, mirrorY));
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
      for (int u = v + 1; u < DCTSIZE; ++u) std::swap(table->quantval[v * DCTSIZE + u], table->quantval[u * DCTSIZE + v]);
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
  const BlockRecipe& negate = recipeFor(false, true, false);
  for (int ci = 0; ci < dst->num_components; ++ci) {
    const jpeg_component_info& component = dst->comp_info[ci];
    const JDIMENSION across = wholeBlocksOf(dst, component).across;
    for (JDIMENSION y = 0; y < component.height_in_blocks; ++y) {
      const JBLOCKROW row = blockRow(src, arrays[ci], y, true);
      for (JDIMENSION left = 0, right = across; left < right--; ++left) {
        JBLOCK saved;
        moveBlock(row[left], saved, negate);
        if (left != right) moveBlock(row[right], row[left], negate);
        std::copy(saved, saved + DCTSIZE2, row[right]);
      }
    }
  }
}

}  // namespace vistrel::imaging::lossless
