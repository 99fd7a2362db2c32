#include "platform/curl_setup.h"

#include "platform/error.h"

namespace vistrel::platform {

CURL* newCurlHandle() {
  static const bool initialised = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
  CURL* curl = initialised ? curl_easy_init() : nullptr;
  if (!curl) throw Error("The network library could not be initialised.");
  return curl;
}

void setCommonCurlOptions(CURL* curl, char* errorBuffer, curl_debug_callback debug, curl_xferinfo_callback progress,
                          void* client) {
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
  curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
  curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, debug);
  curl_easy_setopt(curl, CURLOPT_DEBUGDATA, client);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, progress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, client);
}

}  // namespace vistrel::platform
