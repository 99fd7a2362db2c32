#include "ftp/password_cipher.h"

#include <gtest/gtest.h>

#include "platform/error.h"

namespace vistrel::ftp {
namespace {

// Fields computed with an independent Blowfish (Python's cryptography package),
// byte-wise feedback written out by hand.
TEST(PasswordCipherTest, MatchesFieldsMadeByAnotherImplementation) {
  EXPECT_EQ(encipherPassword("secret"), "RDf4UsJk");
  EXPECT_EQ(encipherPassword("ftppass"), "UUfBXABbmA==");
  EXPECT_EQ(encipherPassword("a"), "Vg==");
  EXPECT_EQ(encipherPassword("p\xC3\xA4ssw\xC3\xB6rd"), "R/SHpBr9NbKcwA==");
  EXPECT_EQ(encipherPassword(""), "");
}

TEST(PasswordCipherTest, TheSamePasswordAlwaysGivesTheSameFieldAndDecodesBack) {
  for (const std::string password : {"x", "ftppass", "a much longer password with spaces > and =", "p\xC3\xA4ss"}) {
    const std::string field = encipherPassword(password);
    EXPECT_EQ(encipherPassword(password), field);
    EXPECT_EQ(field.find_first_of(">\r\n"), std::string::npos) << "fields must fit a site line";
    EXPECT_EQ(decipherPassword(field), password);
  }
}

TEST(PasswordCipherTest, SpareBitsOfTheLastCharacterAreIgnored) {
  // "Vg==" and "Vh==" differ only in bits that carry no data.
  EXPECT_EQ(decipherPassword("Vh=="), "a");
}

TEST(PasswordCipherTest, AFieldThatIsNotBase64IsRefused) {
  for (const char* field : {"abc", "RDf4UsJ", "RD!4UsJk"}) {
    try {
      decipherPassword(field);
      ADD_FAILURE() << field;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Base64: Incorrect string format") << field;
    }
  }
}

}  // namespace
}  // namespace vistrel::ftp
