// The addresses a style sheet refers to (url(...) and @import), and the pack names they
// stand for: the application serves a style sheet from the pack's folder, so an address
// in it is relative to the sheet's own place in the pack.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Calls `found` with the offset and length of every address in `css`: the inside of each
// url(...), its quotes taken off, and the string of an @import. Comments and other strings
// are skipped.
void ForEachStyleSheetUrl(std::string_view css,
                          const std::function<void(std::size_t offset, std::size_t length)> &found);

// The pack name that `address`, written in the style sheet or page `from`, stands for:
// "img/a.png" in "css/x.css" is "css/img/a.png", ".." goes up a folder, a query or
// fragment is dropped, "%XX" escapes are decoded. Empty for an address that is not in the pack:
// with a scheme
// ("data:", "http:"), starting with "/" or "#", or leading above the pack's top.
std::string PackNameOfAddress(std::string_view from, std::string_view address);
