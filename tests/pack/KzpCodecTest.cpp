// The base64 codec against the plain bit accumulator: exact text, stop points, tails.
#include "pack/KzpCodec.h"

#include "PackTestUtil.h"

#include <cctype>
#include <gtest/gtest.h>
#include <random>

namespace {

std::string RandomBytes(std::mt19937 &rng, std::size_t n) {
  std::string s(n, '\0');
  for (char &c : s)
    c = static_cast<char>(rng() & 0xFF);
  return s;
}

TEST(EncodeBase64, WritesNoFillCharacters) {
  EXPECT_EQ(EncodeBase64("abc"), "YWJj");
  EXPECT_EQ(EncodeBase64("ab"), "YWI");
  EXPECT_EQ(EncodeBase64("a"), "YQ");
  EXPECT_EQ(EncodeBase64(""), "");
  EXPECT_EQ(EncodeBase64(std::string("\xFF\xFF\xFF\xFE", 4)), "/////g");
  EXPECT_EQ(EncodeBase64(std::string("\0\0\0", 3)), "AAAA");
}

TEST(EncodeBase64, MatchesTheBitAccumulatorForEveryLengthAndByte) {
  std::mt19937 rng(7);
  // Lengths around every unrolled step of the fast path and its tails.
  for (std::size_t n = 0; n < 200; ++n) {
    const std::string bytes = RandomBytes(rng, n);
    ASSERT_EQ(EncodeBase64(bytes), ReferenceEncode(bytes)) << "length " << n;
  }
  const std::string all = AllBytes() + AllBytes();
  EXPECT_EQ(EncodeBase64(all), ReferenceEncode(all));
  const std::string big = RandomBytes(rng, 100003);
  EXPECT_EQ(EncodeBase64(big), ReferenceEncode(big));
}

// Runs `check` with the wide decoder and with the table code alone.
template <typename F> void BothDecoders(F check) {
  for (bool wide : {true, false}) {
    SCOPED_TRACE(wide ? "wide decoder" : "table decoder");
    const bool was = UseWideDecoder(wide);
    check();
    UseWideDecoder(was);
  }
}

TEST(DecodeBase64, RoundTripsEveryLength) {
  BothDecoders([] {
    std::mt19937 rng(11);
    for (std::size_t n = 0; n < 200; ++n) {
      const std::string bytes = RandomBytes(rng, n);
      ASSERT_EQ(DecodeBase64(EncodeBase64(bytes)), bytes) << "length " << n;
    }
    EXPECT_EQ(DecodeBase64(EncodeBase64(AllBytes())), AllBytes());
    const std::string big = RandomBytes(rng, 100003);
    EXPECT_EQ(DecodeBase64(EncodeBase64(big)), big);
  });
}

TEST(DecodeBase64, StopsAtTheFirstCharacterOutsideTheAlphabet) {
  EXPECT_EQ(DecodeBase64("YWJj"), "abc");
  EXPECT_EQ(DecodeBase64("YWI="), "ab");
  EXPECT_EQ(DecodeBase64("YQ=="), "a");
  EXPECT_EQ(DecodeBase64("YWJj YWJj"), "abc");
  EXPECT_EQ(DecodeBase64("YWJj\rYWJj"), "abc");
  EXPECT_EQ(DecodeBase64("YW=JjYWJj"), "a");
  EXPECT_EQ(DecodeBase64(std::string("YWJj\0YWJj", 9)), "abc");
  EXPECT_EQ(DecodeBase64("-YWJj"), "");
  // Bits left over at the end are dropped, whatever they are.
  EXPECT_EQ(DecodeBase64("Y"), "");
  EXPECT_EQ(DecodeBase64("YR"), "a");
  EXPECT_EQ(DecodeBase64("YWK"), "ab");
}

TEST(DecodeBase64, StopsWhereTheBitAccumulatorStopsAtEveryPositionOfALongText) {
  // The fast path works on 16- and 4-character groups; a bad character anywhere inside
  // them must give exactly the bytes the character-by-character rule gives.
  std::mt19937 rng(3);
  const std::string text = EncodeBase64(RandomBytes(rng, 60));
  for (char bad : {'=', ' ', '\n', '\xC4', '.'}) {
    for (std::size_t at = 0; at < text.size(); ++at) {
      std::string damaged = text;
      damaged[at] = bad;
      std::string out;
      const std::size_t stop = DecodeBase64To(damaged, out);
      ASSERT_EQ(out, ReferenceDecode(damaged)) << "bad char at " << at;
      ASSERT_EQ(stop, at);
    }
  }
  std::string out = "old content";
  EXPECT_EQ(DecodeBase64To(text, out), text.size());
  EXPECT_EQ(out, ReferenceDecode(text));
}

TEST(DecodeBase64, EveryByteValueAtEveryPlaceOfWideBlocksStopsExactly) {
  BothDecoders([] {
    // Long enough for the 32-character blocks, then the 16- and 4-character groups and the
    // last partial group; each of the 256 byte values put at each place.
    std::mt19937 rng(17);
    const std::string text = EncodeBase64(RandomBytes(rng, 80)).substr(0, 106);
    for (std::size_t at = 0; at < text.size(); ++at) {
      for (int value = 0; value < 256; ++value) {
        std::string changed = text;
        changed[at] = static_cast<char>(value);
        std::string out;
        const std::size_t stop = DecodeBase64To(changed, out);
        const std::string expected = ReferenceDecode(changed);
        ASSERT_EQ(out, expected) << "value " << value << " at " << at;
        const bool inAlphabet =
            (value < 128 && std::isalnum(value)) || value == '+' || value == '/';
        ASSERT_EQ(stop, inAlphabet ? changed.size() : at) << "value " << value << " at " << at;
      }
    }
  });
}

TEST(DecodeBase64Span, GivesAnyRangeOfALongText) {
  BothDecoders([] {
    std::mt19937 rng(19);
    const std::string bytes = RandomBytes(rng, 300);
    const std::string text = EncodeBase64(bytes);
    for (std::size_t first = 0; first <= bytes.size(); first += 7) {
      for (std::size_t end = first; end <= bytes.size(); ++end) {
        std::string out(end - first, '?');
        DecodeBase64Span(text, first, end, out.data());
        ASSERT_EQ(out, bytes.substr(first, end - first)) << first << ".." << end;
      }
    }
  });
}

TEST(DecodeBase64Span, GivesAnyRangeOfTheDecodedBytes) {
  std::mt19937 rng(9);
  for (std::size_t n : {0u, 1u, 2u, 3u, 4u, 5u, 17u, 40u}) {
    const std::string bytes = RandomBytes(rng, n);
    const std::string text = EncodeBase64(bytes);
    for (std::size_t first = 0; first <= n; ++first) {
      for (std::size_t end = first; end <= n; ++end) {
        std::string out(end - first, '?');
        DecodeBase64Span(text, first, end, out.data());
        ASSERT_EQ(out, bytes.substr(first, end - first)) << n << ": " << first << ".." << end;
      }
    }
  }
}

TEST(TBase64StreamEncoder, PiecesEncodeAsTheirConcatenation) {
  std::mt19937 rng(5);
  const std::string bytes = RandomBytes(rng, 1000);
  for (std::size_t piece : {1u, 2u, 3u, 4u, 5u, 7u, 64u, 999u}) {
    TBase64StreamEncoder encoder;
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
      encoder.Feed(std::string_view(bytes).substr(at, piece), out);
    encoder.Finish(out);
    ASSERT_EQ(out, EncodeBase64(bytes)) << "piece " << piece;
  }
  TBase64StreamEncoder encoder;
  std::string out;
  encoder.Feed("a", out);
  encoder.Feed("", out);
  encoder.Finish(out);
  EXPECT_EQ(out, "YQ");
  // After Finish a new stream starts with nothing carried over.
  encoder.Feed("abc", out);
  encoder.Finish(out);
  EXPECT_EQ(out, "YQYWJj");
}

} // namespace
