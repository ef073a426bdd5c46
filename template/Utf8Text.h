// The program's 8-bit text (Windows-1252) to and from UTF-8, for messages and for names given
// on a command line.
#pragma once

#include <string>
#include <string_view>

std::string Utf8Of(std::string_view codePageText);

// The 8-bit text of UTF-8 `text`; false (and `out` unspecified) when `text` is no valid
// UTF-8 or holds a character the code page lacks.
bool CodePageOfUtf8(std::string_view text, std::string &out);
