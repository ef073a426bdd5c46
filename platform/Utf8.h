// UTF-8, the encoding of the command line, the terminal and the file system's names.
#pragma once

#include <string>
#include <string_view>

namespace kzp {

// Appends the UTF-8 form of code point `cp` (which must be a Unicode scalar value).
void AppendUtf8(std::string &out, char32_t cp);

// Decodes `text` into code points; false when it is not well-formed UTF-8 (a stray or
// missing continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
bool DecodeUtf8(std::string_view text, std::u32string &out);

} // namespace kzp
