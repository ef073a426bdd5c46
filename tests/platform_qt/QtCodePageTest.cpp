// The code page at the Qt boundary: every byte survives the way through a QString.
#include "platform/qt/QtCodePage.h"

#include <gtest/gtest.h>

using namespace kzp::codepage;

TEST(QtCodePage, EveryByteRoundTripsThroughQString) {
  std::string all;
  for (int c = 0; c < 256; ++c)
    all.push_back(static_cast<char>(c));
  bool lossless = false;
  EXPECT_EQ(FromQString(ToQString(all), &lossless), all);
  EXPECT_TRUE(lossless);
}
