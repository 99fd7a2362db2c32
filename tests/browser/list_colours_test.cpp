#include "browser/list_colours.h"

#include <gtest/gtest.h>

namespace vistrel::browser {
namespace {

using options::rgb;

TEST(ListColours, TextThatCannotBeReadOnItsBackgroundBecomesBlackOrWhite) {
  const auto navy = rgb(0, 0, 128), black = rgb(0, 0, 0), white = rgb(255, 255, 255);
  struct Case {
    options::Colour wanted, background, drawn;
  };
  const Case cases[] = {
      {navy, white, navy},                  // the usual list
      {navy, rgb(192, 192, 192), navy},     // on the classic silver description colour
      {navy, black, white},                 // the unreadable case: navy on black
      {navy, rgb(40, 40, 60), white},       // a dark theme's list
      {rgb(255, 255, 0), white, black},     // yellow on white
  };
  for (const Case& c : cases) EXPECT_EQ(readableTextColour(c.wanted, c.background), c.drawn) << std::hex << c.wanted << " on " << c.background;
  EXPECT_NEAR(contrastRatio(black, white), 21.0, 1e-9);
}

}  // namespace
}  // namespace vistrel::browser
