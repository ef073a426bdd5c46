// Prefix comparison of typed text with entries.
#include "completion/KzCompletionMatch.h"

#include <array>

namespace {

constexpr std::array<unsigned char, 256> MakeUpperTable(bool wholeCodePage) {
  std::array<unsigned char, 256> t{};
  for (int c = 0; c < 256; ++c)
    t[c] = static_cast<unsigned char>(c);
  for (int c = 'a'; c <= 'z'; ++c)
    t[c] = static_cast<unsigned char>(c - 32);
  if (wholeCodePage) {
    for (int c = 0xE0; c <= 0xFE; ++c)
      if (c != 0xF7) // the division sign has no capital
        t[c] = static_cast<unsigned char>(c - 32);
    t[0x9A] = 0x8A; // š
    t[0x9C] = 0x8C; // œ
    t[0x9E] = 0x8E; // ž
    t[0xFF] = 0x9F; // ÿ
  }
  return t;
}

constexpr std::array<unsigned char, 256> kAnsiUpper = MakeUpperTable(true);
constexpr std::array<unsigned char, 256> kAsciiUpper = MakeUpperTable(false);

} // namespace

unsigned char AnsiUpperChar(unsigned char c) { return kAnsiUpper[c]; }

bool PrefixMatches(std::string_view candidate, std::string_view prefix, bool localeRules,
                   bool caseSensitive) {
  // The candidate is cut to the prefix's length first: a shorter one cannot match.
  if (candidate.size() < prefix.size())
    return false;
  if (caseSensitive)
    return candidate.substr(0, prefix.size()) == prefix;
  const std::array<unsigned char, 256> &upper = localeRules ? kAnsiUpper : kAsciiUpper;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (upper[static_cast<unsigned char>(candidate[i])] !=
        upper[static_cast<unsigned char>(prefix[i])])
      return false;
  return true;
}
