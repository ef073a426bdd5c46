// The 8-bit code page must round-trip every byte and refuse what it cannot hold.
#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace kzp::codepage;

TEST(CodePage, EveryByteRoundTripsThroughUnicode) {
  std::string all;
  for (int c = 0; c < 256; ++c)
    all.push_back(static_cast<char>(c));
  EXPECT_EQ(FromUnicodeString(ToUnicodeString(all)), all);
}

TEST(CodePage, HighRangeMapsToWindowsCharacters) {
  EXPECT_EQ(ToUnicode(0x80), U'\u20AC'); // euro sign
  EXPECT_EQ(ToUnicode(0xE4), U'\u00E4'); // a umlaut as in Latin-1
  EXPECT_EQ(ToUnicode(0x9F), U'\u0178');
  EXPECT_EQ(FromUnicode(U'\u201E'), 0x84);
  EXPECT_EQ(FromUnicode(U'\u00DF'), 0xDF);
  EXPECT_EQ(FromUnicode(U'\u4E2D'), -1);
  bool lossless = true;
  EXPECT_EQ(FromUnicodeString(U"a\u4E2Db", &lossless), "ab");
  EXPECT_FALSE(lossless);
}
