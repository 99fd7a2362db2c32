// TFastDIB::LoadFromStream on arbitrary bytes: whatever it accepts must
// convert to a bitmap and write back as a BMP that reads the same.
#include <cstdint>
#include <cstdlib>
#include <algorithm>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "imaging/dib_transfer.h"
#include "imaging/fast_dib.h"
#include "imaging/pixel_limits.h"
#include "platform/error.h"

using namespace vistrel;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  imaging::setPixelMemoryLimit(fuzz::kPixelMemoryLimit);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  imaging::TFastDIB dib;
  try {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    dib.LoadFromStream(in);
    imaging::TBitmap bitmap;
    imaging::DibToBitmap(dib, bitmap);  // may refuse: fewer bits per pixel fit the limit than 24
  } catch (const Error&) {
    return 0;
  }
  std::ostringstream out;
  dib.SaveToStream(out);
  const std::string written = out.str();
  imaging::TFastDIB again;
  again.LoadFromMemory({reinterpret_cast<const std::uint8_t*>(written.data()), written.size()});
  if (again.DataSize != dib.DataSize || !std::equal(dib.Bits, dib.Bits + dib.DataSize, again.Bits)) std::abort();
  return 0;
}
