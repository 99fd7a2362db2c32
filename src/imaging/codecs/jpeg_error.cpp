#include "imaging/codecs/jpeg_error.h"

#include <jerror.h>

#include "imaging/pixel_limits.h"

namespace vistrel::imaging::codecs {
namespace {

// A flood of tiny progressive scans would make the decoder walk the picture
// once per scan; no encoder writes more than a few dozen.
constexpr int kMaxScans = 500;

void limitScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) failJpeg(cinfo, "too many scans");
}

[[noreturn]] void jumpBack(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->message);
  std::longjmp(manager->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level) {
  if (level == -1 && (cinfo->err->msg_code == JWRN_JPEG_EOF || cinfo->err->msg_code == JWRN_HIT_MARKER)) jumpBack(cinfo);
}

}  // namespace

void failJpeg(j_common_ptr cinfo, const char* message) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  std::snprintf(manager->message, sizeof manager->message, "%s", message);
  std::longjmp(manager->jump, 1);
}

void installJpegErrorManager(j_common_ptr cinfo, JpegErrorManager& manager) {
  cinfo->err = jpeg_std_error(&manager.pub);
  manager.pub.error_exit = jumpBack;
  manager.pub.emit_message = onMessage;
  manager.message[0] = '\0';
}

void guardDecompressor(j_decompress_ptr cinfo, jpeg_progress_mgr& progress) {
  cinfo->mem->max_memory_to_use = static_cast<long>(pixelMemoryLimit());
  progress.progress_monitor = limitScans;
  cinfo->progress = &progress;
}

}  // namespace vistrel::imaging::codecs
