// How typed text is compared with the start of an entry: by the locale's rules for the
// program's code page or by character codes, with or without regard to case.
#pragma once

#include <string_view>

// The upper-case form of a character of the program's code page (Windows-1252): ä becomes Ä,
// š becomes Š, ÿ becomes Ÿ; characters without one stay as they are.
unsigned char AnsiUpperChar(unsigned char c);

// Whether `candidate` begins with `prefix`. With `localeRules` letters of the whole code page
// compare without regard to case when `caseSensitive` is false; by character codes only the
// ASCII letters do. An empty prefix matches everything.
bool PrefixMatches(std::string_view candidate, std::string_view prefix, bool localeRules,
                   bool caseSensitive);
