// Converting between the program's code page and UTF-8.
#include "template/Utf8Text.h"

#include "platform/CodePage.h"

std::string Utf8Of(std::string_view codePageText) {
  std::string out;
  out.reserve(codePageText.size());
  for (const char byte : codePageText) {
    // Every byte of the code page maps to a character below U+10000.
    const char32_t c = kzp::codepage::ToUnicode(static_cast<unsigned char>(byte));
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool CodePageOfUtf8(std::string_view text, std::string &out) {
  out.clear();
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80             ? 0
                      : (lead & 0xE0) == 0xC0 ? 1
                      : (lead & 0xF0) == 0xE0 ? 2
                      : (lead & 0xF8) == 0xF0 ? 3
                                              : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size())
      return false;
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80)
        return false;
      c = (c << 6) | (next & 0x3F);
    }
    // Over-long forms would let two spellings stand for one name.
    static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (c < kLeast[extra])
      return false;
    const int byte = kzp::codepage::FromUnicode(c);
    if (byte < 0)
      return false;
    out += static_cast<char>(byte);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}
