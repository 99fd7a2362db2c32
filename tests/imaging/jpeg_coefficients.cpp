#include "jpeg_coefficients.h"

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/codecs/jpeg_error.h"

namespace vistrel::imaging::test {
namespace {

// Plain data the setjmp function fills; the vectors are sized before libjpeg runs.
struct ReadJob {
  std::string_view input;
  JpegCoefficients* coefficients = nullptr;
  std::vector<std::pair<int, std::string>>* markers = nullptr;
  char message[JMSG_LENGTH_MAX] = {};
};

void copyComponents(j_decompress_ptr cinfo, jvirt_barray_ptr* arrays, JpegCoefficients& out) {
  for (int ci = 0; ci < cinfo->num_components; ++ci) {
    const jpeg_component_info& c = cinfo->comp_info[ci];
    JpegComponent& component = out.components[static_cast<std::size_t>(ci)];
    component.h = c.h_samp_factor;
    component.v = c.v_samp_factor;
    component.widthInBlocks = c.width_in_blocks;
    component.heightInBlocks = c.height_in_blocks;
    std::memcpy(component.quant.data(), c.quant_table->quantval, sizeof component.quant);
    component.blocks.resize(std::size_t{c.width_in_blocks} * c.height_in_blocks);
    for (JDIMENSION y = 0; y < c.height_in_blocks; ++y) {
      const JBLOCKROW row =
          (*cinfo->mem->access_virt_barray)(reinterpret_cast<j_common_ptr>(cinfo), arrays[ci], y, 1, FALSE)[0];
      for (JDIMENSION x = 0; x < c.width_in_blocks; ++x) {
        std::memcpy(component.blocks[std::size_t{y} * c.width_in_blocks + x].data(), row[x], sizeof(JBLOCK));
      }
    }
  }
}

bool read(ReadJob& job) {
  jpeg_decompress_struct cinfo;
  codecs::JpegErrorManager errors;
  codecs::installJpegErrorManager(reinterpret_cast<j_common_ptr>(&cinfo), errors);
  if (setjmp(errors.jump)) {
    std::memcpy(job.message, errors.message, sizeof job.message);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(job.input.data()),
               static_cast<unsigned long>(job.input.size()));
  jpeg_save_markers(&cinfo, JPEG_COM, 0xFFFF);
  for (int marker = JPEG_APP0; marker <= JPEG_APP0 + 15; ++marker) jpeg_save_markers(&cinfo, marker, 0xFFFF);
  jpeg_read_header(&cinfo, TRUE);
  if (job.markers) {
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next) {
      job.markers->emplace_back(m->marker, std::string(reinterpret_cast<const char*>(m->data), m->data_length));
    }
  }
  if (job.coefficients) {
    job.coefficients->width = static_cast<int>(cinfo.image_width);
    job.coefficients->height = static_cast<int>(cinfo.image_height);
    job.coefficients->components.resize(static_cast<std::size_t>(cinfo.num_components));
    copyComponents(&cinfo, jpeg_read_coefficients(&cinfo), *job.coefficients);
  }
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

JpegCoefficients readCoefficients(std::string_view jpeg) {
  JpegCoefficients coefficients;
  ReadJob job{jpeg, &coefficients, nullptr};
  if (!read(job)) ADD_FAILURE() << "not a JPEG: " << job.message;
  return coefficients;
}

std::vector<std::pair<int, std::string>> markersOf(std::string_view jpeg) {
  std::vector<std::pair<int, std::string>> markers;
  ReadJob job{jpeg, nullptr, &markers};
  if (!read(job)) ADD_FAILURE() << "not a JPEG: " << job.message;
  return markers;
}

}  // namespace vistrel::imaging::test
