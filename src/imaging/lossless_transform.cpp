#include "imaging/lossless_transform.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <utility>

#include "imaging/codecs/jpeg_error.h"
#include "imaging/coefficient_moves.h"
#include "imaging/exif_block.h"
#include "platform/error.h"

namespace vistrel::imaging {
namespace {

using lossless::BlockMoves;

constexpr int kApp1 = JPEG_APP0 + 1, kApp14 = JPEG_APP0 + 14;
constexpr unsigned kWholeMarker = 0xFFFF;
constexpr std::size_t kOutputChunk = 1 << 16;

// The compressor writes into `output` (owned by the caller, outside the
// setjmp function); a failed append becomes a libjpeg error.
struct StringDestination {
  jpeg_destination_mgr pub;
  std::string* output;
  JOCTET buffer[kOutputChunk];
};

bool appendChunk(StringDestination& d, std::size_t size) noexcept {
  try {
    d.output->append(reinterpret_cast<const char*>(d.buffer), size);
    return true;
  } catch (...) {
    return false;
  }
}

void startChunk(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<StringDestination*>(cinfo->dest);
  d->pub.next_output_byte = d->buffer;
  d->pub.free_in_buffer = kOutputChunk;
}

boolean flushChunk(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<StringDestination*>(cinfo->dest);
  if (!appendChunk(*d, kOutputChunk)) codecs::failJpeg(reinterpret_cast<j_common_ptr>(cinfo), "out of memory");
  startChunk(cinfo);
  return TRUE;
}

void finishOutput(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<StringDestination*>(cinfo->dest);
  if (!appendChunk(*d, kOutputChunk - d->pub.free_in_buffer)) {
    codecs::failJpeg(reinterpret_cast<j_common_ptr>(cinfo), "out of memory");
  }
}

// Plain data shared with the function that calls libjpeg; it survives the longjmp.
struct TransformJob {
  std::string_view input;
  TransformRequest request;
  MarkerCopy copy = MarkerCopy::All;
  TransformedJpeg* result = nullptr;
  StringDestination* destination = nullptr;
  char message[JMSG_LENGTH_MAX] = {};
};

bool keeps(MarkerCopy copy, int marker) {
  if (marker == JPEG_COM) return copy != MarkerCopy::None;
  return copy == MarkerCopy::All && marker >= JPEG_APP0 && marker <= JPEG_APP0 + 15;
}

bool startsWith(const jpeg_saved_marker_ptr marker, std::string_view text) {
  return marker->data_length >= text.size() && std::memcmp(marker->data, text.data(), text.size()) == 0;
}

std::span<std::uint8_t> payloadOf(jpeg_saved_marker_ptr marker) { return {marker->data, marker->data_length}; }

bool isExif(jpeg_saved_marker_ptr marker) { return marker->marker == kApp1 && isExifPayload(payloadOf(marker)); }

jpeg_saved_marker_ptr firstKept(j_decompress_ptr src, MarkerCopy copy) {
  for (jpeg_saved_marker_ptr m = src->marker_list; m; m = m->next) {
    if (keeps(copy, m->marker)) return m;
  }
  return nullptr;
}

JpegTransform orientationTransform(j_decompress_ptr src) {
  for (jpeg_saved_marker_ptr m = src->marker_list; m; m = m->next) {
    if (isExif(m)) return transformForOrientation(exifOrientation(payloadOf(m)));
  }
  return JpegTransform::None;
}

void saveMarkers(j_decompress_ptr src, const TransformJob& job) {
  if (job.copy != MarkerCopy::None) jpeg_save_markers(src, JPEG_COM, kWholeMarker);
  for (int marker = JPEG_APP0; marker <= JPEG_APP0 + 15; ++marker) {
    const bool needed = job.copy == MarkerCopy::All || (marker == kApp1 && job.request.followOrientation);
    if (needed) jpeg_save_markers(src, marker, kWholeMarker);
  }
}

// Only a full-resolution luminance can stand alone.
void makeGrey(j_decompress_ptr src, j_compress_ptr dst) {
  const bool ycc = src->jpeg_color_space == JCS_YCbCr && src->num_components == 3;
  const bool grey = src->jpeg_color_space == JCS_GRAYSCALE && src->num_components == 1;
  const jpeg_component_info& luma = src->comp_info[0];
  if ((!ycc && !grey) || luma.h_samp_factor != src->max_h_samp_factor || luma.v_samp_factor != src->max_v_samp_factor) {
    codecs::failJpeg(reinterpret_cast<j_common_ptr>(src), "this picture cannot be made grey without decoding it");
  }
  const int table = dst->comp_info[0].quant_tbl_no;
  jpeg_set_colorspace(dst, JCS_GRAYSCALE);
  dst->comp_info[0].quant_tbl_no = table;
}

// Arrays of the destination's geometry, requested before the coefficients
// are read (libjpeg sizes all its arrays at once).
jvirt_barray_ptr* requestWorkspace(j_decompress_ptr src, bool transpose, int components) {
  auto** arrays = static_cast<jvirt_barray_ptr*>(
      (*src->mem->alloc_small)(reinterpret_cast<j_common_ptr>(src), JPOOL_IMAGE,
                               sizeof(jvirt_barray_ptr) * static_cast<std::size_t>(components)));
  for (int ci = 0; ci < components; ++ci) {
    const jpeg_component_info& c = src->comp_info[ci];
    const bool alone = components == 1;
    const int across = alone ? 1 : transpose ? c.v_samp_factor : c.h_samp_factor;
    const int down = alone ? 1 : transpose ? c.h_samp_factor : c.v_samp_factor;
    const JDIMENSION width = transpose ? c.height_in_blocks : c.width_in_blocks;
    const JDIMENSION height = transpose ? c.width_in_blocks : c.height_in_blocks;
    arrays[ci] = (*src->mem->request_virt_barray)(reinterpret_cast<j_common_ptr>(src), JPOOL_IMAGE, FALSE,
                                                  lossless::roundUp(width, across), lossless::roundUp(height, down),
                                                  std::max(static_cast<JDIMENSION>(down), lossless::kBandRows));
  }
  return arrays;
}

// Size, sampling, tables and density of the turned picture; then the trim.
void adjustDestination(j_compress_ptr dst, const BlockMoves& moves, bool trim) {
  if (moves.transpose) {
    std::swap(dst->image_width, dst->image_height);
    for (int ci = 0; ci < dst->num_components; ++ci) {
      std::swap(dst->comp_info[ci].h_samp_factor, dst->comp_info[ci].v_samp_factor);
    }
    lossless::transposeQuantTables(dst);
    std::swap(dst->X_density, dst->Y_density);
  }
  if (!trim) return;
  int maxH = 1, maxV = 1;
  for (int ci = 0; ci < dst->num_components; ++ci) {
    maxH = std::max(maxH, dst->comp_info[ci].h_samp_factor);
    maxV = std::max(maxV, dst->comp_info[ci].v_samp_factor);
  }
  // Never below one MCU: a picture narrower than that keeps its size.
  const auto whole = [](JDIMENSION size, int mcu) {
    const auto unit = static_cast<JDIMENSION>(mcu * DCTSIZE);
    return size >= unit ? size / unit * unit : size;
  };
  if (moves.mirrorX) dst->image_width = whole(dst->image_width, maxH);
  if (moves.mirrorY) dst->image_height = whole(dst->image_height, maxV);
}

void writeMarkers(j_decompress_ptr src, j_compress_ptr dst, const TransformJob& job) {
  const bool resized = dst->image_width != src->image_width || dst->image_height != src->image_height;
  const bool resetOrientation = job.request.resetOrientation || job.request.followOrientation;
  for (jpeg_saved_marker_ptr m = src->marker_list; m; m = m->next) {
    if (!keeps(job.copy, m->marker)) continue;
    if (dst->write_JFIF_header && m->marker == JPEG_APP0 && startsWith(m, std::string_view("JFIF\0", 5))) continue;
    if (dst->write_Adobe_marker && m->marker == kApp14 && startsWith(m, "Adobe")) continue;
    if (isExif(m)) {
      if (resized)
        patchExifDimensions(payloadOf(m), static_cast<int>(dst->image_width), static_cast<int>(dst->image_height));
      if (resetOrientation) resetExifOrientation(payloadOf(m));
    }
    jpeg_write_marker(dst, m->marker, m->data, m->data_length);
  }
}

bool runTransform(TransformJob& job) {
  jpeg_decompress_struct src;
  jpeg_compress_struct dst;
  std::memset(&src, 0, sizeof src);
  std::memset(&dst, 0, sizeof dst);
  codecs::JpegErrorManager errors;
  jpeg_progress_mgr progress;
  codecs::installJpegErrorManager(reinterpret_cast<j_common_ptr>(&src), errors);
  dst.err = src.err;
  if (setjmp(errors.jump)) {
    std::memcpy(job.message, errors.message, sizeof job.message);
    jpeg_destroy_compress(&dst);
    jpeg_destroy_decompress(&src);
    return false;
  }
  jpeg_create_decompress(&src);
  jpeg_create_compress(&dst);
  codecs::guardDecompressor(&src, progress);
  jpeg_mem_src(&src, reinterpret_cast<const unsigned char*>(job.input.data()),
               static_cast<unsigned long>(job.input.size()));
  saveMarkers(&src, job);
  jpeg_read_header(&src, TRUE);

  const JpegTransform transform = job.request.followOrientation ? orientationTransform(&src) : job.request.transform;
  job.result->applied = transform;
  if (job.request.followOrientation && transform == JpegTransform::None) {
    jpeg_destroy_compress(&dst);
    jpeg_destroy_decompress(&src);
    return true;
  }
  const BlockMoves moves = lossless::movesOf(transform);
  const int components = job.request.forceGrayscale ? 1 : src.num_components;
  // A horizontal mirror works in the source arrays themselves.
  const bool inPlace = !moves.transpose && !moves.mirrorY;
  jvirt_barray_ptr* workspace = inPlace ? nullptr : requestWorkspace(&src, moves.transpose, components);
  jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&src);

