#pragma once
// libjpeg's error handling, shared by the JPEG reader and writer. The error
// manager jumps back only into the one function that called libjpeg; that
// function destroys the libjpeg object and reports the message. No C++ object
// with a destructor may live in that function across the setjmp.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vistrel::imaging::codecs {

struct JpegErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// Installs the manager on cinfo (before jpeg_create_*). Warnings that mean
// the data ended early are fatal: a truncated file is damaged, not a picture.
void installJpegErrorManager(j_common_ptr cinfo, JpegErrorManager& manager);

// Ends the libjpeg call with our own message (from a callback of ours).
[[noreturn]] void failJpeg(j_common_ptr cinfo, const char* message);

// Bounds what a hostile file can make the decoder do: its memory to the pixel
// memory limit, its scans to a number no encoder writes. `progress` must live
// as long as the decompressor (after jpeg_create_decompress).
void guardDecompressor(j_decompress_ptr cinfo, jpeg_progress_mgr& progress);

}  // namespace vistrel::imaging::codecs
