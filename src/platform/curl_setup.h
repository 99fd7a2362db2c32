#pragma once

#include <curl/curl.h>

namespace vistrel::platform {

// A new easy handle, after initialising the library once per process. Throws
// Error when the library cannot be initialised.
CURL* newCurlHandle();

// What every request of our network clients needs: each protocol line through
// the debug callback, progress through the transfer callback (which cancels
// by returning non-zero), the library's error text in the buffer
// (CURL_ERROR_SIZE bytes), and no signals, as the clients run on worker threads.
void setCommonCurlOptions(CURL* curl, char* errorBuffer, curl_debug_callback debug, curl_xferinfo_callback progress,
                          void* client);

}  // namespace vistrel::platform
