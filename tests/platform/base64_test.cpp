#include "platform/base64.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace vistrel::platform {
namespace {

TEST(Base64, EncodesWithPaddingAndDecodesBack) {
  // RFC 4648 section 10 vectors.
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},          {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
  };
  for (const auto& [plain, encoded] : vectors) {
    EXPECT_EQ(base64Encode(plain), encoded);
    EXPECT_EQ(base64Decode(encoded), plain);
  }
}

TEST(Base64, RoundTripsEveryByteValue) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  bytes += "\r\nline two";
  EXPECT_EQ(base64Decode(base64Encode(bytes)), bytes);
}

TEST(Base64, DecoderIgnoresSpareBitsOfTheLastGroup) {
  // "Zh==" differs from "Zg==" only in bits that carry no data.
  EXPECT_EQ(base64Decode("Zh=="), "f");
  EXPECT_EQ(base64Decode("Zm9="), "fo");
}

TEST(Base64, RefusesMalformedText) {
  for (const char* bad : {"Zg=", "Zm9vY", "a", "Zm9v!A==", "====", "Z==="}) {
    try {
      base64Decode(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Base64: Incorrect string format");
    }
  }
}

}  // namespace
}  // namespace vistrel::platform