  jpeg_copy_critical_parameters(&src, &dst);
  dst.optimize_coding = FALSE;
  if (job.request.forceGrayscale) makeGrey(&src, &dst);
  adjustDestination(&dst, moves, job.request.trim);
  const jpeg_saved_marker_ptr first = firstKept(&src, job.copy);
  if (first && isExif(first)) dst.write_JFIF_header = FALSE;

  dst.dest = &job.destination->pub;
  job.destination->pub.init_destination = startChunk;
  job.destination->pub.empty_output_buffer = flushChunk;
  job.destination->pub.term_destination = finishOutput;
  jpeg_write_coefficients(&dst, workspace ? workspace : coefficients);
  writeMarkers(&src, &dst, job);
  if (workspace) {
    lossless::moveCoefficients(&src, coefficients, &dst, workspace, moves);
  } else if (moves.mirrorX) {
    lossless::mirrorInPlace(&src, coefficients, &dst);
  }
  job.result->width = static_cast<int>(dst.image_width);
  job.result->height = static_cast<int>(dst.image_height);
  jpeg_finish_compress(&dst);
  jpeg_destroy_compress(&dst);
  jpeg_finish_decompress(&src);
  jpeg_destroy_decompress(&src);
  return true;
}

}  // namespace

JpegTransform transformForOrientation(int orientation) {
  static constexpr JpegTransform kUpright[] = {
      JpegTransform::None,      JpegTransform::FlipHorizontal, JpegTransform::Rotate180,  JpegTransform::FlipVertical,
      JpegTransform::Transpose, JpegTransform::Rotate90,       JpegTransform::Transverse, JpegTransform::Rotate270};
  return orientation >= 1 && orientation <= 8 ? kUpright[orientation - 1] : JpegTransform::None;
}

TransformedJpeg TransformJpeg(std::string_view jpeg, const TransformRequest& request, MarkerCopy copy) {
  TransformedJpeg result;
  result.bytes.reserve(jpeg.size() + jpeg.size() / 8);
  auto destination = std::make_unique<StringDestination>();
  destination->output = &result.bytes;
  TransformJob job;
  job.input = jpeg;
  job.request = request;
  job.copy = copy;
  job.result = &result;
  job.destination = destination.get();
  if (!runTransform(job)) throw Error(std::string("Cannot transform the JPEG data: ") + job.message);
  return result;
}

}  // namespace vistrel::imaging
