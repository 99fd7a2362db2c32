#include "imaging/codecs/jpeg_error.h"

#include <jerror.h>

namespace vistrel::imaging::codecs {
namespace {

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

}  // namespace vistrel::imaging::codecs
